#pragma once
// Exceptions shared by several units of the client. Every client failure is a
// std::runtime_error whose message the general error display shows as is.
#include <stdexcept>
#include <string>

// A text that does not convert to the number, boolean or date asked for.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the whole of `text` as a signed decimal 32-bit integer.
bool TryParseInt(const std::string& text, int& value);
// The same, raising EConvertError ("'abc' is not a valid integer value").
int ParseInt(const std::string& text);
