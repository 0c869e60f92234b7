// The point text editor's table at 1000, 8000 and 32763 points: filling the view's sorted model,
// one cell edit, one inserted row, and a sort by elevation.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSortFilterProxyModel>

#include "app/settings_file.h"
#include "common/quiet_port.h"
#include "common/session.h"
#include "editors/text_editor/point_table_model.h"
#include "exchange/point_table.h"
#include "model/surface_model.h"

namespace {

using namespace terravue;

struct Table {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{model, settings, port, {}};
  exchange::PointTableEditor editor{session};

  explicit Table(int points) {
    model.AllocateStore();
    for (int k = 1; k <= points; ++k) {
      model.PointX[k] = 500000 + 3.7 * (k % 181);
      model.PointY[k] = 4000000 + 2.9 * (k / 181);
      model.PointZ[k] = 100 + (k * 7919 % 1000) * 0.01;
      model.SetPointLabel(static_cast<PointIndex>(k), std::to_string(k));
    }
    model.PointCount = static_cast<std::uint16_t>(points);
    model.ComputeExtents();
    editor.Open(0, 0);
  }
};

// The view asks the sorted model for every row's number on its first showing.
void BM_FillSorted(benchmark::State& state) {
  Table t(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    gui::PointTableModel source(t.editor);
    QSortFilterProxyModel proxy;
    proxy.setSortRole(gui::PointTableModel::SortRole);
    proxy.setSourceModel(&source);
    proxy.sort(gui::PointTableModel::NumberColumn);
    benchmark::DoNotOptimize(proxy.index(proxy.rowCount() - 1, 0).data());
  }
}

void BM_EditOneCell(benchmark::State& state) {
  Table t(static_cast<int>(state.range(0)));
  gui::PointTableModel source(t.editor);
  QSortFilterProxyModel proxy;
  proxy.setSortRole(gui::PointTableModel::SortRole);
  proxy.setSourceModel(&source);
  proxy.sort(gui::PointTableModel::NumberColumn);
  const QModelIndex cell = proxy.index(proxy.rowCount() / 2, gui::PointTableModel::ElevationColumn);
  bool flip = false;
  for (auto _ : state) {
    proxy.setData(cell, flip ? QStringLiteral("101.5") : QStringLiteral("102.5"));
    flip = !flip;
  }
}

void BM_InsertAndDeleteRow(benchmark::State& state) {
  Table t(static_cast<int>(state.range(0)) - 1);
  gui::PointTableModel source(t.editor);
  QSortFilterProxyModel proxy;
  proxy.setSortRole(gui::PointTableModel::SortRole);
  proxy.setSourceModel(&source);
  proxy.sort(gui::PointTableModel::NumberColumn);
  const PointIndex middle = static_cast<PointIndex>(t.model.PointCount / 2);
  for (auto _ : state) {
    source.Insert(middle);
    source.Delete(middle);
  }
}

void BM_SortByElevation(benchmark::State& state) {
  Table t(static_cast<int>(state.range(0)));
  gui::PointTableModel source(t.editor);
  QSortFilterProxyModel proxy;
  proxy.setSortRole(gui::PointTableModel::SortRole);
  proxy.setSourceModel(&source);
  bool down = false;
  for (auto _ : state) {
    proxy.sort(gui::PointTableModel::ElevationColumn, down ? Qt::DescendingOrder : Qt::AscendingOrder);
    down = !down;
  }
}

BENCHMARK(BM_FillSorted)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditOneCell)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertAndDeleteRow)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByElevation)->Arg(1000)->Arg(8000)->Arg(32763)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
