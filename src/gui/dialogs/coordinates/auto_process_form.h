#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "exchange/auto_process.h"
#include "exchange/import_commands.h"

namespace Ui {
class TAutoProcessForm;
}

namespace terravue {
struct Session;
}

namespace terravue::gui {

// "Automatic Processing": the three stored import settings, changed through the import dialog,
// and which optional files to load. Continue hands back the run's choices; the caller runs it.
class TAutoProcessForm : public QDialog {
  Q_OBJECT

 public:
  TAutoProcessForm(Session& session, bool append, exchange::ImportDialogFn importDialog, std::function<void()> help,
                   QWidget* parent = nullptr);
  ~TAutoProcessForm() override;

  exchange::AutoProcessRun Run() const { return run_; }

 private:
  void FillGroups();
  void CBLoadBorderClick(bool checked);
  void CBLoadBreaklinesClick(bool checked);
  void ChangeSettings(exchange::AsciiKind kind);

  std::unique_ptr<Ui::TAutoProcessForm> ui_;
  Session& session_;
  exchange::ImportDialogFn importDialog_;
  exchange::AutoProcessRun run_;
};

}  // namespace terravue::gui
