#include "winnowcommand.h"

#include <charconv>
#include <exception>
#include <optional>

#include <kintrail/winnow/factory.h>
#include <kintrail/winnow/winnowgedcom.h>

namespace kt::winnow {
namespace {

constexpr const char* kUsage =
    "usage: winnow stats FILE.ged\n"
    "       winnow summary FILE.ged -o OUT.xml [--id N] [--begin TEXT]\n"
    "       winnow extract ascendants|descendants|family FILE.ged ID --question Q -o OUT.xml\n"
    "           [--max-gen N] [--max-indiv N] [--links TEXT]\n";

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> output, id, begin, question, maxGen, maxIndiv, links;
};

std::optional<Options> Parse(const std::vector<std::string>& args, std::ostream& err) {
  Options o;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::optional<std::string>& slot) {
      if (i + 1 >= args.size()) {
        err << "winnow: " << a << " needs a value\n";
        return false;
      }
      slot = args[++i];
      return true;
    };
    bool ok = true;
    if (a == "-o" || a == "--output") ok = value(o.output);
    else if (a == "--id") ok = value(o.id);
    else if (a == "--begin") ok = value(o.begin);
    else if (a == "--question") ok = value(o.question);
    else if (a == "--max-gen") ok = value(o.maxGen);
    else if (a == "--max-indiv") ok = value(o.maxIndiv);
    else if (a == "--links") ok = value(o.links);
    else if (a.size() > 1 && a[0] == '-') {
      err << "winnow: unknown option " << a << "\n";
      return std::nullopt;
    } else {
      o.positional.push_back(a);
    }
    if (!ok) return std::nullopt;
  }
  return o;
}

std::optional<int32_t> Number(const std::string& text) {
  int32_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

int Stats(WinnowGEDCOM& w, const Options& o, std::ostream& out) {
  w.AnalyzeGedcom(o.positional[0], false);
  w.SynthetizeGedcom();
  out << "file: " << o.positional[0] << "\n"
      << "charset: " << w.CharSet() << "\n"
      << "record-charset: " << w.RecordTextCharSet() << "\n"
      << "individuals: " << w.LIndividualsCount << "\n"
      << "marriages: " << w.LMarriagesCount << "\n"
      << "last-names: " << w.LastNames().size() << "\n"
      << "places: " << w.Places().size() << "\n";
  return 0;
}

int Summary(WinnowGEDCOM& w, const Options& o, std::ostream& err) {
  int32_t gedcomId = 0;
  if (o.id) {
    const auto n = Number(*o.id);
    if (!n) {
      err << "winnow: --id needs a number\n";
      return 2;
    }
    gedcomId = *n;
  }
  w.SetFilename(*o.output);
  w.SetStringAtBeginning(o.begin.value_or(""));
  w.AnalyzeGedcom(o.positional[0], false);
  w.SynthetizeGedcom();
  w.GetXMLindividuals(gedcomId);
  return 0;
}

int Extract(WinnowGEDCOM& w, const Options& o, std::ostream& err) {
  const std::string& kind = o.positional[0];
  if (kind != "ascendants" && kind != "descendants" && kind != "family") {
    err << "winnow: unknown extract " << kind << "\n" << kUsage;
    return 2;
  }
  for (auto [text, slot] : {std::pair{&o.maxGen, &w.MaxGen}, std::pair{&o.maxIndiv, &w.MaxIndivToRetrieve}}) {
    if (!*text) continue;
    const auto n = Number(**text);
    if (!n) {
      err << "winnow: --max-gen and --max-indiv need a number\n";
      return 2;
    }
    *slot = *n;
  }
  if (o.links) w.SupplementaryLinks = *o.links;
  w.SetFilename(*o.output);
  w.SetStringAtBeginning(o.begin.value_or(""));
  w.AnalyzeGedcom(o.positional[1], true);
  const std::string& id = o.positional[2];
  const std::string question = o.question.value_or("");
  if (kind == "ascendants") w.GetASCE(id, question);
  else if (kind == "descendants") w.GetDESC(id, question);
  else w.GetFamily(id, question);
  return 0;
}

}  // namespace

int RunWinnowCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? 2 : 0;
  }
  const auto options = Parse(args, err);
  if (!options) return 2;
  const std::string& command = args[0];
  const size_t needed = command == "extract" ? 3 : 1;
  if ((command != "stats" && command != "summary" && command != "extract") || options->positional.size() != needed ||
      (command != "stats" && !options->output) || (command == "extract" && !options->question)) {
    err << kUsage;
    return 2;
  }
  auto w = CreateWinnowGEDCOM();
  try {
    if (command == "stats") return Stats(*w, *options, out);
    if (command == "summary") return Summary(*w, *options, err);
    return Extract(*w, *options, err);
  } catch (const std::exception& e) {
    err << "winnow: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace kt::winnow
