#pragma once
// The designed date-time: days since 1899-12-30 00:00 local time as a double,
// the fraction being the time of day.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>

namespace kt {

class DateTime {
public:
  constexpr DateTime() = default;
  constexpr explicit DateTime(double days) : days_(days) {}

  static DateTime Now();
  // Local calendar fields; throws std::invalid_argument on an impossible date.
  static DateTime FromFields(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0, int millisecond = 0);
  // Fields are checked; false on an impossible date.
  static bool TryFromFields(int year, int month, int day, int hour, int minute, int second,
                            int millisecond, DateTime& out);
  static DateTime FromTimeT(std::time_t t);
  static DateTime FromTimePoint(std::chrono::system_clock::time_point tp);

  constexpr double Days() const { return days_; }
  std::chrono::system_clock::time_point ToTimePoint() const;
  std::time_t ToTimeT() const;

  struct Fields {
    int year, month, day, hour, minute, second, millisecond;
  };
  Fields ToFields() const;

  friend constexpr auto operator<=>(const DateTime&, const DateTime&) = default;

private:
  double days_ = 0.0;
};

// DOS packed date-time of local time `t` (two-second resolution, seconds
// rounded down; years before 1980 clamp to 1980-01-01).
int32_t ToDosDateTime(std::time_t t);
DateTime DosDateTimeToDateTime(int32_t dos);
std::time_t DosDateTimeToTimeT(int32_t dos);
// Packed DOS date-time of a file's modification time, -1 when it is missing.
int32_t FileDosDateTime(const std::string& path);

}  // namespace kt
