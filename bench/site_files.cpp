// Writes a generated survey site as the ASCII files a surveyor imports: points (X Y Z), the
// border (point numbers along the ring) and the breaklines (two point numbers a line). The
// whole-job timings run the batch tool on these.
//
//   site_files N SEED NAME [--raise FEET]
//
// writes NAME.ASC, NAME.BDR and NAME.BRK for the concave-border site of N points; --raise lifts
// the ground by a smooth mound of up to FEET, so that two sites compare as existing and
// proposed.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "support/synthetic_sites.h"

namespace {

using terravue::testing::SiteEasting;
using terravue::testing::SiteNorthing;

bool Write(const std::string& name, const std::string& text) {
  std::ofstream out(name, std::ios::binary);
  out << text;
  out.close();
  if (!out) std::cerr << "site_files: cannot write " << name << '\n';
  return static_cast<bool>(out);
}

std::string Line(const char* format, auto... values) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 6 && std::string_view(argv[4]) == "--raise")) {
    std::cerr << "usage: site_files N SEED NAME [--raise FEET]\n";
    return 2;
  }
  const int n = std::atoi(argv[1]);
  const auto seed = std::strtoull(argv[2], nullptr, 10);
  const std::string name = argv[3];
  const double raise = argc == 6 ? std::atof(argv[5]) : 0;
  if (n < 12 || n > 32763) {
    std::cerr << "site_files: N must be from 12 to 32763\n";
    return 2;
  }
  const auto site = terravue::testing::ConcaveBorderSite(n, seed);

  std::string points, border, breaklines;
  const double radius = std::sqrt(n * 25.0 / 3.141592653589793);
  for (int i = 0; i < site.PointCount(); ++i) {
    const double dx = site.x[i] - SiteEasting, dy = site.y[i] - SiteNorthing;
    const double mound = raise * std::exp(-(dx * dx + dy * dy) / (0.25 * radius * radius));
    points += Line("%.3f %.3f %.3f\r\n", site.x[i], site.y[i], std::round((site.z[i] + mound) * 1000) / 1000);
  }
  if (!site.borderNext.empty()) {
    int p = 1;
    do {
      border += Line("%d\r\n", p);
      p = site.borderNext[static_cast<std::size_t>(p - 1)];
    } while (p != 1 && p != 0);
  }
  for (const auto& line : site.breaklines) breaklines += Line("%d %d\r\n", line.From, line.To);
  return Write(name + ".ASC", points) && Write(name + ".BDR", border) && Write(name + ".BRK", breaklines) ? 0 : 1;
}
