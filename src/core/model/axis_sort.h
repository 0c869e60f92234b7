#pragma once

#include <utility>

namespace terravue::model {

// The ordering of points along the sort axis: quicksort on the middle entry's key, short ranges
// finished by straight insertion, which beats the recursion on the nearly ordered runs that
// survey data tends to have. Entries list[lo..hi] are sorted by key(entry). The order of equal
// keys is part of a triangulation's result, so every caller sorts with this one routine.
template <typename Entry, typename KeyOf>
void SortAlongAxis(Entry* list, int lo, int hi, const KeyOf& key) {
  constexpr int InsertionLimit = 30;
  while (hi - lo >= InsertionLimit) {
    const double pivot = key(list[lo + (hi - lo) / 2]);
    int i = lo;
    int j = hi;
    while (i <= j) {
      while (key(list[i]) < pivot) ++i;
      while (key(list[j]) > pivot) --j;
      if (i <= j) {
        std::swap(list[i], list[j]);
        ++i;
        --j;
      }
    }
    // Recursing into the smaller part keeps the stack depth logarithmic.
    if (j - lo < hi - i) {
      SortAlongAxis(list, lo, j, key);
      lo = i;
    } else {
      SortAlongAxis(list, i, hi, key);
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

}  // namespace terravue::model
