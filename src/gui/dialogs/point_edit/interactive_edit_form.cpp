#include "dialogs/point_edit/interactive_edit_form.h"

#include <QFontDatabase>
#include <QKeyEvent>

#include "app/qt_text.h"
#include "ui_interactive_edit_form.h"

namespace terravue::gui {

using tin::PairChoice;

TInteractiveEditForm::TInteractiveEditForm(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TInteractiveEditForm>()) {
  ui_->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  // The lines are columns of figures: they line up only in a fixed-pitch font.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (QLabel* line : {ui_->LabelHeader, ui_->LabelFirst, ui_->LabelSecond, ui_->LabelDiff}) {
    line->setFont(fixed);
    line->setTextFormat(Qt::PlainText);
  }
  const std::pair<QPushButton*, PairChoice> buttons[] = {{ui_->ButtonFirst, PairChoice::First},
                                                         {ui_->ButtonSecond, PairChoice::Second},
                                                         {ui_->ButtonBoth, PairChoice::Both},
                                                         {ui_->ButtonNeither, PairChoice::Neither},
                                                         {ui_->ButtonCancelEdit, PairChoice::CancelInteractive}};
  for (const auto& [button, choice] : buttons)
    connect(button, &QPushButton::clicked, this, [this, choice = choice] { Finish(choice); });
}

TInteractiveEditForm::~TInteractiveEditForm() = default;

PairChoice TInteractiveEditForm::Choose(const tin::PairQuestion& q) {
  Ui::TInteractiveEditForm& u = *ui_;
  u.LabelHeader->setText(FromLatin1(q.header));
  u.LabelFirst->setText(FromLatin1(q.first));
  u.LabelSecond->setText(FromLatin1(q.second));
  u.LabelDiff->setText(FromLatin1(q.difference));
  QPushButton* suggested = q.suggested == PairChoice::First    ? u.ButtonFirst
                           : q.suggested == PairChoice::Second ? u.ButtonSecond
                                                               : u.ButtonNeither;
  for (QPushButton* b : {u.ButtonFirst, u.ButtonSecond, u.ButtonBoth, u.ButtonNeither, u.ButtonCancelEdit})
    b->setDefault(b == suggested);
  suggested->setFocus();
  choice_ = PairChoice::Neither;
  exec();
  return choice_;
}

void TInteractiveEditForm::Finish(PairChoice choice) {
  choice_ = choice;
  if (choice == PairChoice::Neither || choice == PairChoice::CancelInteractive)
    reject();
  else
    accept();
}

void TInteractiveEditForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Finish(PairChoice::CancelInteractive);
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace terravue::gui
