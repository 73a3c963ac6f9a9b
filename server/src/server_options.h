#pragma once
// The command line: serving options, or one administration command.
#include <optional>
#include <string>
#include <vector>

#include "http_server.h"
#include "page_handler.h"

namespace kt::server {

struct ServerOptions {
  std::string listenAddress = "127.0.0.1";
  unsigned short listenPort = 8080;
  std::string database;   // empty: $XDG_DATA_HOME/kintrail-server/kintrail.db
  std::optional<std::string> minClient;
  std::string gazetteer;  // empty: the default place; "none": do not load
  bool seedDemo = false;
  HandlerOptions handler;
  HttpLimits limits;
  // Administration: the words after the options ("user add LOGIN", "stats"...).
  std::vector<std::string> command;
  bool passwordStdin = false;
  std::string town, country;
  std::optional<double> latitude, longitude;
  bool help = false;
};

// Parses argv; throws std::invalid_argument with a message for a person.
ServerOptions ParseServerOptions(int argc, char** argv);
std::string DefaultDatabasePath();
const char* UsageText();

}  // namespace kt::server
