#include "core/veskserver.h"

#include <cstdio>
#include <stdexcept>

#include "core/veskerrors.h"
#include "kintrail/platform/text.h"

std::string QuoteAttribute(const std::string& text) {
  std::string quoted = "\"";
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    const int32_t cp = kt::DecodeUtf8(text, pos);
    if (cp < 0) {
      // Not UTF-8: a byte of the ANSI code page, carried as its character.
      const auto byte = static_cast<unsigned char>(text[start]);
      quoted += "&#" + std::to_string(static_cast<uint32_t>(kt::Win1252ToCodePoint(byte))) + ";";
      continue;
    }
    switch (cp) {
      case '"':
        quoted += "&quot;";
        break;
      case '&':
        quoted += "&amp;";
        break;
      case '<':
        quoted += "&lt;";
        break;
      // Attribute-value normalisation would turn these into blanks.
      case '\t':
        quoted += "&#9;";
        break;
      case '\n':
        quoted += "&#10;";
        break;
      case '\r':
        quoted += "&#13;";
        break;
      default:
        if (cp < 0x20 || cp == 0xFFFE || cp == 0xFFFF) break;  // not even a reference can hold it
        quoted.append(text, start, pos - start);
    }
  }
  quoted += '"';
  return quoted;
}

kt::DateTime ServerDateTime(const std::string& text, kt::DateTime def) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (std::sscanf(text.c_str(), "%04d-%02d-%02dT%02d:%02d:%02d", &year, &month, &day, &hour,
                  &minute, &second) != 6)
    return def;
  kt::DateTime value;
  if (!kt::DateTime::TryFromFields(year, month, day, hour, minute, second, 0, value))
    throw EConvertError("'" + text + "' is not a valid date and time");
  return value;
}
