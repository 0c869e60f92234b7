// libFuzzer target for the ASCII loaders: every input is a choice of loader and format followed
// by a file, read over a small model; any broken promise aborts with its description.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "ascii_import_harness.h"
#include "model/surface_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Allocating the full store per input would dominate the run time; the harness rebuilds the
  // model (and the junk beyond its counts) for every input.
  static terravue::model::SurfaceModel* model = [] {
    auto* m = new terravue::model::SurfaceModel;
    if (!m->AllocateStore()) std::abort();
    return m;
  }();
  const auto problems = terravue::fuzz::ExerciseAsciiImport(*model, std::span(data, size));
  for (const auto& p : problems) std::fprintf(stderr, "ascii import: %s\n", p.c_str());
  if (!problems.empty()) std::abort();
  return 0;
}
