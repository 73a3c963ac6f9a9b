#include "accounts.h"

#include "credentials.h"
#include "gazetteer.h"
#include "kintrail/platform/text.h"

namespace kt::server {
namespace {

// Logins travel unescaped inside the client's connect document, so they hold
// only characters that cannot break it.
bool IsLoginCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-' || c == '_' || c == '@';
}

}  // namespace

RegistrationResult RegisterAccount(Storage& storage, const NewAccount& account, int64_t now) {
  RegistrationResult result;
  if (account.login.size() < 2 || account.login.size() > 32) {
    result.error = "The login must have 2 to 32 characters.";
    return result;
  }
  for (char c : account.login) {
    if (!IsLoginCharacter(c)) {
      result.error = "The login may hold only letters, digits and . - _ @";
      return result;
    }
  }
  const size_t shortest = account.byAdministrator ? 1 : 8;
  if (account.password.size() < shortest || account.password.size() > 128) {
    result.error = "The password must have " + std::to_string(shortest) + " to 128 characters.";
    return result;
  }
  if (!IsValidUtf8(account.password) || account.password.find('\0') != std::string::npos) {
    result.error = "The password holds characters that cannot be used.";
    return result;
  }
  if (account.country.size() != 2) {
    result.error = "The country is its two-letter code (FR, GB, US...).";
    return result;
  }
  AccountRecord record;
  record.login = account.login;
  record.country = account.country;
  for (char& c : record.country) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  record.created = now;
  if (account.latitude && account.longitude) {
    if (*account.latitude < -90 || *account.latitude > 90 || *account.longitude < -180 ||
        *account.longitude > 180) {
      result.error = "The latitude or longitude is out of range.";
      return result;
    }
    record.town = account.town;
    record.latitude = account.latitude;
    record.longitude = account.longitude;
  } else {
    const auto town = PlaceTown(storage, account.town, record.country);
    if (!town) {
      result.error = "The town \"" + account.town + "\" was not found in country " + record.country + ".";
      return result;
    }
    record.town = town->name;
    record.latitude = town->latitude;
    record.longitude = town->longitude;
  }
  if (record.town.empty() || record.town.size() > 100) {
    result.error = "The town must be given.";
    return result;
  }
  record.passwordHash = HashPassword(account.password);
  result.id = storage.CreateAccount(record);
  if (!result.id) result.error = "The login \"" + account.login + "\" is taken.";
  result.placedTown = record.town;
  return result;
}

}  // namespace kt::server
