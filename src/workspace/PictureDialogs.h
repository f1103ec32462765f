#pragma once
// The open-picture dialog (with a preview of the chosen file) and the save dialog.
//
// Filters are written as pairs "Description|patterns|Description|patterns", patterns
// separated by ';', and an entry is chosen by its 1-based index.
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace pixoral {

// The pairs as Qt name filters: "All (*.gif *.jpg)" for "All (*.gif;*.jpg)|*.gif;*.jpg".
// A description that does not already show its patterns gets them appended in brackets,
// so Qt can read them. A trailing description without patterns matches everything.
QStringList qtNameFilters(const QString& pipeFilter);

// The Qt dialogs; nothing when cancelled.
std::optional<QString> runOpenPictureDialog(QWidget* parent, const QString& caption, const QString& filter, int filterIndex);
std::optional<QString> runSaveDialog(QWidget* parent, const QString& caption, const QString& filter, int filterIndex);

}  // namespace pixoral
