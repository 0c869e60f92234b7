#include "dialogs/welcome_window.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "ui_welcome_window.h"

namespace terravue::gui {

WelcomeWindow::WelcomeWindow(UserPort& port, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::WelcomeWindow>()), port_(port) {
  ui_->setupUi(this);
  const QString product = FromUtf8(msg::ProductName);
  setWindowTitle(FromUtf8(msg::WelcomeTitlePrefix) + product + QLatin1Char('!'));
  ui_->LabelProduct->setText(product);
  QFont big = ui_->LabelProduct->font();
  big.setPointSizeF(big.pointSizeF() * 2.5);
  big.setBold(true);
  ui_->LabelProduct->setFont(big);
  ui_->LabelVersion->setText(FromUtf8(msg::WelcomeVersionPrefix) + FromUtf8(msg::VersionText));
  ui_->ButtonStart->setText(FromUtf8(msg::WelcomeStartPrefix) + product);
  ui_->ButtonWhatNext->setText(FromUtf8(msg::WelcomeWhatNext));
  ui_->CBDoNotShow->setText(FromUtf8(msg::WelcomeDoNotShow));
  // The walkthrough of a first job, in front of this window; the bare note only when there is
  // no help to open.
  connect(ui_->ButtonWhatNext, &QPushButton::clicked, this, [this] {
    if (whatNext)
      whatNext();
    else
      port_.ShowWarning(msg::WelcomeWhatNextInfo);
  });
}

WelcomeWindow::~WelcomeWindow() = default;

bool WelcomeWindow::DoNotShowAgain() const { return ui_->CBDoNotShow->isChecked(); }

}  // namespace terravue::gui
