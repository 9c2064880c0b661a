// Thousands of random sends through the send command, each checked against the rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "fuzz/send_fuzz_case.h"

namespace kakehashi::fuzz {
namespace {

TEST(SendFuzz, RandomSendsPostExactlyWhatTheRulesGive) {
  // A fixed random start value: a failure shows its iteration and repeats.
  std::mt19937 random(20240611u);
  constexpr int kIterations = 3000;
  int failures = 0;
  for (int i = 0; i < kIterations && failures < 5; ++i) {
    std::vector<std::uint8_t> input(24 + random() % 200);
    for (auto& b : input) b = static_cast<std::uint8_t>(random());
    const std::string problem = RunSendCase(input.data(), input.size());
    if (!problem.empty()) {
      ++failures;
      ADD_FAILURE() << "iteration " << i << ":\n" << problem;
    }
  }
}

}  // namespace
}  // namespace kakehashi::fuzz
