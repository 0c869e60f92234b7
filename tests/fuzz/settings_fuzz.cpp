// Feeds arbitrary bytes to the settings loader as if they were a settings file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "app/settings_file.h"
#include "settings_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  terravue::SettingsRecord record;
  terravue::LoadSettingsBytes(record, input);
  const std::string broken = terravue::testing::CheckLoadedSettings(input, record);
  if (!broken.empty()) {
    std::fprintf(stderr, "settings invariant broken: %s\n", broken.c_str());
    std::abort();
  }
  return 0;
}
