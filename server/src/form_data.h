#pragma once
// application/x-www-form-urlencoded bodies and query strings of web pages.
#include <map>
#include <string>
#include <string_view>

namespace kt::server {

std::string UrlDecode(std::string_view text);
std::string UrlEncode(std::string_view text);
// name=value&... into a map (the first of repeated names wins).
std::map<std::string, std::string> ParseFormData(std::string_view text);
// Splits a request target into path and query.
void SplitTarget(std::string_view target, std::string& path, std::string& query);

}  // namespace kt::server
