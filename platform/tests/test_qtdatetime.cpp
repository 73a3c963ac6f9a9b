#include "kintrail/platform_qt/qtdatetime.h"

#include <gtest/gtest.h>

using namespace kt;

TEST(QtDateTime, ConversionsKeepEveryField) {
  const DateTime value = DateTime::FromFields(2019, 11, 3, 14, 5, 9, 120);
  const QDateTime q = ToQDateTime(value);
  EXPECT_EQ(q.date(), QDate(2019, 11, 3));
  EXPECT_EQ(q.time(), QTime(14, 5, 9, 120));
  EXPECT_DOUBLE_EQ(FromQDateTime(q).Days(), value.Days());
}

TEST(QtDateTime, LocaleFormatReadsBackToTheSecond) {
  for (const QLocale& locale : {QLocale(QLocale::French, QLocale::France),
                               QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::German, QLocale::Germany)}) {
    const DateTime value = DateTime::FromFields(2024, 3, 9, 17, 45, 30);
    const QString text = FormatLocaleDateTime(value, locale);
    const auto back = ParseLocaleDateTime(text, locale);
    ASSERT_TRUE(back) << text.toStdString();
    EXPECT_DOUBLE_EQ(back->Days(), value.Days()) << text.toStdString();
  }
  EXPECT_FALSE(ParseLocaleDateTime("not a date", QLocale(QLocale::French)));
  EXPECT_FALSE(ParseLocaleDateTime("", QLocale(QLocale::French)));
}

TEST(QtDateTime, UserLanguageCodes) {
  EXPECT_EQ(UserLanguageCode(QLocale(QLocale::French, QLocale::Canada)), "fr");
  EXPECT_EQ(UserLanguageCode(QLocale(QLocale::German)), "de");
  EXPECT_EQ(UserLanguageCode(QLocale(QLocale::English)), "en");
  EXPECT_EQ(UserLanguageCode(QLocale(QLocale::Spanish)), "en");
}

TEST(QtText, Win1252BytesBecomeQtText) {
  EXPECT_EQ(Win1252ToQString("H\xE9l\xE8ne \x80"), QString::fromUtf8("Hélène €"));
  EXPECT_EQ(FromQString(ToQString("Łódź")), "Łódź");
}
