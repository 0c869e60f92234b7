#include "exchange/atomic_write.h"

#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace terravue::exchange {
namespace {

namespace fs = std::filesystem;

std::string TemporaryNameSuffix() {
  std::random_device device;
  std::uniform_int_distribution<unsigned> digit(0, 15);
  std::string suffix = ".tmp-";
  for (int i = 0; i < 8; ++i) suffix += "0123456789abcdef"[digit(device)];
  return suffix;
}

}  // namespace

bool WriteFileAtomically(const fs::path& file, std::string_view text) {
  std::error_code ec;
  if (fs::is_directory(file, ec)) return false;
  fs::path temporary;
  std::FILE* out = nullptr;
  for (int attempt = 0; attempt < 8 && !out; ++attempt) {
    temporary = file;
    temporary += TemporaryNameSuffix();
    out = std::fopen(temporary.c_str(), "wbx");
  }
  if (!out) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  ok = std::fflush(out) == 0 && ok;
  ok = std::fclose(out) == 0 && ok;
  if (ok) {
    // A replaced file keeps its permissions.
    const auto previous = fs::status(file, ec);
    if (!ec && fs::is_regular_file(previous)) fs::permissions(temporary, previous.permissions(), ec);
    fs::rename(temporary, file, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temporary, ec);
  return ok;
}

}  // namespace terravue::exchange
