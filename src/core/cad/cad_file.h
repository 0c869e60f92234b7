#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// What the two CAD writers share: numbers in the files, texts cleaned for them, and the file
// written beside its target and renamed over it at the end.
namespace terravue::cad {

// Fixed notation with `decimals` decimals, always with a decimal point whatever the locale; a
// value that rounds to zero is written without a minus sign.
std::string CadReal(double value, int decimals = 6);

// A map text (Latin-1, one byte per character) as the CAD files take it: control characters
// (C0, DEL and C1) are dropped; the other Latin-1 characters are those of the files' Western
// code page and stay as they are.
std::string CadText(std::string_view latin1);

// The CAD file being written: created under a temporary name beside the target, renamed over
// the target once written whole. Until then an existing file of that name stays as it was.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // False when the temporary file cannot be created.
  bool Create(const std::filesystem::path& target);
  bool IsOpen() const { return out_.is_open(); }
  std::ofstream& Stream() { return out_; }
  void Write(std::string_view text) { out_.write(text.data(), static_cast<std::streamsize>(text.size())); }
  // Closes and renames; false (and the temporary file removed) when anything failed.
  bool Commit();
  // Closes and removes the temporary file.
  void Discard();

  const std::filesystem::path& Target() const { return target_; }

 private:
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream out_;
};

}  // namespace terravue::cad
