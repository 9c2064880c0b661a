// The benchmarks' summaries of repeated runs and the counting receiver's hash of posts.
#include <gtest/gtest.h>

#include <vector>

#include "bench_stats.h"
#include "post_counter.h"

namespace kakehashi::bench {
namespace {

TEST(BenchStats, SummaryOfRunsInAnyOrder) {
  struct Case {
    std::vector<double> runs;
    double min, q1, median, q3, max;
  };
  const Case cases[] = {
      {{}, 0, 0, 0, 0, 0},
      {{7}, 7, 7, 7, 7, 7},
      {{3, 1, 2}, 1, 1.5, 2, 2.5, 3},
      {{40, 10, 30, 20}, 10, 17.5, 25, 32.5, 40},  // even count: between the middle two
      {{5, 1, 1, 1, 100}, 1, 1, 1, 5, 100},        // an outlier moves neither median nor IQR far
  };
  for (const Case& c : cases) {
    const Summary s = Summarize(c.runs);
    SCOPED_TRACE(::testing::PrintToString(c.runs));
    EXPECT_EQ(s.count, c.runs.size());
    EXPECT_DOUBLE_EQ(s.min, c.min);
    EXPECT_DOUBLE_EQ(s.q1, c.q1);
    EXPECT_DOUBLE_EQ(s.median, c.median);
    EXPECT_DOUBLE_EQ(s.q3, c.q3);
    EXPECT_DOUBLE_EQ(s.max, c.max);
  }
}

TEST(BenchStats, PairRatiosSkipMissingAndEmptyBaselines) {
  EXPECT_EQ(PairRatios({2, 9, 3, 8}, {1, 0, 2}), (std::vector<double>{2, 1.5}));
  EXPECT_TRUE(PairRatios({1}, {}).empty());
}

// The receiver's tally must tell a faithful send from one that reorders, changes or drops a
// post, without keeping the posts.
TEST(PostCounter, HashTellsOrderAndContentApart) {
  const auto hash = [](const std::vector<std::pair<std::uint32_t, std::uint32_t>>& posts) {
    std::uint64_t h = 0;
    for (const auto& [message, wparam] : posts) h = NextPostHash(h, message, wparam);
    return h;
  };
  const std::uint64_t sent = hash({{0x286, 0xFFFF82A0u}, {0x286, 'a'}, {0x111, 750}});
  EXPECT_NE(sent, hash({{0x286, 'a'}, {0x286, 0xFFFF82A0u}, {0x111, 750}}));   // reordered
  EXPECT_NE(sent, hash({{0x286, 0xFFFF82A0u}, {0x286, 'b'}, {0x111, 750}}));   // changed
  EXPECT_NE(sent, hash({{0x286, 0xFFFF82A0u}, {0x111, 750}}));                 // dropped
  EXPECT_NE(sent, hash({{0x286, 0xFFFF82A0u}, {0x286, 'a'}, {0x286, 750}}));   // press as a character
  EXPECT_NE(hash({{0x286, 0}}), hash({}));                                     // a NUL still counts
}

}  // namespace
}  // namespace kakehashi::bench
