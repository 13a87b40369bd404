#pragma once
// The clock and the figures every benchmark program prints.
#include <windows.h>

#include <algorithm>
#include <vector>

inline double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// The value below which a share p (0..1] of the samples lie.
inline double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(p * static_cast<double>(v.size()) + 0.999999) - 1;
  return v[std::min(i, v.size() - 1)];
}
