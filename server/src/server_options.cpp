#include "server_options.h"

#include <stdexcept>

#include "kintrail/platform/folders.h"

namespace kt::server {
namespace {

long long Number(const std::string& option, const std::string& text, long long min, long long max) {
  size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < min || value > max) {
    throw std::invalid_argument(option + " expects a number from " + std::to_string(min) + " to " +
                                std::to_string(max) + ", not '" + text + "'");
  }
  return value;
}

double Degrees(const std::string& option, const std::string& text) {
  size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty()) throw std::invalid_argument(option + " expects degrees, not '" + text + "'");
  return value;
}

}  // namespace

std::string DefaultDatabasePath() { return XdgDataHome() + "kintrail-server/kintrail.db"; }

const char* UsageText() {
  return "Usage:\n"
         "  kintrail-server [--listen ADDRESS:PORT] [--db PATH] [--page-size N] [--min-client VERSION]\n"
         "                  [--news-url URL] [--gazetteer PATH|none] [--seed-demo] [--threads N]\n"
         "                  [--max-connections N] [--read-timeout SECONDS]\n"
         "  kintrail-server [--db PATH] user add LOGIN --password-stdin (--town T --country CC | --lat X --lon Y ...)\n"
         "  kintrail-server [--db PATH] user list\n"
         "  kintrail-server [--db PATH] min-client VERSION\n"
         "  kintrail-server [--db PATH] stats\n"
         "  kintrail-server [--db PATH] gazetteer load [--gazetteer PATH]\n";
}

ServerOptions ParseServerOptions(int argc, char** argv) {
  ServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "--listen") {
      const std::string listen = value();
      const size_t colon = listen.rfind(':');
      if (colon == std::string::npos) throw std::invalid_argument("--listen expects ADDRESS:PORT");
      options.listenAddress = listen.substr(0, colon);
      if (options.listenAddress.size() > 2 && options.listenAddress.front() == '[') {
        options.listenAddress = options.listenAddress.substr(1, options.listenAddress.size() - 2);
      }
      options.listenPort = static_cast<unsigned short>(Number("--listen", listen.substr(colon + 1), 0, 65535));
    } else if (arg == "--db") {
      options.database = value();
    } else if (arg == "--page-size") {
      options.handler.pageSize = Number(arg, value(), 1, 10000);
    } else if (arg == "--min-client") {
      options.minClient = value();
    } else if (arg == "--news-url") {
      options.handler.newsUrl = value();
    } else if (arg == "--gazetteer") {
      options.gazetteer = value();
    } else if (arg == "--seed-demo") {
      options.seedDemo = true;
    } else if (arg == "--threads") {
      options.limits.threads = static_cast<unsigned>(Number(arg, value(), 1, 256));
    } else if (arg == "--max-connections") {
      options.limits.maxConnections = static_cast<size_t>(Number(arg, value(), 1, 1000000));
    } else if (arg == "--read-timeout") {
      options.limits.readTimeout = std::chrono::seconds(Number(arg, value(), 1, 3600));
    } else if (arg == "--password-stdin") {
      options.passwordStdin = true;
    } else if (arg == "--town") {
      options.town = value();
    } else if (arg == "--country") {
      options.country = value();
    } else if (arg == "--lat") {
      options.latitude = Degrees(arg, value());
    } else if (arg == "--lon") {
      options.longitude = Degrees(arg, value());
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (!arg.empty() && arg[0] == '-') {
      throw std::invalid_argument("Unknown option " + arg);
    } else {
      options.command.push_back(arg);
    }
  }
  if (options.database.empty()) options.database = DefaultDatabasePath();
  return options;
}

}  // namespace kt::server
