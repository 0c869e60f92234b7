// libFuzzer target for the model file reader: every input is read as each file type, replacing
// the model and appending behind a small one; any broken promise aborts with its description.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "model/surface_model.h"
#include "model_reader_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Allocating the full store per input would dominate the run time.
  static terravue::model::SurfaceModel* model = [] {
    auto* m = new terravue::model::SurfaceModel;
    if (!m->AllocateStore()) std::abort();
    return m;
  }();
  const auto problems = terravue::fuzz::ExerciseModelReader(*model, std::span(data, size));
  for (const auto& p : problems) std::fprintf(stderr, "model reader: %s\n", p.c_str());
  if (!problems.empty()) std::abort();
  return 0;
}
