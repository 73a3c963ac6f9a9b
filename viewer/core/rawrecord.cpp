#include "rawrecord.h"

#include <algorithm>
#include <cctype>

#include "kintrail/platform/text.h"

namespace ktviewer {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// End of the line that contains `position`: its CR LF (or a lone CR or LF),
// or the end of the text.
size_t LineEnd(std::string_view text, size_t position) {
  const size_t end = text.find_first_of("\r\n", position);
  return end == std::string_view::npos ? text.size() : end;
}

// The integer part of the number a text starts with, as BASIC's Val reads it:
// leading blanks skipped, an optional sign, digits; anything else gives 0.
long LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    value = std::min(value * 10 + (text[i] - '0'), 1000000L);
  return negative ? -value : value;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t pos = text.find(from); pos != std::string::npos;
       pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
}

}  // namespace

std::string getEventDate(std::string_view record, int level, std::string_view tag) {
  const std::string eventTag = std::to_string(level) + " " + std::string(tag);
  const size_t event = record.find(eventTag);
  if (event == std::string_view::npos) return {};
  const std::string dateTag = std::to_string(level + 1) + " DATE";
  const size_t date = record.find(dateTag, event + eventTag.size());
  if (date == std::string_view::npos) return {};
  const size_t start = date + dateTag.size() + 1;  // after the space behind DATE
  if (start >= record.size()) return {};
  return std::string(record.substr(start, LineEnd(record, start) - start));
}

std::string getTagLines(std::string_view record, std::string_view tag) {
  std::string result;
  if (tag.empty()) return result;
  size_t found = record.find(tag);
  while (found != std::string_view::npos) {
    const size_t end = LineEnd(record, found);
    size_t start = found;
    while (start > 0 && static_cast<unsigned char>(record[start - 1]) >= ' ') --start;
    result.append(record.substr(start, end - start));
    result.append(kLineEnd);
    if (end >= record.size()) break;
    found = record.find(tag, end + 1);
  }
  return result;
}

std::string getPointerFromGedcomLine(std::string_view line) {
  std::string pointer;
  if (line.size() > 6) {
    for (char c : line.substr(6))
      if (c != '@' && c != '\r' && c != '\n') pointer += c;
  }
  const size_t first = pointer.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return pointer.substr(first, pointer.find_last_not_of(' ') - first + 1);
}

std::string_view LineAt(std::string_view record, size_t position) {
  if (position >= record.size()) return {};
  return record.substr(position, LineEnd(record, position) - position);
}

std::string FormatRawGedcomString(std::string_view record) {
  const size_t space = record.size() > 1 ? record.find(' ', 1) : std::string_view::npos;
  if (space == std::string_view::npos) return {};
  // Indentation of the first line; a silly level number must not allocate
  // megabytes of spaces.
  const long firstLevel = std::clamp(LeadingNumber(record.substr(0, space)), 0L, 99L);
  std::string result(static_cast<size_t>(2 * firstLevel), ' ');
  result.append(record);
  for (int level = 1; level <= 20; ++level) {
    const std::string number = std::to_string(level) + " ";
    ReplaceAll(result, "\n" + number,
               "\n" + std::string(static_cast<size_t>(2 * level), ' ') + number);
  }
  return result;
}

QString FormatLifeYears(int birth, int death) {
  QString years;
  // Each year is written with a leading space, as BASIC's Str$ wrote numbers.
  if (birth > 0 && birth < 9999) years += QStringLiteral(" o ") + QString::number(birth);
  if (death > 0 && death < 9999) years += QStringLiteral(" + ") + QString::number(death);
  if (!years.isEmpty()) years = QStringLiteral("  (") + years + u')';
  return years;
}

QString ProperCase(const QString& text) {
  QString result = text.toLower();
  bool wordStart = true;
  for (QChar& c : result) {
    if (c.isSpace()) {
      wordStart = true;
    } else if (wordStart) {
      c = c.toUpper();
      wordStart = false;
    }
  }
  return result;
}

QString FromWinnowText(std::string_view bytes) {
  return QString::fromStdString(kt::Win1252ToUtf8(bytes));
}

}  // namespace ktviewer
