#include "kintrail/platform/datetime.h"

#include <sys/stat.h>
#include <utime.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

using namespace kt;

namespace {

class DateTimeTest : public ::testing::Test {
protected:
  // Fixed time zone so local-time results do not depend on the machine.
  void SetUp() override {
    setenv("TZ", "Europe/Paris", 1);
    tzset();
  }
};

}  // namespace

TEST_F(DateTimeTest, FieldsAroundTheEpoch) {
  const struct {
    int y, mo, d, h, mi, s;
    double days;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0},    {1899, 12, 31, 0, 0, 0, 1.0},
      {1900, 1, 1, 0, 0, 0, 2.0},      {1899, 12, 29, 6, 0, 0, -1.25},
      {1899, 12, 29, 0, 0, 0, -1.0},   {2000, 1, 1, 12, 0, 0, 36526.5},
      {1900, 3, 1, 0, 0, 0, 61.0},     {2024, 2, 29, 18, 0, 0, 45351.75},
  };
  for (const auto& c : cases) {
    const DateTime value = DateTime::FromFields(c.y, c.mo, c.d, c.h, c.mi, c.s);
    EXPECT_DOUBLE_EQ(value.Days(), c.days) << c.y << "-" << c.mo << "-" << c.d;
    const auto f = DateTime(c.days).ToFields();
    EXPECT_EQ(std::tie(f.year, f.month, f.day, f.hour, f.minute, f.second),
              std::tie(c.y, c.mo, c.d, c.h, c.mi, c.s))
        << c.days;
  }
}

TEST_F(DateTimeTest, ImpossibleDatesAreRefused) {
  DateTime out;
  EXPECT_FALSE(DateTime::TryFromFields(2023, 2, 29, 0, 0, 0, 0, out));
  EXPECT_FALSE(DateTime::TryFromFields(1900, 2, 29, 0, 0, 0, 0, out));
  EXPECT_FALSE(DateTime::TryFromFields(2024, 13, 1, 0, 0, 0, 0, out));
  EXPECT_FALSE(DateTime::TryFromFields(2024, 1, 1, 24, 0, 0, 0, out));
  EXPECT_TRUE(DateTime::TryFromFields(2000, 2, 29, 23, 59, 59, 999, out));
  EXPECT_THROW(DateTime::FromFields(2024, 4, 31), std::invalid_argument);
}

TEST_F(DateTimeTest, TimeTRoundTripsInLocalTime) {
  // 2021-07-01 10:00:00 UTC is 12:00 in Paris (summer time).
  const std::time_t t = 1625133600;
  const DateTime value = DateTime::FromTimeT(t);
  const auto f = value.ToFields();
  EXPECT_EQ(f.hour, 12);
  EXPECT_EQ(value.ToTimeT(), t);
  const auto tp = std::chrono::system_clock::from_time_t(t) + std::chrono::milliseconds(250);
  EXPECT_EQ(DateTime::FromTimePoint(tp).ToFields().millisecond, 250);
  EXPECT_EQ(DateTime::FromTimePoint(tp).ToTimePoint(), tp);
}

TEST_F(DateTimeTest, DosDateTimeHasTwoSecondResolution) {
  const std::time_t base = DateTime::FromFields(2021, 7, 1, 12, 30, 40).ToTimeT();
  const int32_t even = ToDosDateTime(base);
  EXPECT_EQ(ToDosDateTime(base + 1), even);  // odd seconds round down
  EXPECT_EQ(ToDosDateTime(base + 2), even + 1);
  const int32_t expected = ((2021 - 1980) << 9 | 7 << 5 | 1) << 16 | (12 << 11 | 30 << 5 | 20);
  EXPECT_EQ(even, expected);
  const auto back = DosDateTimeToDateTime(even).ToFields();
  EXPECT_EQ(back.second, 40);
  // Before 1980 there is nothing to pack: the earliest value.
  EXPECT_EQ(ToDosDateTime(DateTime::FromFields(1975, 5, 5).ToTimeT()), (1 << 5 | 1) << 16);
}

TEST_F(DateTimeTest, FileDosDateTimeOfMissingAndExistingFiles) {
  EXPECT_EQ(FileDosDateTime("no-such-file.bin"), -1);
  const char* path = "dos-time.bin";
  std::FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  const std::time_t when = DateTime::FromFields(2020, 1, 2, 3, 4, 7).ToTimeT();
  utimbuf times{when, when};
  ASSERT_EQ(utime(path, &times), 0);
  EXPECT_EQ(FileDosDateTime(path), ToDosDateTime(when));
  EXPECT_EQ(DosDateTimeToDateTime(FileDosDateTime(path)).ToFields().second, 6);
  std::remove(path);
}
