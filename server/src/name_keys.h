#pragma once
// The keys under which names and places are matched.
#include <string>
#include <string_view>

namespace kt::server {

// Key of a last name: the analysis library's NormalizeName of the name, so
// that a search typed "Dupont" meets the DUPONT of a summary. UTF-8 in and out.
std::string LastNameKey(std::string_view utf8);

// Key for "contains" filters: case and accents ignored (NormalizeName plus
// the letters it leaves accented), UTF-8 in and out.
std::string ContainsKey(std::string_view utf8);

}  // namespace kt::server
