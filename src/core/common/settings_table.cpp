#include "common/settings_table.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

namespace terravue {
namespace {

SettingsField Numeric(std::string name, FieldKind kind, std::size_t offset, double initial,
                      double low, double high) {
  SettingsField f;
  f.name = std::move(name);
  f.kind = kind;
  f.offset = offset;
  f.initial = initial;
  f.low = low;
  f.high = high;
  return f;
}

double NumericValue(const SettingsField& f, const SettingsRecord& r) {
  switch (f.kind) {
    case FieldKind::Bool:
    case FieldKind::U8: return r.Get(U8Field{f.offset});
    case FieldKind::I16: return r.Get(I16Field{f.offset});
    case FieldKind::U16: return r.Get(U16Field{f.offset});
    case FieldKind::I32: return r.Get(I32Field{f.offset});
    case FieldKind::F64: return r.Get(F64Field{f.offset});
    case FieldKind::Colour: return r.Get(ColourField{f.offset});
    case FieldKind::Text:
    case FieldKind::Layer: break;
  }
  return 0;
}

TextField LayerNameField(std::size_t offset) { return {offset + 1, CadLayer::NameCapacity}; }

// Printable ASCII stays as it is; quotes, backslashes, control characters and every byte
// above 0x7F are escaped, so a hostile file cannot send terminal controls and no encoding is
// assumed.
void AppendQuoted(std::string_view text, std::string& out) {
  out += '"';
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += ch;
    }
  }
  out += '"';
}

void AppendLine(std::string_view name, std::string_view value, std::string& out) {
  out += name;
  out += " = ";
  out += value;
  out += '\n';
}

}  // namespace

SettingsField BoolEntry(std::string name, BoolField f, bool initial) {
  return Numeric(std::move(name), FieldKind::Bool, f.offset, initial ? 1 : 0, 0, 1);
}

SettingsField ByteEntry(std::string name, U8Field f, int initial, int low, int high) {
  return Numeric(std::move(name), FieldKind::U8, f.offset, initial, low, high);
}

SettingsField Int16Entry(std::string name, I16Field f, int initial, int low, int high) {
  return Numeric(std::move(name), FieldKind::I16, f.offset, initial, low, high);
}

SettingsField Word16Entry(std::string name, U16Field f, int initial, int low, int high) {
  return Numeric(std::move(name), FieldKind::U16, f.offset, initial, low, high);
}

SettingsField Int32Entry(std::string name, I32Field f, std::int32_t initial, std::int32_t low,
                         std::int32_t high) {
  return Numeric(std::move(name), FieldKind::I32, f.offset, initial, low, high);
}

SettingsField RealEntry(std::string name, F64Field f, double initial, double low, double high) {
  return Numeric(std::move(name), FieldKind::F64, f.offset, initial, low, high);
}

SettingsField ColourEntry(std::string name, ColourField f, std::uint32_t initial) {
  return Numeric(std::move(name), FieldKind::Colour, f.offset, initial, 0, 0xFFFFFFFFu);
}

SettingsField TextEntry(std::string name, TextField f, std::string_view initial) {
  SettingsField e = Numeric(std::move(name), FieldKind::Text, f.offset, 0, 0, 0);
  e.capacity = f.capacity;
  e.text = std::string(initial.substr(0, f.capacity));
  return e;
}

SettingsField LayerEntry(std::string name, LayerField f, std::string_view layerName, int number) {
  SettingsField e = Numeric(std::move(name), FieldKind::Layer, f.offset, number, 0, 0);
  e.capacity = CadLayer::NameCapacity;
  e.text = std::string(layerName.substr(0, CadLayer::NameCapacity));
  return e;
}

SettingsField WidthEntry(std::string name, I32Field f, std::int32_t initial) {
  return Int32Entry(std::move(name), f, initial, 0, MaxWidthIndex);
}

void ResetField(const SettingsField& f, SettingsRecord& r) {
  switch (f.kind) {
    case FieldKind::Bool:
    case FieldKind::U8: r.Set(U8Field{f.offset}, static_cast<std::uint8_t>(f.initial)); break;
    case FieldKind::I16: r.Set(I16Field{f.offset}, static_cast<std::int16_t>(f.initial)); break;
    case FieldKind::U16: r.Set(U16Field{f.offset}, static_cast<std::uint16_t>(f.initial)); break;
    case FieldKind::I32: r.Set(I32Field{f.offset}, static_cast<std::int32_t>(f.initial)); break;
    case FieldKind::F64: r.Set(F64Field{f.offset}, f.initial); break;
    case FieldKind::Colour: r.Set(ColourField{f.offset}, static_cast<std::uint32_t>(f.initial)); break;
    case FieldKind::Text: r.Set(TextField{f.offset, f.capacity}, f.text); break;
    case FieldKind::Layer: {
      CadLayer layer;
      layer.LayerName = f.text;
      layer.BatchNumber = static_cast<std::uint8_t>(f.initial);
      r.Set(LayerField{f.offset}, layer);
      break;
    }
  }
}

void ApplyDefaults(const SettingsTable& table, SettingsRecord& record) {
  for (const auto& f : table) ResetField(f, record);
}

namespace {

bool UnsetLayer(const SettingsField& f, const SettingsRecord& r) {
  if (!f.zeroIsUnset) return false;
  const ByteSpan span = ValidatedBytes(f);
  for (std::size_t i = span.offset; i < span.offset + span.size; ++i)
    if (r.bytes[i] != 0) return false;
  return true;
}

}  // namespace

bool IsAccepted(const SettingsField& f, const SettingsRecord& r) {
  switch (f.kind) {
    case FieldKind::Text: return r.bytes[f.offset] <= f.capacity;
    case FieldKind::Layer: return r.bytes[f.offset + 1] <= CadLayer::NameCapacity && !UnsetLayer(f, r);
    case FieldKind::Colour: return true;
    default: break;
  }
  const double v = NumericValue(f, r);
  return std::isfinite(v) && v >= f.low && v <= f.high;
}

int ValidateFields(const SettingsTable& table, SettingsRecord& record) {
  int changed = 0;
  for (const auto& f : table) {
    if (IsAccepted(f, record)) continue;
    ++changed;
    // A text keeps its characters: only the length byte that overruns the field is lowered.
    if (f.kind == FieldKind::Text)
      record.ClampLength(TextField{f.offset, f.capacity});
    else if (f.kind == FieldKind::Layer && !UnsetLayer(f, record))
      record.ClampLength(LayerNameField(f.offset));
    else
      ResetField(f, record);
  }
  return changed;
}

ByteSpan ValidatedBytes(const SettingsField& f) {
  switch (f.kind) {
    case FieldKind::Bool:
    case FieldKind::U8: return {f.offset, 1};
    case FieldKind::I16:
    case FieldKind::U16: return {f.offset, 2};
    case FieldKind::I32:
    case FieldKind::Colour: return {f.offset, 4};
    case FieldKind::F64: return {f.offset, 8};
    case FieldKind::Text: return {f.offset, 1};
    case FieldKind::Layer: return f.zeroIsUnset ? ByteSpan{f.offset, 16} : ByteSpan{f.offset + 1, 1};
  }
  return {f.offset, 0};
}

std::string FormatSettingsReal(double v) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, result.ptr);
}

void AppendFieldLines(const SettingsField& f, const SettingsRecord& r, std::string& out) {
  switch (f.kind) {
    case FieldKind::Text: {
      std::string value;
      AppendQuoted(r.Get(TextField{f.offset, f.capacity}), value);
      AppendLine(f.name, value, out);
      return;
    }
    case FieldKind::Layer: {
      const CadLayer layer = r.Get(LayerField{f.offset});
      std::string value;
      AppendQuoted(layer.LayerName, value);
      AppendLine(f.name + ".LayerName", value, out);
      AppendLine(f.name + ".AcadColour", std::to_string(layer.AcadColour), out);
      AppendLine(f.name + ".BatchColour", std::to_string(layer.BatchColour), out);
      AppendLine(f.name + ".BatchNumber", std::to_string(layer.BatchNumber), out);
      return;
    }
    case FieldKind::Colour: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(r.Get(ColourField{f.offset})));
      AppendLine(f.name, buf, out);
      return;
    }
    case FieldKind::F64: AppendLine(f.name, FormatSettingsReal(r.Get(F64Field{f.offset})), out); return;
    default: break;
  }
  AppendLine(f.name, std::to_string(static_cast<long long>(NumericValue(f, r))), out);
}

}  // namespace terravue
