// kintrail-server: serves the Kintrail pages, or runs one administration command.
#include <filesystem>
#include <iostream>

#include "admin_commands.h"
#include "credentials.h"
#include "gazetteer.h"
#include "http_server.h"
#include "page_handler.h"
#include "server_options.h"
#include "sqlite_storage.h"

using namespace kt::server;

int main(int argc, char** argv) {
  ServerOptions options;
  try {
    options = ParseServerOptions(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n" << UsageText();
    return 2;
  }
  if (options.help) {
    std::cout << UsageText();
    return 0;
  }
  if (!InitCredentials()) {
    std::cerr << "libsodium cannot start\n";
    return 1;
  }
  try {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(options.database).parent_path(), ignored);
    SqliteStorage storage(options.database);
    if (options.gazetteer != "none") {
      const std::string path = options.gazetteer.empty() ? DefaultGazetteerPath() : options.gazetteer;
      if (storage.TownCount() == 0) {
        if (std::filesystem::is_regular_file(path)) {
          std::cerr << "Loaded " << LoadGazetteerOnce(storage, path) << " towns from " << path << "\n";
        } else {
          std::cerr << "warning: no gazetteer at " << path << "; towns cannot be placed\n";
        }
      }
    }
    if (!options.command.empty()) return RunAdminCommand(storage, options, std::cin, std::cout, std::cerr);

    if (options.minClient) {
      const auto version = ParseClientVersion(*options.minClient);
      if (!version) {
        std::cerr << "--min-client expects a version such as 0.2.1.0\n";
        return 2;
      }
      storage.SetSetting(kMinClientSetting, ClientVersionText(*version));
    }
    if (options.seedDemo && SeedDemoAccount(storage)) {
      std::cout << "Demo account created: login " << kDemoLogin << ", password " << kDemoPassword << std::endl;
    }
    PageHandler handler(storage, options.handler);
    HttpServer server(handler, options.listenAddress, options.listenPort, options.limits);
    std::cout << "Kintrail server listening on http://" << options.listenAddress << ":" << server.Port()
              << " (database " << options.database << ")" << std::endl;
    server.Run();
    std::cout << "Kintrail server stopped" << std::endl;
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "kintrail-server: " << error.what() << "\n";
    return 1;
  }
}
