#pragma once

#include <filesystem>
#include <string_view>

namespace terravue::exchange {

// Writes the whole text beside the target under a fresh name and renames it over the target
// when complete, so a failure leaves an existing file untouched (and keeps its permissions when
// it is replaced). False when the file could not be written.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text);

}  // namespace terravue::exchange
