#pragma once

#include <ctime>

namespace terravue::testing {

// 5 June 2024 at the given time: reports and title blocks carry the same date on every run.
inline std::tm FixedTime(int hour, int minute) {
  std::tm t{};
  t.tm_year = 124;
  t.tm_mon = 5;
  t.tm_mday = 5;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

}  // namespace terravue::testing
