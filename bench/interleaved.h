// Comparisons measured in one run: each contender runs once per round, in
// an order that rotates from round to round, so that a change in the
// machine's load during the run touches every contender alike. Figures are
// the median of the rounds with the quartiles as their spread.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

struct Spread {
  double median;
  double low;   // first quartile
  double high;  // third quartile
};

inline Spread SpreadOf(std::vector<double> values) {
  if (values.empty()) return Spread{0, 0, 0};
  std::sort(values.begin(), values.end());
  auto at = [&](double q) {
    return values[static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
  };
  return Spread{at(0.5), at(0.25), at(0.75)};
}

// A contender times itself and answers seconds, so that its set-up and
// clean-up stay out of the figure.
using Contender = std::function<double()>;

// times[c][r]: the seconds of contender c in round r.
inline std::vector<std::vector<double>> RunInterleaved(int rounds, const std::vector<Contender>& contenders) {
  const size_t n = contenders.size();
  std::vector<std::vector<double>> times(n, std::vector<double>(static_cast<size_t>(rounds)));
  for (int round = 0; round < rounds; ++round)
    for (size_t k = 0; k < n; ++k) {
      const size_t c = (static_cast<size_t>(round) + k) % n;
      times[c][static_cast<size_t>(round)] = contenders[c]();
    }
  return times;
}

// The ratio a / b of each round.
inline Spread RatioSpread(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (b[i] > 0) ratios.push_back(a[i] / b[i]);
  return SpreadOf(ratios);
}

// Times one call of `work`.
template <typename Work>
double TimeOnce(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
