#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "common/safe_file.h"

#include "common/settings_record.h"
#include "common/settings_table.h"

namespace terravue {

// The built-in settings: every section at its default, CAD layer names already prefixed.
SettingsRecord DefaultSettings();

enum class SettingsLoad {
  Missing,  // no file or unreadable: the defaults stand
  Short,    // fewer bytes than the image: only those replaced the defaults
  Full,
};

// Lays `bytes` (at most one image's worth) over the defaults, then checks every field: a value
// that would divide by zero, loop forever or index out of range is reset to its default, that
// field only; text length bytes are clamped to their fields.
// `fieldsReset`, when given, receives how many fields validation had to change.
SettingsLoad LoadSettingsBytes(SettingsRecord& record, std::span<const std::uint8_t> bytes,
                               int* fieldsReset = nullptr);
// Anything but a regular file counts as missing.
SettingsLoad LoadSettings(SettingsRecord& record, const std::filesystem::path& file,
                          int* fieldsReset = nullptr);

// Resets every out-of-range field of `record` to its default; returns how many it reset.
int ValidateSettings(SettingsRecord& record);

// Every named field of every section, in the order of the image.
const SettingsTable& AllSettingsFields();
// One "Group.Field = value" line per named field, in the order of the image.
std::string DescribeSettings(const SettingsRecord& record);

// Writes the whole image through a ReplacingFile; the previous file survives any failure, whose
// file and reason go to `problem` when given.
bool SaveSettings(const SettingsRecord& record, const std::filesystem::path& file,
                  std::optional<FileProblem>* problem = nullptr);

// Start-up fallback of the data and CAD directories: a stored directory that is empty or does
// not exist becomes `documents` when that exists, else `home`; always with a trailing "/".
void ResolveDirectories(SettingsRecord& record, const std::filesystem::path& documents,
                        const std::filesystem::path& home);

}  // namespace terravue
