#pragma once

#include <ctime>
#include <filesystem>
#include <functional>

namespace terravue {

class SettingsRecord;
class UserPort;
namespace model {
class SurfaceModel;
}

// The local date and time, for report headers.
std::tm LocalTimeNow();

// What one run of the program works on: the surface model, the settings record, the user, and
// the private folder for report work files. Commands take it by reference.
struct Session {
  model::SurfaceModel& model;
  SettingsRecord& settings;
  UserPort& port;
  std::filesystem::path workDirectory;
  // Where report headers take their date and time from; tests fix it.
  std::function<std::tm()> clock = LocalTimeNow;
};

}  // namespace terravue
