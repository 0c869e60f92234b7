#pragma once

#include <cstdint>
#include <string>

#include <QHash>
#include <QObject>

#include "mapping/map_options_edit.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls every option dialog shares: colour panels that open the colour dialog, width
// lists, and numeric fields cleaned when they are left.
namespace terravue::gui {

// The width list "1" ... "50" with `index` selected (held inside the list).
void FillWidthList(QComboBox* list, int index);

// A numeric field: the text it held when entered is remembered; when left, what was typed is
// filtered and normalised, or the remembered text put back when it cannot be read.
void BindNumberField(QLineEdit* field, mapping::NumberKind kind, const std::string& text);

// Colour panels: each shows its colour and opens the colour dialog when clicked, with the
// custom colours loaded before and kept after OK.
class ColourPanels : public QObject {
  Q_OBJECT

 public:
  ColourPanels(std::string customColours, QWidget* dialog);

  void Add(QPushButton* panel, std::uint32_t colour);
  std::uint32_t Value(QPushButton* panel) const { return colours_.value(panel); }
  void SetValue(QPushButton* panel, std::uint32_t colour);
  // The custom colours as the settings keep them.
  const std::string& CustomColours() const { return custom_; }

 private:
  void Pick(QPushButton* panel);

  QWidget* dialog_;
  QHash<QPushButton*, std::uint32_t> colours_;
  std::string custom_;
};

}  // namespace terravue::gui
