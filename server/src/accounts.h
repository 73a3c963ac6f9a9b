#pragma once
// Opening an account, from the registration page or the command line.
#include <optional>
#include <string>

#include "storage.h"

namespace kt::server {

struct NewAccount {
  std::string login, password, town, country;
  std::optional<double> latitude, longitude;  // instead of the gazetteer's
  // The command line may set any non-empty password (a demo account's, say);
  // the registration page asks for 8 characters at least.
  bool byAdministrator = false;
};

struct RegistrationResult {
  std::optional<Id> id;  // set on success
  std::string error;     // why not, for a person to read
  std::string placedTown;
};

// Checks the fields, places the town (the gazetteer's position unless one
// is given), hashes the password and stores the account.
RegistrationResult RegisterAccount(Storage& storage, const NewAccount& account, int64_t now);

}  // namespace kt::server
