// terravue-cli-map: the sheet painter of the batch tool. `terravue-cli map ...` runs it in its
// own place (same arguments, same output, same exit code), so that the other verbs start without
// Qt's libraries.

#include "map/draw_map.h"
#include "verbs.h"

int main(int argc, char** argv) {
  using namespace terravue::cli;
  constexpr Verb kPainter[] = {{"map", DrawMap, "map MODEL (--pdf OUT.pdf | --png OUT.png) ...  (see terravue-cli --help)"}};
  return RunVerb(argc, argv, kPainter);
}
