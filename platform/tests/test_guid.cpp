#include "kintrail/platform/guid.h"

#include <gtest/gtest.h>

using kt::Guid;

TEST(Guid, ParseAndFormat) {
  const auto guid = Guid::Parse("{6f1c2a3b-0d4e-4f5a-9b8c-7d6e5f4a3b2c}");
  ASSERT_TRUE(guid);
  EXPECT_EQ(guid->data1, 0x6F1C2A3Bu);
  EXPECT_EQ(guid->data2, 0x0D4E);
  EXPECT_EQ(guid->data4[0], 0x9B);
  EXPECT_EQ(guid->data4[7], 0x2C);
  EXPECT_EQ(guid->ToString(), "{6F1C2A3B-0D4E-4F5A-9B8C-7D6E5F4A3B2C}");
  EXPECT_EQ(Guid::Parse("6F1C2A3B-0D4E-4F5A-9B8C-7D6E5F4A3B2C"), guid);
}

TEST(Guid, MalformedTextIsRefused) {
  const char* bad[] = {"", "{}", "{6F1C2A3B-0D4E-4F5A-9B8C-7D6E5F4A3B2C",
                       "6F1C2A3B-0D4E-4F5A-9B8C-7D6E5F4A3B2C}", "6F1C2A3B0D4E-4F5A-9B8C-7D6E5F4A3B2C-",
                       "{6F1C2A3B-0D4E-4F5A-9B8C-7D6E5F4A3B2G}", "{6F1C2A3B-0D4E-4F5A-9B8C7-D6E5F4A3B2C}"};
  for (const char* text : bad) EXPECT_FALSE(Guid::Parse(text)) << text;
}

TEST(Guid, OrderAndEquality) {
  const auto a = *Guid::Parse("00000000-0000-0000-0000-000000000001");
  const auto b = *Guid::Parse("00000000-0000-0000-0000-000000000002");
  EXPECT_LT(a, b);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, *Guid::Parse("{00000000-0000-0000-0000-000000000001}"));
}
