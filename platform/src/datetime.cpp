#include "kintrail/platform/datetime.h"

#include <sys/stat.h>

#include <cmath>
#include <stdexcept>

namespace kt {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's method).
constexpr int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

constexpr void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

constexpr int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);  // negative
constexpr double kMillisecondsPerDay = 86400000.0;

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Before the epoch the integer part counts days back while the fraction is
// still the time of day: -1.25 is 1899-12-29 06:00.
double Compose(int64_t dayNumber, double timeFraction) {
  return dayNumber >= 0 ? static_cast<double>(dayNumber) + timeFraction
                        : static_cast<double>(dayNumber) - timeFraction;
}

}  // namespace

bool DateTime::TryFromFields(int year, int month, int day, int hour, int minute, int second,
                             int millisecond, DateTime& out) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59 || millisecond < 0 || millisecond > 999)
    return false;
  const int64_t dayNumber =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset;
  const double time =
      ((hour * 60 + minute) * 60 + second) * 1000.0 / kMillisecondsPerDay + millisecond / kMillisecondsPerDay;
  out = DateTime(Compose(dayNumber, time));
  return true;
}

DateTime DateTime::FromFields(int year, int month, int day, int hour, int minute, int second,
                              int millisecond) {
  DateTime value;
  if (!TryFromFields(year, month, day, hour, minute, second, millisecond, value))
    throw std::invalid_argument("invalid date or time");
  return value;
}

DateTime::Fields DateTime::ToFields() const {
  const double dayPart = std::trunc(days_);
  double fraction = std::fabs(days_ - dayPart);
  auto ms = static_cast<int64_t>(std::llround(fraction * kMillisecondsPerDay));
  int64_t dayNumber = static_cast<int64_t>(dayPart);
  if (ms >= 86400000) {  // rounding reached the next day
    ms -= 86400000;
    dayNumber += days_ >= 0 ? 1 : -1;
  }
  Fields f{};
  CivilFromDays(dayNumber + kEpochOffset, f.year, f.month, f.day);
  f.millisecond = static_cast<int>(ms % 1000);
  f.second = static_cast<int>(ms / 1000 % 60);
  f.minute = static_cast<int>(ms / 60000 % 60);
  f.hour = static_cast<int>(ms / 3600000);
  return f;
}

DateTime DateTime::FromTimeT(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  return FromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                    local.tm_min, local.tm_sec);
}

DateTime DateTime::FromTimePoint(std::chrono::system_clock::time_point tp) {
  using namespace std::chrono;
  const auto sinceEpoch = duration_cast<milliseconds>(tp.time_since_epoch());
  auto seconds = floor<std::chrono::seconds>(sinceEpoch);
  const auto ms = (sinceEpoch - seconds).count();
  const DateTime whole = FromTimeT(static_cast<std::time_t>(seconds.count()));
  Fields f = whole.ToFields();
  return FromFields(f.year, f.month, f.day, f.hour, f.minute, f.second, static_cast<int>(ms));
}

DateTime DateTime::Now() { return FromTimePoint(std::chrono::system_clock::now()); }

std::time_t DateTime::ToTimeT() const {
  const Fields f = ToFields();
  std::tm local{};
  local.tm_year = f.year - 1900;
  local.tm_mon = f.month - 1;
  local.tm_mday = f.day;
  local.tm_hour = f.hour;
  local.tm_min = f.minute;
  local.tm_sec = f.second;
  local.tm_isdst = -1;
  return mktime(&local);
}

std::chrono::system_clock::time_point DateTime::ToTimePoint() const {
  const Fields f = ToFields();
  return std::chrono::system_clock::from_time_t(ToTimeT()) +
         std::chrono::milliseconds(f.millisecond);
}

int32_t ToDosDateTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  int year = local.tm_year + 1900;
  if (year < 1980) return (1 << 5 | 1) << 16;  // 1980-01-01 00:00:00
  if (year > 2107) year = 2107;
  const uint32_t date = static_cast<uint32_t>((year - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  const uint32_t time = static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
  return static_cast<int32_t>(date << 16 | time);
}

DateTime DosDateTimeToDateTime(int32_t dos) {
  const auto value = static_cast<uint32_t>(dos);
  const int date = static_cast<int>(value >> 16);
  const int time = static_cast<int>(value & 0xFFFF);
  DateTime result;
  if (!DateTime::TryFromFields((date >> 9) + 1980, date >> 5 & 0x0F, date & 0x1F, time >> 11,
                               time >> 5 & 0x3F, (time & 0x1F) * 2, 0, result))
    return DateTime(0.0);
  return result;
}

std::time_t DosDateTimeToTimeT(int32_t dos) { return DosDateTimeToDateTime(dos).ToTimeT(); }

int32_t FileDosDateTime(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return -1;
  return ToDosDateTime(info.st_mtime);
}

}  // namespace kt
