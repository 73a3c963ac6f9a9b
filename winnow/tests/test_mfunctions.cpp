// The text helpers used by reading: tables of inputs and expected results.
#include <gtest/gtest.h>

#include <kintrail/winnow/mfunctions.h>

using namespace kt::winnow::MFunctions;

namespace {

struct Case {
  std::string input;
  std::string expected;
};

TEST(WinnowMFunctions, TagValue) {
  for (const Case& c : std::vector<Case>{{"1 NAME", ""},
                                         {"1 SEX F", ""},  // 7 characters
                                         {"1 SEX  F", "F"},
                                         {"2 DATE 12 MAR 1850", "12 MAR 1850"},
                                         {"2 PLAC   Paris  ", "Paris"},
                                         {"2 PLAC         ", ""}})
    EXPECT_EQ(TagValue(c.input), c.expected) << c.input;
}

TEST(WinnowMFunctions, XrefIdAndSurnameTakeTheFirstPairTrimmed) {
  EXPECT_EQ(XrefId("0 @I1@ INDI"), "I1");
  EXPECT_EQ(XrefId("0 @ i1 @ INDI"), "i1");
  EXPECT_EQ(XrefId("1 HUSB @I1"), "");
  EXPECT_EQ(XrefId("1 NOTE @A@B@"), "A");
  EXPECT_EQ(Surname("1 NAME John /Smith/ Jr"), "Smith");
  EXPECT_EQ(Surname("1 NAME John / de la Tour /"), "de la Tour");
  EXPECT_EQ(Surname("1 NAME John Smith"), "");
  EXPECT_EQ(Surname("1 NAME John /Smith"), "");
  EXPECT_EQ(TextBetween("a/ b /c", '/'), " b ");
  EXPECT_EQ(TextBetween("a/b", '/'), "");
}

TEST(WinnowMFunctions, GivenNames) {
  for (const Case& c : std::vector<Case>{{"1 NAME John /Smith/ Jr", "John  Jr"},
                                         {"1 NAME John Smith", "John Smith"},
                                         {"1 NAME /Smith/", ""},
                                         {"1 NAME Jean /Dupont/", "Jean"},
                                         {"1 NAME A /X/ B /X/ C", "A  B  C"},
                                         {"1 NAME A // B", "A  B"},
                                         {"1 SEX F", ""}})
    EXPECT_EQ(GivenNames(c.input), c.expected) << c.input;
}

TEST(WinnowMFunctions, Years) {
  struct YearCase {
    std::string text, first, last;
  };
  for (const YearCase& c : std::vector<YearCase>{{"12 JAN 1850", "1850", "1850"},
                                                 {"ABT 850", "850", "850"},
                                                 {"12345", "1234", "2345"},
                                                 {"5 MAY 12", "", ""},
                                                 {"BET 1850 AND 1860", "1850", "1860"},
                                                 {"", "", ""},
                                                 {"1850/51", "1850", "1850"},
                                                 {"12 34", "", ""}}) {
    EXPECT_EQ(FirstYear(c.text), c.first) << c.text;
    EXPECT_EQ(LastYear(c.text), c.last) << c.text;
  }
}

TEST(WinnowMFunctions, NormalizeNameUpperCasesAndFoldsAccents) {
  for (const Case& c : std::vector<Case>{
           {"Dupont", "DUPONT"},
           {"\xE9lo\xEFse", "ELOISE"},                              // éloïse
           {"\xC6sa \xDF", "AESA SS"},                               // Æsa ß
           {"\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xF1\xF8\xFD", "AAAAAACNOY"},  // àáâãäåçñøý
           {"\xEE\xF9", "\xCE\xD9"},                                 // î ù become Î Ù and stay
           {"\xF0", "D"},                                            // ð
           {"o'brien", "O'BRIEN"}})
    EXPECT_EQ(NormalizeName(c.input), c.expected) << c.input;
  EXPECT_EQ(NormalizeNameUtf8("Chemill\xC3\xA9"), "CHEMILLE");
  EXPECT_EQ(NormalizeNameUtf8("\xC3\xAEle"), "\xC3\x8ELE");  // Île stays accented
}

TEST(WinnowMFunctions, AnselToAnsiCombinesPairsAndPadsWithSpaces) {
  for (const Case& c : std::vector<Case>{
           {"Jos\xE2" "e", "Jos\xE9 "},
           {"\xE2x", "\xE2x"},                 // no such pair: both copied
           {"\xE2", "\xE2"},                   // diacritic as last character
           {"\xE8y\xE2y", "\xFD\xFD  "},         // umlaut y and acute y both give ý
           {"\xE3U\xEA" "A", "\xE3U\xEA" "A"},  // circumflex U, ring A: not in the table
           {"\xF0" "c\xEA" "a", "\xE7\xE5  "},
           {"\xE2\xE2" "e", "\xE2\xE2" "e"},    // the second diacritic is not a pair start
           {"plain", "plain"}})
    EXPECT_EQ(AnselToAnsi(c.input), c.expected);
}

TEST(WinnowMFunctions, IbmPcToAnsi) {
  EXPECT_EQ(IbmPcToAnsi("\x80\x81\x82\x87\x8E\x90\xA4\x86 x"), "\xC7\xFC\xE9\xE7\xC4\xC9\xF1\x86 x");
}

}  // namespace
