#pragma once
// Reading the raw GEDCOM record texts that the analysis library keeps for
// every individual and marriage (Windows-1252 bytes, lines ending in CR LF).
#include <QString>
#include <string>
#include <string_view>

namespace ktviewer {

// Date text of the first "<level+1> DATE" line after the first "<level> <tag>"
// line, as written; empty when either is missing.
std::string getEventDate(std::string_view record, int level, std::string_view tag);

// Every line of `record` that contains `tag`, each followed by CR LF.
std::string getTagLines(std::string_view record, std::string_view tag);

// Cross-reference identifier of a GEDCOM line such as "1 FAMS @F12@": the text
// from the 7th character on without "@", CR, LF and surrounding spaces.
std::string getPointerFromGedcomLine(std::string_view line);

// The line of `record` that starts at `position`, up to its line end.
std::string_view LineAt(std::string_view record, size_t position);

// The record indented by level (two spaces per level, levels 1 to 20) for
// display; empty when no space follows the first character.
std::string FormatRawGedcomString(std::string_view record);

// "  ( o 1850 + 1920)": the years of a list entry; 0 and 9999 stand for none.
QString FormatLifeYears(int birth, int death);

// First letter of every word upper case, the other letters lower case.
QString ProperCase(const QString& text);

// Windows-1252 bytes of the library to Qt text.
QString FromWinnowText(std::string_view bytes);

}  // namespace ktviewer
