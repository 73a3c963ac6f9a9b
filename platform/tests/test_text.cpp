#include "kintrail/platform/text.h"

#include <gtest/gtest.h>

using namespace kt;

namespace {

struct Win1252Case {
  unsigned char byte;
  const char* utf8;
};

// The bytes whose meaning differs from Latin-1, and a few around them.
const Win1252Case kWin1252Cases[] = {
    {0x41, "A"},          {0x7F, "\x7F"},         {0x80, "\u20AC"},       {0x81, "\u0081"},
    {0x82, "\u201A"},     {0x83, "\u0192"},       {0x8A, "\u0160"},       {0x8C, "\u0152"},
    {0x8D, "\u008D"},     {0x8E, "\u017D"},       {0x8F, "\u008F"},       {0x90, "\u0090"},
    {0x91, "\u2018"},     {0x96, "\u2013"},       {0x99, "\u2122"},       {0x9C, "\u0153"},
    {0x9D, "\u009D"},     {0x9F, "\u0178"},       {0xA0, "\u00A0"},       {0xE9, "\u00E9"},
    {0xFF, "\u00FF"}};

}  // namespace

TEST(Win1252, EveryByteRoundTripsThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string utf8 = Win1252ToUtf8(one);
    EXPECT_TRUE(IsValidUtf8(utf8)) << b;
    EXPECT_EQ(Utf8ToWin1252(utf8), one) << "byte " << b;
  }
}

TEST(Win1252, KnownBytesDecodeToTheirCharacters) {
  for (const auto& c : kWin1252Cases)
    EXPECT_EQ(Win1252ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8)
        << "byte " << int(c.byte);
}

TEST(Win1252, CharactersOutsideBecomeClosestLetterOrReplacement) {
  const struct {
    const char* utf8;
    const char* expected;
  } cases[] = {
      {"\u0141\u00F3d\u017A", "L\xF3" "dz"},  // Łódź: ó exists, Ł and ź fold
      {"Erd\u0151s", "Erdos"},
      {"\u0218tefan", "Stefan"},
      {"e\u0301", "e"},                 // decomposed accent: the base letter stays
      {"\u4E2D", "?"},                  // no Latin letter at all
      {"\xF0\x9F\x98\x80", "?"},        // outside the BMP
      {"caf\xE9", "caf\xE9"},           // not UTF-8: taken as Windows-1252 already
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToWin1252(c.utf8), c.expected) << c.utf8;
}

TEST(Utf8, MalformedSequencesAreRejected) {
  const char* bad[] = {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3",
                       "\x80"};
  for (const char* text : bad) EXPECT_FALSE(IsValidUtf8(text)) << text;
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));
}

TEST(Utf16, BothByteOrdersAndSurrogatePairs) {
  const std::string le("A\0\xE9\0=\xD8\x00\xDE", 8);  // A é U+1F600
  const std::string be("\0A\0\xE9\xD8=\xDE\x00", 8);
  EXPECT_EQ(Utf16ToUtf8(le, false), "A\u00E9\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(be, true), "A\u00E9\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(std::string("\x00\xD8", 2), false), "\uFFFD");  // lone surrogate
  EXPECT_EQ(Utf16ToUtf8(std::string("A\0B", 3), false), "A");          // odd trailing byte
}

TEST(Cp437, AccentedLettersMapBothWays) {
  EXPECT_EQ(Win1252ToCp437("\xE9t\xE9"), "\x82t\x82");        // été
  EXPECT_EQ(Cp437ToWin1252("\x82t\x82"), "\xE9t\xE9");
  EXPECT_EQ(Win1252ToCp437("\xC0"), "A");                      // À has no CP437 letter
  EXPECT_EQ(Win1252ToCp437("\x80"), "_");                      // € has none at all
  EXPECT_EQ(Cp437ToWin1252("\xB0"), "_");                      // a box-drawing block
  EXPECT_EQ(Cp437ToWin1252("\xE1"), "\xDF");                   // ß
}

TEST(Latin1References, OnlyCharactersOutsideLatin1AreReferenced) {
  EXPECT_EQ(Win1252ToLatin1WithReferences("Caf\xE9 \x80 \x9C"), "Caf\xE9 &#8364; &#339;");
  EXPECT_EQ(Utf8ToLatin1WithReferences("Caf\u00E9 \u0141 \u4E2D"), "Caf\xE9 &#321; &#20013;");
}

TEST(Win1252Case, UpperAndLowerFollowTheCodePage) {
  const struct {
    unsigned char lower, upper;
  } pairs[] = {{'a', 'A'}, {'z', 'Z'}, {0xE0, 0xC0}, {0xE9, 0xC9}, {0xFE, 0xDE},
               {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
  for (const auto& p : pairs) {
    EXPECT_EQ(Win1252ToUpper(p.lower), p.upper) << int(p.lower);
    EXPECT_EQ(Win1252ToLower(p.upper), p.lower) << int(p.upper);
  }
  // Letters without a capital in the code page stay as they are.
  for (unsigned char same : std::initializer_list<unsigned char>{0xDF, 0xB5, 0xF7, 0x83, 0xD7, 0x31})
    EXPECT_EQ(Win1252ToUpper(same), same) << int(same);
  EXPECT_EQ(Win1252UpperCase("h\xE9l\xE8ne stra\xDF" "e"), "H\xC9L\xC8NE STRA\xDF" "E");
}
