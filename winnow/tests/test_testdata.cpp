// Every file of the shared GEDCOM test data: read completely, summarised
// into well-formed XML whose references point into its lists, extracted
// into GEDCOM that reads back with every family link resolving.
#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>
#include <random>
#include <set>

#include <kintrail/winnow/mfunctions.h>
#include <kintrail/winnow/winnowgedcom.h>

#include "testsupport.h"

using namespace kt::winnow;

namespace {

std::vector<std::filesystem::path> GedcomFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(winnowtest::TestDataFile("")))
    if (entry.path().extension() == ".ged") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Number of lines "0 @X@ <kind>" (the record lines of the file).
int32_t RecordLines(const std::string& bytes, std::string_view kind) {
  int32_t n = 0;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    if (line.substr(0, 3) == "0 @") {
      const size_t close = line.find('@', 3);
      if (close != std::string_view::npos && line.substr(close + 1) == std::string(" ") + std::string(kind)) ++n;
    }
    at = end + 1;
  }
  return n;
}

TEST(WinnowTestData, EveryFileIsReadCompletely) {
  const auto files = GedcomFiles();
  ASSERT_GE(files.size(), 10u);
  for (const auto& file : files) {
    const std::string bytes = winnowtest::ReadFile(file);
    WinnowGEDCOM w;
    w.AnalyzeGedcom(file.string(), true);
    EXPECT_GT(w.LIndividualsCount, 0) << file;
    EXPECT_EQ(w.LIndividualsCount, RecordLines(bytes, "INDI")) << file;
    EXPECT_EQ(w.LMarriagesCount, RecordLines(bytes, "FAM")) << file;
  }
}

bool IsFoldedUpperCase(const std::string& text) {
  for (unsigned char c : text) {
    if (c >= 'a' && c <= 'z') return false;
    if (c >= 0xC0 && c != 0xCE && c != 0xD9 && c != 0xD7 && c != 0xDE) return false;
  }
  return true;
}

TEST(WinnowTestData, AccentedNamesAndPlacesComeOutUpperCaseWithoutAccents) {
  for (const char* name : {"bourbon.ged", "bronte.ged", "bach.ged", "input.ged", "EnglishTudorRoyalFamily.ged"}) {
    WinnowGEDCOM w;
    w.AnalyzeGedcom(winnowtest::TestDataFile(name).string(), false);
    for (int32_t i = 0; i < w.LIndividualsCount; ++i) {
      const auto p = w.getIndiv(i);
      for (const std::string* text : {&p->Name, &p->firstNames, &p->birthPlace, &p->deathPlace})
        EXPECT_TRUE(IsFoldedUpperCase(*text)) << name << " " << p->Id << ": " << *text;
    }
  }
  WinnowGEDCOM w;
  w.AnalyzeGedcom(winnowtest::TestDataFile("bourbon.ged").string(), false);
  w.SynthetizeGedcom();
  EXPECT_GE(w.FindPlaceId("CHATEAU, SAINT-GERMAIN-EN-LAYE, 78551, YVELINES, \xCELE-DE-FRANCE, FRANCE"), 1);
  EXPECT_GE(w.FindPlaceId(", VALLADOLID, , VALLADOLID, CASTILLE-ET-LEON, ESPAGNE"), 1);
  w.AnalyzeGedcom(winnowtest::TestDataFile("bronte.ged").string(), false);
  ASSERT_GE(w.FindIndiv("I0001"), 0);
  EXPECT_EQ(w.getIndiv(w.FindIndiv("I0001"))->Name, "BRONTE");
}

TEST(WinnowTestData, AnselNamesOfRoyal92) {
  WinnowGEDCOM w;
  w.AnalyzeGedcom(winnowtest::TestDataFile("royal92.ged").string(), true);
  EXPECT_EQ(w.CharSet(), "ANSEL");
  int checked = 0;
  for (int32_t i = 0; i < w.LIndividualsCount; ++i) {
    const auto p = w.getIndiv(i);
    const std::string& text = p->gedcomString;
    const size_t at = text.find("1 NAME");
    if (at == std::string::npos) continue;
    const std::string line = MFunctions::AnselToAnsi(text.substr(at, text.find("\r\n", at) - at));
    EXPECT_EQ(p->Name, MFunctions::NormalizeName(MFunctions::Surname(line))) << p->Id;
    EXPECT_TRUE(IsFoldedUpperCase(p->Name)) << p->Id;
    ++checked;
  }
  EXPECT_GT(checked, 3000);
  ASSERT_GE(w.FindIndiv("I1"), 0);
  const auto victoria = w.getIndiv(w.FindIndiv("I1"));
  EXPECT_EQ(victoria->firstNames, "VICTORIA");
  EXPECT_EQ(victoria->Name, "HANOVER");
}

TEST(WinnowTestData, SummariesAreWellFormedAndTheirReferencesPointIntoTheLists) {
  for (const auto& file : GedcomFiles()) {
    WinnowGEDCOM w;
    const auto out = winnowtest::FreshFolder() / "summary.xml";
    w.SetFilename(out.string());
    w.SetStringAtBeginning("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    w.AnalyzeGedcom(file.string(), false);
    w.SynthetizeGedcom();
    w.GetXMLindividuals(9);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(out.c_str());
    ASSERT_TRUE(parsed) << file << ": " << parsed.description() << " at " << parsed.offset;
    const pugi::xml_node gedcom = doc.child("gedcom");
    EXPECT_EQ(gedcom.attribute("id").as_int(), 9);
    const auto lastNames = std::distance(gedcom.child("lnames").begin(), gedcom.child("lnames").end());
    const auto places = std::distance(gedcom.child("places").begin(), gedcom.child("places").end());
    EXPECT_EQ(lastNames, static_cast<long>(w.LastNames().size()));
    EXPECT_EQ(gedcom.child("places").first_child().attribute("txt").as_string(), std::string("-"));
    int individuals = 0;
    for (pugi::xml_node i : gedcom.child("indivs").children("i")) {
      ++individuals;
      const int lnid = i.attribute("lnid").as_int(-1);
      EXPECT_TRUE(lnid >= 0 && lnid < lastNames) << file << " " << i.attribute("id").as_string();
      for (pugi::xml_node event : i.children()) {
        const int pid = event.attribute("pid").as_int(-1);
        EXPECT_TRUE(pid >= 0 && pid < places) << file << " " << i.attribute("id").as_string();
      }
    }
    EXPECT_EQ(individuals, w.LIndividualsCount) << file;
  }
}

struct ExtractFile {
  std::string gedcom;  // the GEDCOM carried in the CDATA section
  std::string stats;   // the Stats element
};

ExtractFile SplitExtract(const std::string& file) {
  const std::string open = "<data><![CDATA[", close = "]]></data>";
  const size_t begin = file.find(open) + open.size();
  const size_t end = file.find(close);
  return {file.substr(begin, end - begin), file.substr(end + close.size())};
}

std::string StatsText(int indi, int fam, int minYear, int maxYear) {
  return "<Stats  nbindi='" + std::to_string(indi) + "' nbfam='" + std::to_string(fam) + "' minYear='" +
         std::to_string(minYear) + "' maxYear='" + std::to_string(maxYear) + "' /></result>\r\n";
}

// The Stats of an extract without stubs and link-only records, from its records.
std::string StatsOfRecords(const WinnowGEDCOM& back) {
  int minYear = 9999, maxYear = -9999;
  auto scan = [&](const std::string& text) {
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      const std::string line = text.substr(at, end - at);
      if (line.find("DATE") != std::string::npos) {
        const std::string y = MFunctions::FirstYear(line);
        const int year = y.empty() ? 0 : std::stoi(y);
        if (year > 0) {
          minYear = std::min(minYear, year);
          maxYear = std::max(maxYear, year);
        }
      }
      at = end + 2;
    }
  };
  for (int32_t i = 0; i < back.LIndividualsCount; ++i) scan(back.getIndiv(i)->gedcomString);
  for (int32_t i = 0; i < back.LMarriagesCount; ++i) scan(back.getMarri(i)->gedcomString);
  return StatsText(back.LIndividualsCount, back.LMarriagesCount, minYear, maxYear);
}

void ExpectLinksResolve(WinnowGEDCOM& back, const std::string& what) {
  auto check = [&](const std::string& text, std::initializer_list<const char*> tags, bool toFamily) {
    for (const char* tag : tags) {
      for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
        const std::string id = MFunctions::XrefId(text.substr(at, text.find("\r\n", at) - at));
        const int32_t found = toFamily ? back.FindFam(id) : back.FindIndiv(id);
        EXPECT_GE(found, 0) << what << ": " << tag << " " << id;
      }
    }
  };
  for (int32_t i = 0; i < back.LIndividualsCount; ++i) check(back.getIndiv(i)->gedcomString, {"1 FAMC", "1 FAMS"}, true);
  for (int32_t i = 0; i < back.LMarriagesCount; ++i)
    check(back.getMarri(i)->gedcomString, {"1 HUSB", "1 WIFE", "1 CHIL"}, false);
}

TEST(WinnowTestData, ExtractsReadBackWithEveryLinkResolving) {
  for (const auto& file : GedcomFiles()) {
    WinnowGEDCOM w;
    const auto out = winnowtest::FreshFolder() / "extract.xml";
    w.SetFilename(out.string());
    w.AnalyzeGedcom(file.string(), true);
    const int32_t n = w.LIndividualsCount;
    for (int32_t pick : {0, n / 3, n / 2, 2 * n / 3, n - 1}) {
      const std::string id = w.getIndiv(pick)->Id;
      for (int kind = 0; kind < 3; ++kind) {
        const std::string what = file.filename().string() + " " + id + " kind " + std::to_string(kind);
        auto run = [&] {
          if (kind == 0) w.GetASCE(id, "1");
          else if (kind == 1) w.GetDESC(id, "1");
          else w.GetFamily(id, "1");
          return SplitExtract(winnowtest::ReadFile(out));
        };
        // Without stubs the extract holds exactly what its Stats count.
        w.SupplementaryLinks = "";
        const ExtractFile walk = run();
        WinnowGEDCOM back;
        back.AnalyzeGedcomData(walk.gedcom, true);
        EXPECT_EQ(walk.stats, StatsOfRecords(back)) << what;
        EXPECT_EQ(back.RecordTextCharSet(), w.RecordTextCharSet()) << what;

        // With stubs and link-only families every link resolves.
        w.SupplementaryLinks = ".../.../";
        const ExtractFile full = run();
        EXPECT_EQ(full.stats, walk.stats) << what;
        EXPECT_EQ(full.gedcom.substr(0, walk.gedcom.size() - 8), walk.gedcom.substr(0, walk.gedcom.size() - 8)) << what;
        back.AnalyzeGedcomData(full.gedcom, true);
        ExpectLinksResolve(back, what);
        EXPECT_GE(back.FindIndiv(id), 0) << what;
      }
    }
  }
}

}  // namespace

namespace {

// Damaged copies of real files (bytes changed, lines cut, links broken) go
// through reading, summary and the three extracts; under the sanitizer build
// this catches what the fuzz target would, on every CI run.
TEST(WinnowTestData, DamagedFilesAreReadSummarisedAndExtracted) {
  std::mt19937 random(2024);
  const std::string sources[] = {winnowtest::ReadFile(winnowtest::TestDataFile("bronte.ged")),
                                 winnowtest::ReadFile(winnowtest::TestDataFile("basic.ged")),
                                 winnowtest::ReadFile(winnowtest::TestDataFile("shakespeare.ged"))};
  const char replacements[] = {'\r', '\n', '@', '0', '1', '2', ' ', '/', '"', '\0', '\xE2', '\xC3', '\xFF'};
  const auto out = winnowtest::FreshFolder() / "out.xml";
  for (int round = 0; round < 150; ++round) {
    std::string bytes = sources[round % 3];
    const int edits = 1 + static_cast<int>(random() % 40);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0: bytes[at] = replacements[random() % sizeof replacements]; break;
        case 1: bytes.erase(at, random() % 64); break;
        case 2: bytes.insert(at, 1, replacements[random() % sizeof replacements]); break;
        case 3: bytes.resize(at); break;
      }
    }
    WinnowGEDCOM w;
    w.SetFilename(out.string());
    w.MaxGen = static_cast<int32_t>(random() % 4);
    w.AnalyzeGedcomData(bytes, round % 5 != 0);
    w.SynthetizeGedcom();
    w.GetXMLindividuals(round);
    for (int32_t i = 0; i < w.LIndividualsCount && i < 4; ++i) {
      const std::string id = w.getIndiv(i)->Id;
      w.GetASCE(id, "1");
      w.GetDESC(id, "1");
      w.GetFamily(id, "1");
    }
    EXPECT_EQ(w.Status(), StatusExtractionDone * (w.LIndividualsCount > 0) +
                              StatusSynthesisDone * (w.LIndividualsCount == 0));
  }
}

}  // namespace
