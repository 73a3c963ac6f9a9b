#include "core/veskerrors.h"

#include <charconv>

bool TryParseInt(const std::string& text, int& value) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;  // from_chars refuses a plus sign
  if (first == last) return false;
  int parsed = 0;
  const auto [end, error] = std::from_chars(first, last, parsed);
  if (error != std::errc() || end != last) return false;
  value = parsed;
  return true;
}

int ParseInt(const std::string& text) {
  int value = 0;
  if (!TryParseInt(text, value)) throw EConvertError("'" + text + "' is not a valid integer value");
  return value;
}
