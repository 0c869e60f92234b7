#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace terravue {
class SettingsRecord;
struct Session;
}  // namespace terravue

namespace terravue::gui {

// After an unhandled error, before the program ends: when the model holds points that are not
// saved, asks whether to save them to a new file and writes the file chosen by `chooseFile`
// (an empty name gives up). A failed write offers the choice again. True when a file was saved.
bool OfferRescueSave(Session& session, const std::function<QString()>& chooseFile);

// The save dialog for that file: model file filters, starting in the data directory.
QString ChooseRescueFile(QWidget* parent, const SettingsRecord& settings);

}  // namespace terravue::gui
