#include "controllers/help_controller.h"

#include "commands/command_table.h"
#include "dialogs/about_form.h"
#include "help/help_viewer.h"
#include "mainwindow/window_context.h"

namespace terravue::gui {

using C = app::CommandId;

HelpController::HelpController(WindowContext& context, HelpViewer& help, QObject* parent)
    : QObject(parent), c_(context), help_(help) {}

void HelpController::RegisterCommands() {
  CommandTable& t = c_.commands;
  const std::pair<C, std::string_view> files[] = {
      {C::HelpContents, help::Main},      {C::HelpHowTo, help::HowTo},
      {C::HelpTutorials, help::Tutorial}, {C::HelpBreaklines, help::Breaklines},
      {C::HelpAnalyzer, help::Analyzer},  {C::HelpAnalyzerTutorial, help::AnalyzerTutorial},
  };
  for (const auto& [id, file] : files) t.SetHandler(id, [this, file] { help_.ShowHelpFile(file); });
  t.SetHandler(C::About, [this] {
    TAboutForm about(c_.session.settings, &c_.window);
    about.exec();
  });
}

}  // namespace terravue::gui
