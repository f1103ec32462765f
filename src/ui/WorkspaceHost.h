#pragma once
// What every secondary window (the Quick windows, the effects panel, the script editor, the
// symbol fonts, gadgets, print preview) may ask of the main window. They get this interface
// and the dialogs, never the main window class, so none of them depends on it and each can be
// tested with a small host of its own.
#include <QString>

#include "canvas/Bitmap.h"
#include "ui/Dialogs.h"

class QWidget;

namespace pixoral {

namespace effects {
struct RangeState;
}

class WorkspaceHost {
public:
    virtual ~WorkspaceHost() = default;

    // The workspace image. A window that draws on it in place calls workspaceChanged()
    // afterwards; one that makes a new picture hands it to replaceWorkspace().
    virtual Bitmap& workspace() = 0;
    virtual void workspaceChanged() = 0;
    // The picture becomes the workspace image, under the one rule for the undo ring and the
    // range that Open and Paste follow. False, with a message and nothing changed, when the
    // picture is empty or larger than the program holds.
    virtual bool replaceWorkspace(const Bitmap& picture) = 0;

    // The current range and the range buffer.
    virtual effects::RangeState& rangeState() = 0;

    virtual Dialogs& dialogs() = 0;
    // A command that could not be carried out: the message is shown and batch mode stops.
    virtual void fail(const QString& message) = 0;

    // The folder of the settings, presets and libraries, with a trailing separator.
    virtual QString programFolder() const = 0;
    // The main window, for placing a secondary window beside it and as dialog parent.
    virtual QWidget* mainWindow() = 0;
    // Shows a picture in Quick Preview, whose "Use" replaces the workspace with it.
    virtual void showPreview(const Bitmap& picture) = 0;
    // Opens the help at a topic (ui/HelpViewer.h names them).
    virtual void showHelp(const QString& topic) = 0;
    // A long computation's progress in the status bar; an empty text clears it. A host
    // without a status bar has nothing to show it in.
    virtual void showProgress(const QString& text) { (void)text; }
};

}  // namespace pixoral
