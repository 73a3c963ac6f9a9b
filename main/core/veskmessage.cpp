#include "core/veskmessage.h"

#include <cstdarg>
#include <cstdio>
#include <map>

namespace {

const std::map<uint16_t, std::string>& StringTable() {
  static const std::map<uint16_t, std::string> table = {
      {257, "Kintrail"},
      {769, "You need to reconnect to use this new configuration"},
      {1025, "Unable to log in with given data"},
      {1026, "Could not connect"},
      {1281, "Online"},
      {1282, "Offline"},
      {1283, "You're not connected, would you like to connect now ?"},
      {1284,
       "You've been disconnected.\nYou need to update your version of Kintrail before "
       "connecting again."},
      {1285,
       "A new version of Kintrail has been released.\nYou need to install this new version "
       "to continue using Kintrail.\n\nWould you like to download it now ?"},
      {1286, "You received a new request."},
      {1287, "One of your request has been answered."},
      {1288, "You received a new request and an answer to one of your request."},
      {1289, "Checking for new requests..."},
      {2305, "Sending..."},
      {2306, "Waiting for response..."},
      {2307, "Receiving..."},
      {3841, "Error : %d\nServer error : %d\nDescription : %s"},
      {4097, "Sending..."},
      {4098, "Data sent. Waiting for response..."},
      {4099, "Receiving..."},
      {4100, "OK"},
  };
  return table;
}

}  // namespace

std::string LoadMessage(uint16_t id) {
  const auto& table = StringTable();
  const auto found = table.find(id);
  return found == table.end() ? std::string() : found->second;
}

std::string FormatMessage(uint16_t id, ...) {
  const std::string format = LoadMessage(id);
  va_list args;
  va_start(args, id);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format.c_str(), copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format.c_str(), args);
  va_end(args);
  return text;
}
