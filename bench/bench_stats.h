// Summaries of repeated benchmark runs: median and spread, and whether two runs agree.
// Portable, header only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kakehashi::bench {

struct Summary {
  std::size_t count = 0;
  double min = 0, q1 = 0, median = 0, q3 = 0, max = 0;
};

// The value at fraction `p` (0..1) of sorted `values`, interpolated linearly between the two
// nearest order statistics (so the median of an even count is the mean of the middle two).
inline double Quantile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  const double at = p * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double fraction = at - static_cast<double>(below);
  return sorted[below] + (sorted[above] - sorted[below]) * fraction;
}

inline Summary Summarize(std::vector<double> values) {
  Summary s;
  if (values.empty()) return s;
  std::sort(values.begin(), values.end());
  s.count = values.size();
  s.min = values.front();
  s.max = values.back();
  s.q1 = Quantile(values, 0.25);
  s.median = Quantile(values, 0.5);
  s.q3 = Quantile(values, 0.75);
  return s;
}

// The ratio of each value to the one at the same index of `baseline` (runs taken in pairs);
// pairs whose baseline is not positive are left out.
inline std::vector<double> PairRatios(const std::vector<double>& values, const std::vector<double>& baseline) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < values.size() && i < baseline.size(); ++i) {
    if (baseline[i] > 0) ratios.push_back(values[i] / baseline[i]);
  }
  return ratios;
}

}  // namespace kakehashi::bench
