// The raw-record helpers the tree is built from: dates of events, tag lines,
// pointers, indented display, life years and proper case.
#include <gtest/gtest.h>

#include "rawrecord.h"

namespace ktviewer {
namespace {

const std::string kRecord =
    "1 NAME Jean /DUPONT/\r\n"
    "1 SEX M\r\n"
    "1 BIRT\r\n"
    "2 DATE 12 MAR 1850\r\n"
    "2 PLAC Paris\r\n"
    "1 DEAT\r\n"
    "2 PLAC Lyon\r\n"
    "1 BURI\r\n"
    "2 DATE 1920\r\n"
    "1 FAMC @F1@\r\n"
    "1 FAMS @F12@\r\n";

TEST(GetEventDate, Cases) {
  struct Case {
    std::string record;
    int level;
    std::string tag;
    std::string expected;
  };
  const Case cases[] = {
      {kRecord, 1, "BIRT", "12 MAR 1850"},
      // An event without its own date takes the next date line found after it.
      {kRecord, 1, "DEAT", "1920"},
      {kRecord, 1, "CHR", ""},
      {"1 BIRT\r\n2 PLAC Paris\r\n", 1, "BIRT", ""},
      // A date line at the very end of the record, without a line end.
      {"1 BIRT\r\n2 DATE ABT 1700", 1, "BIRT", "ABT 1700"},
      // A date line before the event does not count.
      {"2 DATE 1600\r\n1 BIRT\r\n", 1, "BIRT", ""},
      {"1 BIRT\r\n2 DATE", 1, "BIRT", ""},
      {"", 1, "BIRT", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(getEventDate(c.record, c.level, c.tag), c.expected) << c.record;
}

TEST(GetTagLines, WholeLinesEachWithLineEnd) {
  EXPECT_EQ(getTagLines(kRecord, "FAMS"), "1 FAMS @F12@\r\n");
  EXPECT_EQ(getTagLines(kRecord, "SEX"), "1 SEX M\r\n");
  EXPECT_EQ(getTagLines(kRecord, "NOTE"), "");
  // Two such lines are joined: their pointer then matches nobody.
  const std::string twoWives = "1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 WIFE @I3@\r\n";
  EXPECT_EQ(getTagLines(twoWives, "WIFE"), "1 WIFE @I2@\r\n1 WIFE @I3@\r\n");
  EXPECT_EQ(getPointerFromGedcomLine(getTagLines(twoWives, "WIFE")), "I21 WIFE I3");
  // The last line of a record without a line end.
  EXPECT_EQ(getTagLines("1 HUSB @I1@\r\n1 WIFE @I2@", "WIFE"), "1 WIFE @I2@\r\n");
}

TEST(GetPointerFromGedcomLine, Cases) {
  const std::pair<std::string, std::string> cases[] = {
      {"1 FAMS @F12@", "F12"}, {"1 WIFE @I2@\r\n", "I2"}, {"1 CHIL   @I7@  ", "I7"},
      {"1 FAMS", ""},          {"1 FAMS ", ""},           {"", ""},
  };
  for (const auto& [line, pointer] : cases)
    EXPECT_EQ(getPointerFromGedcomLine(line), pointer) << line;
}

TEST(FormatRawGedcomString, IndentsByLevel) {
  EXPECT_EQ(FormatRawGedcomString("1 BIRT\r\n2 DATE 1850\r\n3 TIME 10:00\r\n1 SEX F\r\n"),
            "  1 BIRT\r\n    2 DATE 1850\r\n      3 TIME 10:00\r\n  1 SEX F\r\n");
  // Levels 10 to 20 are indented as such, not as level 1; above 20 stay put.
  EXPECT_EQ(FormatRawGedcomString("1 A\r\n12 B\r\n21 C\r\n0 D\r\n"),
            "  1 A\r\n" + std::string(24, ' ') + "12 B\r\n21 C\r\n0 D\r\n");
  EXPECT_EQ(FormatRawGedcomString("0 HEAD\r\n1 SOUR x\r\n"), "0 HEAD\r\n  1 SOUR x\r\n");
  // No space after the first character: nothing to show.
  EXPECT_EQ(FormatRawGedcomString(""), "");
  EXPECT_EQ(FormatRawGedcomString("X"), "");
  EXPECT_EQ(FormatRawGedcomString(" 1"), "");
  // A first level that is not a number counts as 0; an absurd one is capped.
  EXPECT_EQ(FormatRawGedcomString("x y"), "x y");
  EXPECT_EQ(FormatRawGedcomString("99999999 y").size(), 198u + 10u);
}

TEST(FormatLifeYears, Cases) {
  struct Case {
    int birth, death;
    QString expected;
  };
  const Case cases[] = {
      {1850, 1920, "  ( o 1850 + 1920)"},
      {1850, 9999, "  ( o 1850)"},
      {0, 1920, "  ( + 1920)"},
      {0, 0, ""},
      {0, 9999, ""},
      {1, 9998, "  ( o 1 + 9998)"},
      {-5, 9999, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatLifeYears(c.birth, c.death), c.expected) << c.birth << " " << c.death;
  EXPECT_EQ(FormatLifeYears(1850, 1920).size(), 18);
}

TEST(ProperCase, EveryWordCapitalised) {
  EXPECT_EQ(ProperCase("SAINT-GERMAIN EN LAYE"), "Saint-germain En Laye");
  EXPECT_EQ(ProperCase("paris,  ÎLE DE FRANCE"), "Paris,  Île De France");
  EXPECT_EQ(ProperCase(""), "");
}

TEST(FromWinnowText, Windows1252) {
  EXPECT_EQ(FromWinnowText("Fran\xE7ois \x80"), QString::fromUtf8("François €"));
}

}  // namespace
}  // namespace ktviewer
