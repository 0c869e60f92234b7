#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "console_port.h"

namespace terravue::cli {

// The command line after the verb: positional arguments and the options every verb shares.
struct Args {
  std::vector<std::string> positional;
  std::vector<std::string> flags;        // options without a value, e.g. "--defaults"
  std::vector<std::string> all;          // every argument after the verb, in order
  std::optional<std::string> output;     // -o FILE
  std::optional<std::string> settings;   // --settings FILE
  YesNoPolicy policy = YesNoPolicy::No;  // --yes / --no

  bool Has(const std::string& flag) const;
};

struct Context {
  std::ostream& out;
  std::ostream& err;
  ConsolePort& port;
};

// Exit codes: 0 success, 1 the work failed (the reason was printed), 2 usage error.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// A verb of the command line: its name, what runs it and its lines of the usage text.
struct Verb {
  std::string_view name;
  int (*run)(const Args&, Context&);
  std::string_view usage;
};

// Runs the verb named by argv[1] with the arguments after it; the exit code.
int RunVerb(int argc, char** argv, std::span<const Verb> verbs);

int RunSettings(const Args& args, Context& cx);
int RunInfo(const Args& args, Context& cx);
int RunSample(const Args& args, Context& cx);
int RunImport(const Args& args, Context& cx);
int RunExport(const Args& args, Context& cx);
int RunLandXmlImport(const Args& args, Context& cx);
int RunLandXmlExport(const Args& args, Context& cx);
int RunTriangulate(const Args& args, Context& cx);
int RunTriangles(const Args& args, Context& cx);
int RunPairs(const Args& args, Context& cx);
int RunEdit(const Args& args, Context& cx);
int RunVerify(const Args& args, Context& cx);
int RunRemove(const Args& args, Context& cx);
int RunVolume(const Args& args, Context& cx);
int RunMap(const Args& args, Context& cx);
int RunDxf(const Args& args, Context& cx);
int RunAnalyze(const Args& args, Context& cx);
int RunList(const Args& args, Context& cx);
int RunTransform(const Args& args, Context& cx);
int RunAuto(const Args& args, Context& cx);

}  // namespace terravue::cli
