#pragma once
// MFunctions: the text helpers of GEDCOM reading. Each takes a text and
// returns a new one. Texts are single-byte Windows-1252.
#include <string>
#include <string_view>

#include <kintrail/winnow/export.h>

namespace kt::winnow::MFunctions {

// Characters 8 to the end, trimmed of spaces; "" for a line of 7 characters or fewer.
WINNOW_EXPORT std::string TagValue(std::string_view line);
// Text between the first "@" and the next one, trimmed; "" without two of them.
WINNOW_EXPORT std::string XrefId(std::string_view line);
// Text between the first "/" and the next one, trimmed; "" without two of them.
WINNOW_EXPORT std::string Surname(std::string_view line);
// Text between the first `mark` and the next one, not trimmed; "" when either is missing.
WINNOW_EXPORT std::string TextBetween(std::string_view text, char mark);
// Given names of a NAME line: what follows NAME with "/surname/" removed, trimmed.
WINNOW_EXPORT std::string GivenNames(std::string_view line);
// First run of three or four digits (or the first four of a longer run), or "".
WINNOW_EXPORT std::string FirstYear(std::string_view text);
// The same scanning from the end: last run, or the last four digits of a longer run.
WINNOW_EXPORT std::string LastYear(std::string_view text);
// Windows-1252 upper case, then accented capitals folded to plain letters
// (Æ -> AE, ß -> SS); Î and Ù stay.
WINNOW_EXPORT std::string NormalizeName(std::string_view text);
// NormalizeName for UTF-8 text (converted to Windows-1252 and back), for
// hosts that keep UTF-8 strings.
WINNOW_EXPORT std::string NormalizeNameUtf8(std::string_view utf8);
// ANSEL diacritic + letter pairs to Latin-1 letters; same length, a trailing
// space per combined pair.
WINNOW_EXPORT std::string AnselToAnsi(std::string_view text);
// Code page 437 accented letters to Latin-1, in place.
WINNOW_EXPORT std::string IbmPcToAnsi(std::string_view text);

}  // namespace kt::winnow::MFunctions
