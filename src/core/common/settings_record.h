#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace terravue {

// Typed handles on the fields of the settings image. Several f64 fields sit at offsets that are
// not multiples of 8, so the image is never overlaid with a struct: every access copies bytes.
struct BoolField { std::size_t offset; };
struct U8Field { std::size_t offset; };
struct I16Field { std::size_t offset; };
struct U16Field { std::size_t offset; };
struct I32Field { std::size_t offset; };
struct F64Field { std::size_t offset; };
struct ColourField { std::size_t offset; };  // 4-byte RGB value, red in the low byte
// A text[n] field: one length byte followed by `capacity` character bytes.
struct TextField {
  std::size_t offset;
  std::size_t capacity;
};
struct LayerField { std::size_t offset; };  // 16-byte CAD layer record

// The CAD layer record kept inside each map option group.
struct CadLayer {
  static constexpr std::size_t NameCapacity = 12;
  std::uint8_t AcadColour = 7;
  std::string LayerName;
  std::uint8_t BatchColour = 7;
  std::uint8_t BatchNumber = 0;
};

// RGB colour values as stored: red in the low byte.
constexpr std::uint32_t MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
}

// The raw 11236-byte image of the settings file. Reserved bytes and the bytes after a text's
// last character are held as read and written back unchanged.
class SettingsRecord {
 public:
  static constexpr std::size_t Size = 11236;

  std::array<std::uint8_t, Size> bytes{};

  bool Get(BoolField f) const { return bytes[f.offset] != 0; }
  void Set(BoolField f, bool v) { bytes[f.offset] = v ? 1 : 0; }
  std::uint8_t Get(U8Field f) const { return bytes[f.offset]; }
  void Set(U8Field f, std::uint8_t v) { bytes[f.offset] = v; }
  std::int16_t Get(I16Field f) const;
  void Set(I16Field f, std::int16_t v);
  std::uint16_t Get(U16Field f) const;
  void Set(U16Field f, std::uint16_t v);
  std::int32_t Get(I32Field f) const;
  void Set(I32Field f, std::int32_t v);
  double Get(F64Field f) const;
  void Set(F64Field f, double v);
  std::uint32_t Get(ColourField f) const;
  void Set(ColourField f, std::uint32_t v);

  // The stored characters, the length byte clamped to the field's capacity.
  std::string Get(TextField f) const;
  // Stores a text that fits; a longer one is refused (false) and the field keeps its value.
  // Only the length byte and the text's own characters are written.
  bool Set(TextField f, std::string_view v);
  // Lowers a length byte that exceeds the field's capacity; returns true when it had to.
  bool ClampLength(TextField f);

  CadLayer Get(LayerField f) const;
  void Set(LayerField f, const CadLayer& layer);

  friend bool operator==(const SettingsRecord&, const SettingsRecord&) = default;
};

}  // namespace terravue
