#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <tuple>
#include <utility>

namespace terravue::model {

namespace axis_sort_detail {

// Ranges up to this many 64-entry words partition through bit masks (see Partition).
constexpr int MaskWords = 1024;

// The first set bit in [from, to], or to + 1.
inline int NextSet(const std::uint64_t* bits, int from, int to) {
  int w = from >> 6;
  std::uint64_t word = bits[w] & (~std::uint64_t{0} << (from & 63));
  for (;;) {
    if (word != 0) {
      const int p = (w << 6) + std::countr_zero(word);
      return p <= to ? p : to + 1;
    }
    if (((w + 1) << 6) > to) return to + 1;
    word = bits[++w];
  }
}

// The last set bit in [from, to], or from - 1.
inline int PrevSet(const std::uint64_t* bits, int from, int to) {
  int w = to >> 6;
  std::uint64_t word = bits[w] & (~std::uint64_t{0} >> (63 - (to & 63)));
  for (;;) {
    if (word != 0) {
      const int p = (w << 6) + 63 - std::countl_zero(word);
      return p >= from ? p : from - 1;
    }
    if ((w << 6) <= from) return from - 1;
    word = bits[--w];
  }
}

// Hoare's partition of list[lo..hi] about pivot: i steps up past keys below the pivot, j down
// past keys above it, and the pair they stop at is swapped. Returns the final (i, j).
//
// The scans are read from masks of the range as it was on entry, made without a branch per
// entry: the scans' stops are otherwise as unpredictable as the keys. That is exact because
// entries between i and j have not been touched yet, and everything the scans cross outside
// that stretch stops them: below i lie keys the up-scan passed (not above the pivot) and
// entries swapped down (which stopped the down-scan), above j the other way round. So i stops
// at the first masked stop in [i, j], else at j + 1, and j at the last in [i, j], else at i - 1.
template <typename Entry, typename KeyOf>
std::pair<int, int> Partition(Entry* list, int lo, int hi, double pivot, const KeyOf& key, std::uint64_t* up,
                              std::uint64_t* down) {
  const int count = hi - lo + 1;
  for (int w = 0; w * 64 < count; ++w) {
    const Entry* block = list + lo + w * 64;
    const int size = std::min(64, count - w * 64);
    std::uint64_t u = 0, d = 0;
    for (int b = 0; b < size; ++b) {
      const double k = key(block[b]);
      u |= std::uint64_t{!(k < pivot)} << b;
      d |= std::uint64_t{!(k > pivot)} << b;
    }
    up[w] = u;
    down[w] = d;
  }
  int i = lo;
  int j = hi;
  while (i <= j) {
    i = lo + NextSet(up, i - lo, j - lo);
    j = lo + PrevSet(down, i - lo, j - lo);
    if (i <= j) {
      std::swap(list[i], list[j]);
      ++i;
      --j;
    }
  }
  return {i, j};
}

template <typename Entry, typename KeyOf>
void Sort(Entry* list, int lo, int hi, const KeyOf& key, std::uint64_t* up, std::uint64_t* down) {
  constexpr int InsertionLimit = 30;
  while (hi - lo >= InsertionLimit) {
    const double pivot = key(list[lo + (hi - lo) / 2]);
    int i = lo;
    int j = hi;
    if (hi - lo < MaskWords * 64) {
      std::tie(i, j) = Partition(list, lo, hi, pivot, key, up, down);
    } else {
      while (i <= j) {
        while (key(list[i]) < pivot) ++i;
        while (key(list[j]) > pivot) --j;
        if (i <= j) {
          std::swap(list[i], list[j]);
          ++i;
          --j;
        }
      }
    }
    // Recursing into the smaller part keeps the stack depth logarithmic.
    if (j - lo < hi - i) {
      Sort(list, lo, j, key, up, down);
      lo = i;
    } else {
      Sort(list, i, hi, key, up, down);
      hi = j;
    }
  }
  for (int k = lo + 1; k <= hi; ++k) {
    const Entry moving = list[k];
    const double movingKey = key(moving);
    int j = k - 1;
    while (j >= lo && key(list[j]) > movingKey) {
      list[j + 1] = list[j];
      --j;
    }
    list[j + 1] = moving;
  }
}

}  // namespace axis_sort_detail

// The ordering of points along the sort axis: quicksort on the middle entry's key, short ranges
// finished by straight insertion, which beats the recursion on the nearly ordered runs that
// survey data tends to have. Entries list[lo..hi] are sorted by key(entry). The order of equal
// keys is part of a triangulation's result, so every caller sorts with this one routine.
template <typename Entry, typename KeyOf>
void SortAlongAxis(Entry* list, int lo, int hi, const KeyOf& key) {
  std::uint64_t up[axis_sort_detail::MaskWords], down[axis_sort_detail::MaskWords];
  axis_sort_detail::Sort(list, lo, hi, key, up, down);
}

}  // namespace terravue::model
