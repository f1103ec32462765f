#pragma once
// A main window under the offscreen platform for the drawing-tool tests, with helpers that
// drive the mouse handlers and compare the workspace with a reference drawn directly.
#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "WindowFixture.h"
#include "workspace/TPixoralF.h"
#include "workspace/WorkspaceControls.h"

namespace tooltest {

using namespace pixoral;

struct Window : TestWindow {
    Window() : TestWindow({false, true, {}}) {}
    void press(Point p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
        w->mypaintMouseDown(MouseInput{p.x, p.y, b, m});
    }
    void move(Point p, Qt::KeyboardModifiers m = {}) { w->mypaintMouseMove(MouseInput{p.x, p.y, Qt::NoButton, m}); }
    void release(Point p, Qt::KeyboardModifiers m = {}, Qt::MouseButton b = Qt::LeftButton) {
        w->mypaintMouseUp(MouseInput{p.x, p.y, b, m});
    }
    Bitmap& image() { return w->workspace(); }
    QImage shown() { return w->findChild<PaintBox*>(QStringLiteral("mypaint"))->picture(); }
};

// A white bitmap of the workspace's size with the workspace's pen and brush, to draw the
// expected result on.
inline Bitmap referenceFor(TPixoralF& w) {
    Bitmap b(w.workspace().width(), w.workspace().height());
    b.canvas().pen() = w.canvas().pen();
    b.canvas().brush() = w.canvas().brush();
    return b;
}

}  // namespace tooltest
