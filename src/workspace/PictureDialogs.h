#pragma once
// The open-picture dialog (with a preview of the chosen file) and the save dialog.
//
// Filters are written as pairs "Description|patterns|Description|patterns", patterns
// separated by ';', and an entry is chosen by its 1-based index.
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/Dialogs.h"

class QWidget;

namespace pixoral {

// The Qt dialogs; nothing when cancelled.
std::optional<QString> runOpenPictureDialog(QWidget* parent, const QString& caption, const QString& filter, int filterIndex);
std::optional<QString> runSaveDialog(QWidget* parent, const QString& caption, const QString& filter, int filterIndex);

}  // namespace pixoral
