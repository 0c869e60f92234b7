#include "model/axis_sort.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace terravue::model {
namespace {

struct Entry {
  double key;
  int id;
};

// The quicksort with the partition written as plain scans. Equal keys come out in an order
// that depends on every swap, and that order decides a triangulation, so the sort must match
// this one entry for entry.
void PlainSort(Entry* list, int lo, int hi) {
  while (hi - lo >= 30) {
    const double pivot = list[lo + (hi - lo) / 2].key;
    int i = lo;
    int j = hi;
    while (i <= j) {
      while (list[i].key < pivot) ++i;
      while (list[j].key > pivot) --j;
      if (i <= j) std::swap(list[i++], list[j--]);
    }
    if (j - lo < hi - i) {
      PlainSort(list, lo, j);
      lo = i;
    } else {
      PlainSort(list, i, hi);
      hi = j;
    }
  }
  for (int k = lo + 1; k <= hi; ++k) {
    const Entry moving = list[k];
    int j = k - 1;
    for (; j >= lo && list[j].key > moving.key; --j) list[j + 1] = list[j];
    list[j + 1] = moving;
  }
}

TEST(AxisSortTest, SameOrderAsThePlainPartition) {
  struct Case {
    std::string name;
    int count;
    std::function<double(int, std::uint64_t)> key;  // from the position and a random number
  };
  const double nan = std::nan("");
  const std::vector<Case> cases = {
      {"thousandths", 32763, [](int, std::uint64_t r) { return 500000.0 + static_cast<double>(r % 2000000) / 1000; }},
      {"few distinct keys", 5000, [](int, std::uint64_t r) { return static_cast<double>(r % 7); }},
      {"all equal", 3001, [](int, std::uint64_t) { return 4.0; }},
      {"nearly ordered", 4097, [](int i, std::uint64_t r) { return i + static_cast<double>(r % 5); }},
      {"descending", 1000, [](int i, std::uint64_t) { return -i; }},
      {"some NaN", 2000, [nan](int, std::uint64_t r) { return r % 13 == 0 ? nan : static_cast<double>(r % 50); }},
      // Beyond the masks' reach the outer levels partition by plain scans.
      {"past the masks", 70000, [](int, std::uint64_t r) { return static_cast<double>(r % 40000); }},
  };
  std::uint64_t state = 12345;
  const auto next = [&state] {  // SplitMix64
    std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  };
  for (const Case& c : cases) {
    for (const int count : {c.count, 64, 65, 95, 129}) {
      SCOPED_TRACE(c.name + ", " + std::to_string(count) + " entries");
      std::vector<Entry> expected(static_cast<std::size_t>(count) + 1);
      for (int i = 1; i <= count; ++i) expected[static_cast<std::size_t>(i)] = {c.key(i, next()), i};
      std::vector<Entry> actual = expected;
      PlainSort(expected.data(), 1, count);
      SortAlongAxis(actual.data(), 1, count, [](const Entry& e) { return e.key; });
      int mismatches = 0;
      for (int i = 1; i <= count; ++i) mismatches += actual[static_cast<std::size_t>(i)].id != expected[static_cast<std::size_t>(i)].id;
      EXPECT_EQ(mismatches, 0);
    }
  }
}

}  // namespace
}  // namespace terravue::model
