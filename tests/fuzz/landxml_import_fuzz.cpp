// libFuzzer target for the LandXML import: every input is a document; any broken promise aborts
// with its description.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "landxml_import_harness.h"
#include "model/surface_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Allocating the full store per input would dominate the run time.
  static terravue::model::SurfaceModel* models = [] {
    auto* m = new terravue::model::SurfaceModel[2];
    if (!m[0].AllocateStore() || !m[1].AllocateStore()) std::abort();
    return m;
  }();
  const auto problems = terravue::fuzz::ExerciseLandXmlImport(models[0], models[1], std::span(data, size));
  for (const auto& p : problems) std::fprintf(stderr, "landxml import: %s\n", p.c_str());
  if (!problems.empty()) std::abort();
  return 0;
}
