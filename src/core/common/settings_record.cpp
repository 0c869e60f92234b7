#include "common/settings_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace terravue {
namespace {

template <typename T>
T Load(const std::array<std::uint8_t, SettingsRecord::Size>& bytes, std::size_t offset) {
  static_assert(std::endian::native == std::endian::little, "the settings image is little-endian");
  T v;
  std::memcpy(&v, bytes.data() + offset, sizeof v);
  return v;
}

template <typename T>
void Store(std::array<std::uint8_t, SettingsRecord::Size>& bytes, std::size_t offset, T v) {
  std::memcpy(bytes.data() + offset, &v, sizeof v);
}

}  // namespace

std::int16_t SettingsRecord::Get(I16Field f) const { return Load<std::int16_t>(bytes, f.offset); }
void SettingsRecord::Set(I16Field f, std::int16_t v) { Store(bytes, f.offset, v); }
std::uint16_t SettingsRecord::Get(U16Field f) const { return Load<std::uint16_t>(bytes, f.offset); }
void SettingsRecord::Set(U16Field f, std::uint16_t v) { Store(bytes, f.offset, v); }
std::int32_t SettingsRecord::Get(I32Field f) const { return Load<std::int32_t>(bytes, f.offset); }
void SettingsRecord::Set(I32Field f, std::int32_t v) { Store(bytes, f.offset, v); }
double SettingsRecord::Get(F64Field f) const { return Load<double>(bytes, f.offset); }
void SettingsRecord::Set(F64Field f, double v) { Store(bytes, f.offset, v); }
std::uint32_t SettingsRecord::Get(ColourField f) const { return Load<std::uint32_t>(bytes, f.offset); }
void SettingsRecord::Set(ColourField f, std::uint32_t v) { Store(bytes, f.offset, v); }

std::string SettingsRecord::Get(TextField f) const {
  const std::size_t length = std::min<std::size_t>(bytes[f.offset], f.capacity);
  const auto* first = reinterpret_cast<const char*>(bytes.data() + f.offset + 1);
  return std::string(first, length);
}

bool SettingsRecord::Set(TextField f, std::string_view v) {
  if (v.size() > f.capacity) return false;
  bytes[f.offset] = static_cast<std::uint8_t>(v.size());
  std::memcpy(bytes.data() + f.offset + 1, v.data(), v.size());
  return true;
}

bool SettingsRecord::ClampLength(TextField f) {
  if (bytes[f.offset] <= f.capacity) return false;
  bytes[f.offset] = static_cast<std::uint8_t>(f.capacity);
  return true;
}

CadLayer SettingsRecord::Get(LayerField f) const {
  CadLayer layer;
  layer.AcadColour = bytes[f.offset];
  layer.LayerName = Get(TextField{f.offset + 1, CadLayer::NameCapacity});
  layer.BatchColour = bytes[f.offset + 14];
  layer.BatchNumber = bytes[f.offset + 15];
  return layer;
}

void SettingsRecord::Set(LayerField f, const CadLayer& layer) {
  bytes[f.offset] = layer.AcadColour;
  std::string_view name = layer.LayerName;
  Set(TextField{f.offset + 1, CadLayer::NameCapacity}, name.substr(0, CadLayer::NameCapacity));
  bytes[f.offset + 14] = layer.BatchColour;
  bytes[f.offset + 15] = layer.BatchNumber;
}

}  // namespace terravue
