// The delay before each press, from the text of the Wait box.
#include "delivery/delay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace kakehashi {
namespace {

TEST(Delay, NumericPrefixRule) {
  struct Case {
    std::u16string text;
    double value;
  };
  const Case cases[] = {
      {u"500", 500},  {u"", 0},         {u"1.5", 1.5},    {u"1e3", 1000},    {u"1,000", 1},
      {u"1 000", 1000}, {u"\t12\n3", 123}, {u"1\u30002", 12}, {u"-3", -3},     {u"+7", 7},
      {u"2D2", 200},  {u"1e", 1},       {u"1e+", 1},      {u"12abc", 12},    {u"abc", 0},
      {u"-", 0},      {u".", 0},        {u".5", 0.5},     {u"5.", 5},        {u"&H1F", 31},
      {u"&hff", 255}, {u"&O17", 15},    {u"&H", 0},       {u"&X1", 0},       {u"¥100", 0},
      {u"1e-2", 0.01}, {u"1\r2", 1},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(NumericPrefix(c.text), c.value) << ::testing::PrintToString(c.text);
  }
}

TEST(Delay, MillisecondsRoundHalfToEvenAndStayInRange) {
  struct Case {
    std::u16string text;
    std::uint32_t ms;
  };
  constexpr auto kMax = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  const Case cases[] = {
      {u"500", 500}, {u"", 0},       {u"1.5", 2},      {u"2.5", 2},         {u"0.5", 0},
      {u"1e3", 1000}, {u"1,000", 1}, {u"1 000", 1000}, {u"-3", 0},          {u"-0.4", 0},
      {u"1e10", kMax}, {u"1e999", kMax}, {u"-1e999", 0}, {u"2147483647", kMax}, {u"2147483646.5", 2147483646},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DelayMilliseconds(c.text), c.ms) << ::testing::PrintToString(c.text);
  }
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(-1e300), std::numeric_limits<std::int32_t>::min());
}

}  // namespace
}  // namespace kakehashi
