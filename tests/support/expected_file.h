#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace terravue::testing {

// A long exact output (a report, a file written) against the expected file kept beside its
// test. With TERRAVUE_UPDATE_EXPECTED=1 in the environment the file is rewritten instead and the
// test skipped: review the difference like code.
inline void ExpectSameAsFile(const std::string& text, const std::filesystem::path& expected) {
  if (std::getenv("TERRAVUE_UPDATE_EXPECTED")) {
    std::ofstream(expected, std::ios::binary) << text;
    GTEST_SKIP() << "rewrote " << expected;
  }
  std::ifstream in(expected, std::ios::binary);
  ASSERT_TRUE(in) << expected;
  std::ostringstream want;
  want << in.rdbuf();
  // Line by line first, for a readable difference; then byte for byte (line ends included).
  const auto lines = [](const std::string& s) {
    std::vector<std::string> out;
    std::istringstream stream(s);
    for (std::string line; std::getline(stream, line);) out.push_back(line);
    return out;
  };
  EXPECT_EQ(lines(text), lines(want.str())) << expected;
  EXPECT_EQ(text, want.str()) << expected;
}

}  // namespace terravue::testing
