#include "form_data.h"

namespace kt::server {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string UrlDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::string UrlEncode(std::string_view text) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

std::map<std::string, std::string> ParseFormData(std::string_view text) {
  std::map<std::string, std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('&', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(start, end - start);
    if (!pair.empty()) {
      const size_t eq = pair.find('=');
      const std::string name = UrlDecode(pair.substr(0, eq));
      const std::string value = eq == std::string_view::npos ? "" : UrlDecode(pair.substr(eq + 1));
      out.emplace(name, value);
    }
    start = end + 1;
  }
  return out;
}

void SplitTarget(std::string_view target, std::string& path, std::string& query) {
  const size_t q = target.find('?');
  path = std::string(target.substr(0, q));
  query = q == std::string_view::npos ? "" : std::string(target.substr(q + 1));
}

}  // namespace kt::server
