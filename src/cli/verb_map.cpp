// terravue-cli map: only this verb paints, and painting needs Qt's GUI libraries, which take
// longer to load than most verbs take to run. So the drawing lives in a program of its own
// beside this one, terravue-cli-map, which this verb becomes (same arguments, output and exit
// code); every other verb starts without Qt.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "verbs.h"

namespace terravue::cli {

#ifdef TERRAVUE_HAVE_RENDER
namespace {

constexpr const char* PainterName = "terravue-cli-map";

// The painter is installed and built beside the batch tool.
std::filesystem::path PainterPath() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path(PainterName) : self.parent_path() / PainterName;
}

}  // namespace
#endif

int RunMap(const Args& args, Context& cx) {
#ifndef TERRAVUE_HAVE_RENDER
  (void)args;
  cx.err << "terravue-cli: map: this build draws no sheets (configure with TERRAVUE_BUILD_GUI=ON)\n";
  return ExitFailed;
#else
  const std::string painter = PainterPath().string();
  std::vector<std::string> words{painter, "map"};
  words.insert(words.end(), args.all.begin(), args.all.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  cx.out.flush();
  cx.err.flush();
  execv(painter.c_str(), argv.data());
  const int error = errno;
  cx.err << "terravue-cli: map: cannot start the sheet painter '" << painter << "'\n"
         << painter << ": " << std::strerror(error) << '\n';
  return ExitFailed;
#endif
}

}  // namespace terravue::cli
