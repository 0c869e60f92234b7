#pragma once

#include <string_view>

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace terravue {
class UserPort;
}

namespace terravue::gui {

// Base names of the help files shipped beside the program ("<name>.html").
namespace help {
inline constexpr std::string_view Main = "Terravue";
inline constexpr std::string_view HowTo = "TVU_HOWTO";
inline constexpr std::string_view Tutorial = "TVU_TUTORIAL";
inline constexpr std::string_view Breaklines = "TERRAVUE BREAKLINES";
inline constexpr std::string_view Analyzer = "SURVEXA";
inline constexpr std::string_view AnalyzerTutorial = "SURVEXA TUTORIAL";
}  // namespace help

// The help contexts of the dialogs whose Help button opens a page of its own.
inline constexpr int ImportHelpContext = 320;
inline constexpr int ExportHelpContext = 330;
inline constexpr int PrintSetupHelpContext = 340;

// The help file that answers a context number: the Surface Analyzer's own files for 1000..1199,
// the How To pages for the dialogs above, the main help for everything else.
std::string_view HelpFileForContext(int context);
// The place in that file ("import", ...); empty for its top.
std::string_view HelpAnchorForContext(int context);

// The help window: shows the shipped HTML files and follows their links, never handing a link
// to an outside browser. Asked for while a modal dialog is up (its Help button), it comes in
// front of the dialog and stays usable beside it; it stays open when the dialog closes.
class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  HelpViewer(UserPort& port, const QString& programDirectory, QWidget* parent = nullptr);

  // Opens "<programDirectory><baseName>.html" at its top (or at `anchor`); shows an error when
  // it is missing.
  bool ShowHelpFile(std::string_view baseName, std::string_view anchor = {});
  bool ShowContext(int context) { return ShowHelpFile(HelpFileForContext(context), HelpAnchorForContext(context)); }

  QString CurrentFile() const;
  QString CurrentAnchor() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Over a modal dialog every other window is blocked: the viewer becomes a window of that
  // dialog while it is up, and a window of its own again when the dialog goes.
  void ComeForward();
  void LeaveDialog();

  UserPort& port_;
  QWidget* dialog_ = nullptr;
  QString directory_;
  QTextBrowser* browser_;
};

}  // namespace terravue::gui
