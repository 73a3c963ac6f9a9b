#include <gtest/gtest.h>
TEST(Config, Placeholder) {}
