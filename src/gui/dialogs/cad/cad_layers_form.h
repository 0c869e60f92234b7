#pragma once

#include <vector>

#include <QDialog>

#include "cad/cad_layers.h"

class QLabel;
class QTableWidget;

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// "Set CAD Layer Information": the CAD layer table in one of its two modes. Names mode shows
// the layer names and AutoCAD colours of all 22 layers, numbers mode the batch layer numbers
// and colours of all but "3D Faces". Number cells out of their range are refused as they are
// typed, with the range error.
class TCADLayersForm : public QDialog {
  Q_OBJECT

 public:
  TCADLayersForm(UserPort& port, cad::CadLayerMode mode, std::vector<cad::CadLayerRow> rows,
                 QWidget* parent = nullptr);

  // The rows as the table holds them now.
  std::vector<cad::CadLayerRow> Rows() const;
  QTableWidget* CADTable() const { return table_; }

 private:
  void Fill();
  void CellChanged(int row, int column);
  void ActiveCellChanged(int row, int column, int previousRow, int previousColumn);
  void Highlight(int row, int column, bool on);

  UserPort& port_;
  cad::CadLayerMode mode_;
  std::vector<cad::CadLayerRow> rows_;
  QLabel* panel_ = nullptr;
  QTableWidget* table_ = nullptr;
  bool filling_ = false;
};

// Opens the dialog on the layer records of the settings; OK stores the rows. True on OK.
bool EditCadLayers(QWidget* parent, UserPort& port, SettingsRecord& settings, cad::CadLayerMode mode);

}  // namespace terravue::gui
