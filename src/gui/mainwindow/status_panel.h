#pragma once

#include <QWidget>

class QLabel;
class QSplitter;

namespace terravue::gui {

// The three status lines under the map: the cursor panel (cursor line and command line beside
// each other, split by a splitter) and the mouse line at the bottom, which also shows menu and
// button hints while the pointer rests on them.
class StatusPanel : public QWidget {
  Q_OBJECT

 public:
  explicit StatusPanel(QWidget* parent = nullptr);

  QLabel& MouseLine() { return *mouseLine_; }
  QLabel& CursorLine() { return *cursorLine_; }
  QLabel& CommandLine() { return *commandLine_; }

  void SetMouseText(const QString& text);
  // A hint replaces the mouse text while it is not empty; an empty one brings the text back.
  void ShowHint(const QString& hint);
  // The cursor line, its width following the text with `margin` pixels beside it.
  void SetCursorText(const QString& text, int margin);
  void SetCommandText(const QString& text);
  // The cursor line's width minus its text's, as the splitter left it.
  int CursorMargin() const;

 signals:
  // The user moved the splitter beside the cursor line.
  void CursorMarginChanged(int margin);

 private:
  int TextWidth() const;

  QLabel* mouseLine_;
  QLabel* cursorLine_;
  QLabel* commandLine_;
  QSplitter* cursorPanel_;
  QString mouseText_;
  bool hinting_ = false;
};

}  // namespace terravue::gui
