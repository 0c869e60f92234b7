// Every input the model reader fuzzer kept (tests/fuzz/corpus/model_reader) is a regression case:
// each is read as every file type, replacing the model and appending behind a small one.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/model_reader_harness.h"

namespace terravue::model {
namespace {

namespace fs = std::filesystem;

const fs::path CorpusDirectory = fs::path(TERRAVUE_TESTS_DIR) / "fuzz" / "corpus" / "model_reader";

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(CorpusDirectory, ec))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ModelCorpusTest : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    model_ = new SurfaceModel;
    ASSERT_TRUE(model_->AllocateStore());
  }
  static void TearDownTestSuite() {
    delete model_;
    model_ = nullptr;
  }
  static SurfaceModel* model_;
};

SurfaceModel* ModelCorpusTest::model_ = nullptr;

TEST_P(ModelCorpusTest, ReaderKeepsItsPromises) {
  std::ifstream in(CorpusDirectory / GetParam(), std::ios::binary);
  ASSERT_TRUE(in);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(fuzz::ExerciseModelReader(*model_, bytes), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Corpus, ModelCorpusTest, ::testing::ValuesIn(CorpusFiles()), [](const auto& info) {
  std::string name = info.param;
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
});
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ModelCorpusTest);

}  // namespace
}  // namespace terravue::model
