#include "admin_commands.h"

#include <chrono>
#include <istream>
#include <ostream>

#include "accounts.h"
#include "gazetteer.h"
#include "packed_coordinate.h"
#include "page_handler.h"

namespace kt::server {
namespace {

int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

bool SeedDemoAccount(Storage& storage) {
  if (!storage.ListAccounts().empty()) return false;
  NewAccount demo{kDemoLogin, kDemoPassword, "Paris", "FR", {}, {}, true};
  if (!PlaceTown(storage, demo.town, demo.country)) {
    demo.latitude = 48.85341;
    demo.longitude = 2.3488;
  }
  return RegisterAccount(storage, demo, Now()).id.has_value();
}

int RunAdminCommand(Storage& storage, const ServerOptions& options, std::istream& in, std::ostream& out,
                    std::ostream& err) {
  const auto& words = options.command;
  if (words.size() >= 2 && words[0] == "user" && words[1] == "add") {
    if (words.size() != 3) {
      err << "user add expects one login\n";
      return 2;
    }
    if (!options.passwordStdin) {
      err << "user add reads the password from standard input: give --password-stdin\n";
      return 2;
    }
    std::string password;
    std::getline(in, password);
    if (!password.empty() && password.back() == '\r') password.pop_back();
    NewAccount account{words[2], password, options.town, options.country, options.latitude, options.longitude, true};
    const RegistrationResult result = RegisterAccount(storage, account, Now());
    if (!result.id) {
      err << result.error << "\n";
      return 1;
    }
    out << "Account " << *result.id << " " << words[2] << " placed at " << result.placedTown << "\n";
    return 0;
  }
  if (words.size() == 2 && words[0] == "user" && words[1] == "list") {
    for (const AccountRecord& a : storage.ListAccounts()) {
      out << a.id << "\t" << a.login << "\t" << a.town << "\t" << a.country << "\t"
          << (a.latitude ? PackedCoordinate(*a.latitude) : "-") << "\t"
          << (a.longitude ? PackedCoordinate(*a.longitude) : "-") << "\n";
    }
    return 0;
  }
  if (words.size() == 2 && words[0] == "min-client") {
    const auto version = ParseClientVersion(words[1]);
    if (!version) {
      err << "min-client expects a version such as 0.2.1.0\n";
      return 2;
    }
    storage.SetSetting(kMinClientSetting, ClientVersionText(*version));
    out << "Clients older than " << ClientVersionText(*version) << " are now refused\n";
    return 0;
  }
  if (words.size() == 1 && words[0] == "stats") {
    const Statistics s = storage.Stats();
    const auto minimum = ParseClientVersion(storage.Setting(kMinClientSetting).value_or(""));
    out << "accounts\t" << s.accounts << "\nsessions\t" << s.sessions << "\nshared files\t" << s.gedcoms
        << "\nindividuals\t" << s.individuals << "\nrequests\t" << s.questions << "\ntowns\t" << s.towns
        << "\nminimum client\t" << ClientVersionText(minimum.value_or(kDefaultMinClient)) << "\n";
    return 0;
  }
  if (words.size() == 2 && words[0] == "gazetteer" && words[1] == "load") {
    const std::string path = options.gazetteer.empty() ? DefaultGazetteerPath() : options.gazetteer;
    const int64_t loaded = LoadGazetteerOnce(storage, path);
    out << (loaded ? "Loaded " + std::to_string(loaded) + " towns from " + path
                   : std::string("The gazetteer is loaded already"))
        << "\n";
    return 0;
  }
  err << "Unknown command\n" << UsageText();
  return 2;
}

}  // namespace kt::server
