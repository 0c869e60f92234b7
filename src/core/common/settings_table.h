#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings_record.h"

// Each section of the settings image describes its fields once, in a table of named entries:
// where the field is, what it holds in the built-in image and which values a loaded file may
// keep. The section's defaults, its validation and the `settings` printout all come from it.
namespace terravue {

enum class FieldKind : std::uint8_t { Bool, U8, I16, U16, I32, F64, Colour, Text, Layer };

struct SettingsField {
  std::string name;  // "Group.Field", as printed
  FieldKind kind = FieldKind::Bool;
  std::size_t offset = 0;
  std::size_t capacity = 0;  // texts: characters after the length byte
  double initial = 0;        // numbers, bools and colours; layers: the batch layer number
  std::string text;          // texts; layers: the layer name
  // Accepted values, both ends included; reals must also be finite. Texts and layers only have
  // their length bytes clamped, colours take any value.
  double low = 0;
  double high = 0;
  // Layers only: a record all in zeros is not set (its bytes were reserved in older files)
  // and takes the built-in value; validation then covers the whole record.
  bool zeroIsUnset = false;
};

using SettingsTable = std::vector<SettingsField>;

inline constexpr double MaxReal = std::numeric_limits<double>::max();
// The smallest positive double: a lower bound of `Positive` means "greater than zero".
inline constexpr double Positive = std::numeric_limits<double>::denorm_min();
// Width lists index the 21 widths 1, 2, ... 50.
inline constexpr int MaxWidthIndex = 20;

SettingsField BoolEntry(std::string name, BoolField f, bool initial);
SettingsField ByteEntry(std::string name, U8Field f, int initial, int low = 0, int high = 255);
SettingsField Int16Entry(std::string name, I16Field f, int initial,
                         int low = std::numeric_limits<std::int16_t>::min(),
                         int high = std::numeric_limits<std::int16_t>::max());
SettingsField Word16Entry(std::string name, U16Field f, int initial, int low = 0,
                          int high = std::numeric_limits<std::uint16_t>::max());
SettingsField Int32Entry(std::string name, I32Field f, std::int32_t initial,
                         std::int32_t low = std::numeric_limits<std::int32_t>::min(),
                         std::int32_t high = std::numeric_limits<std::int32_t>::max());
SettingsField RealEntry(std::string name, F64Field f, double initial, double low = -MaxReal,
                        double high = MaxReal);
SettingsField ColourEntry(std::string name, ColourField f, std::uint32_t initial);
SettingsField TextEntry(std::string name, TextField f, std::string_view initial = {});
SettingsField LayerEntry(std::string name, LayerField f, std::string_view layerName, int number);
// A width list index, 0..20.
SettingsField WidthEntry(std::string name, I32Field f, std::int32_t initial = 0);

// Writes every field's built-in value. Bytes outside the fields are left alone.
void ApplyDefaults(const SettingsTable& table, SettingsRecord& record);
// Resets each field whose value is not accepted to its built-in value and clamps text length
// bytes; returns how many fields it changed.
int ValidateFields(const SettingsTable& table, SettingsRecord& record);
bool IsAccepted(const SettingsField& field, const SettingsRecord& record);
void ResetField(const SettingsField& field, SettingsRecord& record);

// The bytes that validation may rewrite: the whole of a number, a text's length byte only.
struct ByteSpan {
  std::size_t offset;
  std::size_t size;
};
ByteSpan ValidatedBytes(const SettingsField& field);

// "Group.Field = value" lines (a layer gives one line per part of its record); texts are
// quoted with control characters escaped, reals in their shortest exact form.
void AppendFieldLines(const SettingsField& field, const SettingsRecord& record, std::string& out);
std::string FormatSettingsReal(double v);

}  // namespace terravue
