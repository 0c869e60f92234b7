#include "dialogs/cad/cad_data_dir_form.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "cad/cad_layers.h"
#include "device/cad_settings.h"

namespace terravue::gui {

TCADDataDirForm::TCADDataDirForm(const QString& directory, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TCADDataDirForm"));
  setWindowTitle(FromUtf8(msg::CadDataDirCaption));
  auto* layout = new QVBoxLayout(this);

  path_ = new QComboBox(this);
  path_->setObjectName(QStringLiteral("ComboPath"));
  path_->setEditable(true);
  path_->setInsertPolicy(QComboBox::NoInsert);
  layout->addWidget(path_);

  folders_ = new QFileSystemModel(this);
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setRootPath(QDir::rootPath());
  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("TreeFolders"));
  tree_->setModel(folders_);
  for (int column = 1; column < folders_->columnCount(); ++column) tree_->hideColumn(column);
  tree_->header()->hide();
  layout->addWidget(tree_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ButtonCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
    if (index.isValid()) path_->setEditText(QDir::toNativeSeparators(folders_->filePath(index)));
  });
  connect(path_->lineEdit(), &QLineEdit::editingFinished, this, [this] { ShowInTree(path_->currentText()); });

  path_->setEditText(directory);
  ShowInTree(directory);
  resize(420, 480);
}

void TCADDataDirForm::ShowInTree(const QString& path) {
  const QModelIndex index = folders_->index(QDir::fromNativeSeparators(path));
  if (!index.isValid()) return;
  const QString typed = path_->currentText();
  tree_->setCurrentIndex(index);
  tree_->scrollTo(index);
  // The box keeps what was typed (its own delimiter and case), not the tree's spelling.
  path_->setEditText(typed);
}

QString TCADDataDirForm::Directory() const { return path_->currentText().trimmed(); }

bool ChooseCadDataDirectory(QWidget* parent, UserPort& port, SettingsRecord& settings) {
  TCADDataDirForm form(FromUtf8(settings.Get(device::CadOutput::CadDataDirectory)), parent);
  if (form.exec() != QDialog::Accepted || form.Directory().isEmpty()) return false;
  return cad::StoreCadDataDirectory(port, settings, form.Directory().toStdString());
}

}  // namespace terravue::gui
