#pragma once
// The reading's text helpers without allocations: views into the line, and
// results written into a string the caller reuses. MFunctions wraps them.
#include <string>
#include <string_view>

namespace kt::winnow::textscan {

// These run on every line: inline.
inline std::string_view TrimSpaces(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return text.substr(begin, end - begin);
}
inline std::string_view TagValue(std::string_view line) {
  if (line.size() <= 7) return {};
  return TrimSpaces(line.substr(7));
}
inline std::string_view Between(std::string_view text, char mark) {
  const size_t first = text.find(mark);
  if (first == std::string_view::npos) return {};
  const size_t second = text.find(mark, first + 1);
  if (second == std::string_view::npos) return {};
  return text.substr(first + 1, second - first - 1);
}
inline std::string_view XrefId(std::string_view line) { return TrimSpaces(Between(line, '@')); }
inline std::string_view Surname(std::string_view line) { return TrimSpaces(Between(line, '/')); }
// Given names of a NAME line into out (replacing its contents).
void GivenNames(std::string_view line, std::string& out);
// NormalizeName of text into out (replacing its contents); out may not alias text.
void NormalizeName(std::string_view text, std::string& out);
// Windows-1252 upper case into out.
void UpperCase(std::string_view text, std::string& out);
// The number formed by FirstYear / LastYear, 0 when there is none.
int FirstYearNumber(std::string_view text);
int LastYearNumber(std::string_view text);

}  // namespace kt::winnow::textscan
