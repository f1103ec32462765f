#pragma once
// Input while a long job (a script run, a fractal) computes on the user-interface thread and
// lets events through now and then: everything a user could start another command with is
// held back, and Escape asks the job to stop. A window's event filter asks this first.
#include <QEvent>
#include <QKeyEvent>

namespace pixoral {

// True when the event must be swallowed; an Escape key press sets `escape`. Closing is held
// back too, so no window goes away under the job.
inline bool holdBackDuringJob(const QEvent* e, bool& escape) {
    switch (e->type()) {
        case QEvent::KeyPress:
            if (static_cast<const QKeyEvent*>(e)->key() == Qt::Key_Escape) escape = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace pixoral
