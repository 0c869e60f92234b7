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

// The help file that answers a context number: the Surface Analyzer's own files for 1000..1199,
// the main help for everything else.
std::string_view HelpFileForContext(int context);

// The help window: shows the shipped HTML files and follows their links, never handing a link
// to an outside browser.
class HelpViewer : public QWidget {
  Q_OBJECT

 public:
  HelpViewer(UserPort& port, const QString& programDirectory, QWidget* parent = nullptr);

  // Opens "<programDirectory><baseName>.html" at its top; shows an error when it is missing.
  bool ShowHelpFile(std::string_view baseName);
  bool ShowContext(int context) { return ShowHelpFile(HelpFileForContext(context)); }

  QString CurrentFile() const;

 private:
  UserPort& port_;
  QString directory_;
  QTextBrowser* browser_;
};

}  // namespace terravue::gui
