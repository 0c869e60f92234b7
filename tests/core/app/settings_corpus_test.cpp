// Every input the settings fuzzer kept goes through the loader again as a regression case.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "fuzz/settings_invariants.h"

namespace terravue::app {
namespace {

namespace fs = std::filesystem;

TEST(SettingsCorpus, EveryInputKeepsTheInvariants) {
  const fs::path corpus = fs::path(TERRAVUE_TESTS_DIR) / "fuzz" / "corpus" / "settings";
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
  int inputs = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    SettingsRecord loaded;
    const SettingsLoad status = LoadSettingsBytes(loaded, bytes);
    EXPECT_EQ(status, bytes.size() < SettingsRecord::Size ? SettingsLoad::Short : SettingsLoad::Full);
    EXPECT_EQ(testing::CheckLoadedSettings(bytes, loaded), "");
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << "the corpus is empty";
}

}  // namespace
}  // namespace terravue::app
