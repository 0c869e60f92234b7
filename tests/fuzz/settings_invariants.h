#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "common/settings_table.h"

namespace terravue::testing {

// What must hold after any input went through the settings loader; returns what broke, or an
// empty text. The loaded image is the input laid over the defaults, except that a field the
// validation did not accept is back at its default (a text or layer: its length byte clamped;
// a layer that reads as zeros where older files kept reserved bytes: its whole record); every
// other byte, reserved or after a text's end, is the input's. The result is a fixed point of
// the validation and can be printed.
inline std::string CheckLoadedSettings(std::span<const std::uint8_t> input,
                                       const SettingsRecord& loaded) {
  const SettingsRecord defaults = DefaultSettings();
  const std::size_t n = std::min(input.size(), SettingsRecord::Size);
  auto source = [&](std::size_t i) { return i < n ? input[i] : defaults.bytes[i]; };

  std::vector<bool> validated(SettingsRecord::Size, false);
  for (const auto& field : AllSettingsFields()) {
    if (!IsAccepted(field, loaded)) return field.name + " holds an unaccepted value";
    const ByteSpan span = ValidatedBytes(field);
    bool asSource = true;
    bool asDefault = true;
    for (std::size_t i = span.offset; i < span.offset + span.size; ++i) {
      validated[i] = true;
      asSource = asSource && loaded.bytes[i] == source(i);
      asDefault = asDefault && loaded.bytes[i] == defaults.bytes[i];
    }
    bool unset = field.zeroIsUnset;
    for (std::size_t i = span.offset; i < span.offset + span.size; ++i) unset = unset && source(i) == 0;
    if (unset) {
      if (!asDefault) return field.name + " read as zeros is not its default";
    } else if (field.kind == FieldKind::Text || field.kind == FieldKind::Layer) {
      const std::size_t length = field.kind == FieldKind::Layer ? field.offset + 1 : field.offset;
      const std::size_t clamped = std::min<std::size_t>(source(length), field.capacity);
      if (loaded.bytes[length] != clamped) return field.name + " length not clamped as read";
    } else if (!asSource && !asDefault) {
      return field.name + " is neither as read nor its default";
    }
  }
  for (std::size_t i = 0; i < SettingsRecord::Size; ++i)
    if (!validated[i] && loaded.bytes[i] != source(i))
      return "byte " + std::to_string(i) + " outside the fields was changed";

  SettingsRecord again = loaded;
  if (ValidateSettings(again) != 0 || again != loaded) return "validation is not a fixed point";
  SettingsRecord reloaded;
  LoadSettingsBytes(reloaded, loaded.bytes);
  if (reloaded != loaded) return "reloading the loaded image changed it";
  if (DescribeSettings(loaded).empty()) return "the printout is empty";
  return {};
}

}  // namespace terravue::testing
