// Every input the LandXML import fuzzer kept goes through the import again as a regression case.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/landxml_import_harness.h"
#include "model/surface_model.h"

namespace terravue::exchange {
namespace {

namespace fs = std::filesystem;

TEST(LandXmlImportCorpus, EveryInputIsRefusedOrReadSoundly) {
  const fs::path corpus = fs::path(TERRAVUE_TESTS_DIR) / "fuzz" / "corpus" / "landxml_import";
  ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
  model::SurfaceModel model, again;
  ASSERT_TRUE(model.AllocateStore());
  ASSERT_TRUE(again.AllocateStore());
  int inputs = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const auto& problem : fuzz::ExerciseLandXmlImport(model, again, bytes)) ADD_FAILURE() << problem;
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << "the corpus is empty";
}

}  // namespace
}  // namespace terravue::exchange
