// What every run of the batch tool does around its verb: the shared options, the console user,
// and a message instead of an escaped exception.

#include <algorithm>
#include <csignal>
#include <exception>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

#include <unistd.h>

#include "verbs.h"

namespace terravue::cli {
namespace {

void PrintUsage(std::ostream& os, std::span<const Verb> verbs) {
  os << "usage: terravue-cli VERB ARGS [--settings FILE] [--yes|--no] [-o FILE]\n\nverbs:\n";
  for (const auto& verb : verbs) os << "  " << verb.usage << '\n';
}

// Options with a value take the next argument; anything else starting with "--" is a flag.
bool ParseArgs(std::span<char*> argv, Args& args, std::ostream& err) {
  args.all.assign(argv.begin(), argv.end());
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string_view a = argv[i];
    auto value = [&](std::string_view name) -> const char* {
      if (i + 1 >= argv.size()) {
        err << "terravue-cli: " << name << " needs a value\n";
        return nullptr;
      }
      return argv[++i];
    };
    if (a == "-o" || a == "--output") {
      const char* v = value(a);
      if (!v) return false;
      args.output = v;
    } else if (a == "--settings") {
      const char* v = value(a);
      if (!v) return false;
      args.settings = v;
    } else if (a == "--yes") {
      args.policy = YesNoPolicy::Yes;
    } else if (a == "--no") {
      args.policy = YesNoPolicy::No;
    } else if (a.size() > 2 && a.starts_with("--")) {
      args.flags.emplace_back(a);
    } else {
      args.positional.emplace_back(a);
    }
  }
  return true;
}

}  // namespace

bool Args::Has(const std::string& flag) const {
  return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

int RunVerb(int argc, char** argv, std::span<const Verb> verbs) {
  std::ios::sync_with_stdio(false);
  // Past a file size limit a write then fails like one on a full disk, and is reported as
  // such, instead of the signal ending the run without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  if (argc < 2 || std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h") {
    PrintUsage(argc < 2 ? std::cerr : std::cout, verbs);
    return argc < 2 ? ExitUsage : ExitOk;
  }
  const std::string_view name = argv[1];
  const auto verb = std::find_if(verbs.begin(), verbs.end(), [&](const Verb& v) { return v.name == name; });
  if (verb == verbs.end()) {
    std::cerr << "terravue-cli: unknown verb '" << name << "'\n";
    PrintUsage(std::cerr, verbs);
    return ExitUsage;
  }
  Args args;
  if (!ParseArgs(std::span<char*>(argv + 2, static_cast<std::size_t>(argc - 2)), args, std::cerr))
    return ExitUsage;
  ConsolePort port(std::cout, std::cerr, args.policy, isatty(STDERR_FILENO) == 1);
  Context cx{std::cout, std::cerr, port};
  try {
    return verb->run(args, cx);
  } catch (const std::exception& e) {
    std::cerr << "terravue-cli: " << e.what() << '\n';
    return ExitFailed;
  }
}

}  // namespace terravue::cli
