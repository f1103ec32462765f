#pragma once
// The main window under the offscreen platform with scripted dialogs, as every window test
// drives it: menu paths with queued answers, and the mouse handlers of the workspace.
#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "../common/TestSupport.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

struct TestWindowSetup {
    bool show = true;
    bool batch = true;  // no window state or recent list read or written
    // Fills the program folder (with a trailing separator) before the window starts.
    std::function<void(const QString& folder)> prepare;
    QString helpFolder = QStringLiteral(PIXORAL_DATA_DIR "/help");
};

struct TestWindow {
    QTemporaryDir dir;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    std::unique_ptr<TPixoralF> w;

    explicit TestWindow(const TestWindowSetup& s = {}) {
        if (s.prepare) s.prepare(dir.path() + QLatin1Char('/'));
        TPixoralF::Options o;
        o.programFolder = dir.path();
        o.dialogs = dialogs;
        o.batch = s.batch;
        o.helpFolder = s.helpFolder;
        w = std::make_unique<TPixoralF>(o);
        if (s.show) w->show();
    }
    // Triggers a menu or toolbar item, answering its prompts from `answers`, all of which it
    // must use.
    void run(const char* path, const QStringList& answers = {}) {
        for (const QString& a : answers) dialogs->pushAnswer(a);
        QAction* a = w->actionForPath(QString::fromUtf8(path));
        ASSERT_NE(a, nullptr) << path;
        ASSERT_TRUE(a->isEnabled()) << path;
        a->trigger();
        EXPECT_TRUE(dialogs->pendingAnswers().empty()) << path;
    }
    // Triggers an action by its object name, enabled or not.
    void press(const char* actionName) {
        QAction* a = w->findChild<QAction*>(QString::fromLatin1(actionName));
        ASSERT_NE(a, nullptr) << actionName;
        a->trigger();
    }
    void fill(TColor c) { w->workspace().fill(c); }
    // Press at the first point, move through the others, release at the last.
    void drag(const std::vector<Point>& pts, Qt::KeyboardModifiers m = {}) {
        w->mypaintMouseDown(MouseInput{pts.front().x, pts.front().y, Qt::LeftButton, m});
        for (std::size_t i = 1; i < pts.size(); ++i)
            w->mypaintMouseMove(MouseInput{pts[i].x, pts[i].y, Qt::NoButton, m});
        w->mypaintMouseUp(MouseInput{pts.back().x, pts.back().y, Qt::LeftButton, m});
    }
};

}  // namespace pixoral
