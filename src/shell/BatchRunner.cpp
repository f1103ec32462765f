#include "shell/BatchRunner.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <cstdio>

#include "core/Random.h"
#include "ui/ColorGrid.h"
#include "ui/Dialogs.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

// Options that take one argument; every option but --answer and --batch is an action.
const QStringList kWithArgument = {"--open", "--save",  "--do",        "--answer", "--drag",  "--click",
                                   "--mods", "--button", "--set",      "--press",  "--run",   "--script",
                                   "--max-steps", "--state", "--data-dir", "--seed"};

QString className(const QObject* o) {
    QString n = QString::fromLatin1(o->metaObject()->className());
    const int colon = n.lastIndexOf(QLatin1Char(':'));
    return colon >= 0 ? n.mid(colon + 1) : n;
}

bool parsePoint(const QString& text, QPoint& p) {
    const QStringList xy = text.split(QLatin1Char(','));
    if (xy.size() != 2) return false;
    bool okX = false, okY = false;
    const int x = xy[0].trimmed().toInt(&okX), y = xy[1].trimmed().toInt(&okY);
    if (!okX || !okY) return false;
    p = QPoint(x, y);
    return true;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods) {
    QMouseEvent ev(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, buttons, mods);
    QCoreApplication::sendEvent(w, &ev);
}

}  // namespace

QString commandLineHelp() {
    return QStringLiteral(
        "Usage: pixoral [FILE]\n"
        "       pixoral --batch ACTION...\n"
        "\n"
        "Without --batch the window opens, with FILE (any image it opens) loaded when given.\n"
        "With --batch the window is built without showing it and the actions run left to right\n"
        "through the same commands the menus use; then the program exits.\n"
        "\n"
        "Actions:\n"
        "  --open FILE            File > Open with FILE as the dialog's answer\n"
        "  --save FILE            File > Save As with FILE as the answer\n"
        "  --do PATH              run the menu item or toolbar control at PATH: captions joined\n"
        "                         by '>', '&' and a trailing '...' left out, case ignored,\n"
        "                         e.g. \"File>New\", \"Toolbar>Undo\", \"Toolbar>Set Pen Mode>Xor\"\n"
        "  --answer TEXT          an answer for a dialog: text for input boxes, a colour word\n"
        "                         (clRed, $0000FF, 255) for colour dialogs,\n"
        "                         Name,size[,bold][,italic][,underline] for font dialogs, a path\n"
        "                         for file dialogs, yes/no/cancel for questions, :cancel to\n"
        "                         cancel the dialog\n"
        "  --drag X,Y:X,Y[:X,Y...] press at the first point, move through the middle ones,\n"
        "                         release at the last\n"
        "  --click X,Y            press and release at one point\n"
        "  --mods shift,ctrl,alt  keys held during the next drag or click\n"
        "  --button left|right|middle  the mouse button of the next drag or click\n"
        "  --set WINDOW.CONTROL=VALUE  set a control of a window by name, as a user would\n"
        "                         (a colour grid: N clicks cell N, N,right right-clicks it)\n"
        "  --press WINDOW.CONTROL press a button of a window\n"
        "  --run TEXT             run turtle script text on the image\n"
        "  --script FILE          run the turtle script in FILE\n"
        "  --max-steps N          stop later scripts after N steps (0: no limit)\n"
        "  --state FILE|-         write the observable state as JSON (- for standard output)\n"
        "  --data-dir DIR         the program folder for this run (settings, patterns, presets);\n"
        "                         it holds for the whole run wherever it stands\n"
        "  --seed N               seed the random generator\n"
        "\n"
        "Answers: before an action runs, the --answer values standing directly after it (up to\n"
        "the next other action) join the end of the answer queue; --answer values standing\n"
        "before an action were queued earlier. So both of these give a 50 by 100 image:\n"
        "  pixoral --batch --do File>New --answer 100 --answer 50 --save out.bmp\n"
        "  pixoral --batch --answer 100 --answer 50 --do File>New --save out.bmp\n"
        "A dialog that finds no answer, and an answer left unused at the end, are errors.\n"
        "\n"
        "Every message box text goes to standard error as \"message: TEXT\". The exit status is\n"
        "0 when every action ran and 2 when one could not, with a one-line reason.\n");
}

bool parseBatchArguments(const QStringList& args, BatchPlan& plan, QString& error) {
    for (int i = 0; i < args.size(); ++i) {
        const QString opt = args[i];
        if (opt == QLatin1String("--batch")) continue;
        if (!kWithArgument.contains(opt)) {
            error = QStringLiteral("unknown option: %1").arg(opt);
            return false;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs an argument").arg(opt);
            return false;
        }
        const QString arg = args[++i];
        if (opt == QLatin1String("--answer")) {
            if (plan.actions.empty()) plan.leadingAnswers << arg;
            else plan.actions.back().answers << arg;
        } else if (opt == QLatin1String("--data-dir")) {
            plan.dataDir = arg;
            plan.actions.push_back({opt, arg, {}});
        } else {
            plan.actions.push_back({opt, arg, {}});
        }
    }
    return true;
}

QObject* findControl(const QString& windowName, const QString& controlName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != windowName && className(w) != windowName) continue;
        if (QObject* c = w->findChild<QWidget*>(controlName)) return c;
        if (QObject* c = w->findChild<QObject*>(controlName)) return c;
    }
    return nullptr;
}

QJsonObject workspaceState(TPixoralF& w) {
    const Bitmap& b = w.workspace();
    const Canvas& c = w.workspace().canvas();
    const WorkspaceSettings& s = w.settings();
    QJsonObject o;
    o[QStringLiteral("width")] = b.width();
    o[QStringLiteral("height")] = b.height();
    o[QStringLiteral("pixelFormat")] = QString::fromLatin1(pixelFormatName(b.pixelFormat()));
    const Rect& r = w.rangeState().range;
    o[QStringLiteral("range")] = QJsonArray{r.left, r.top, r.right, r.bottom};
    o[QStringLiteral("drawingMode")] = s.drawingMode;
    o[QStringLiteral("copySelectionMode")] = s.copySelectionMode;
    o[QStringLiteral("penColor")] = static_cast<qint64>(c.pen().color);
    o[QStringLiteral("penWidth")] = c.pen().width;
    o[QStringLiteral("penStyle")] = QString::fromLatin1(penStyleName(c.pen().style));
    o[QStringLiteral("penMode")] = QString::fromLatin1(penModeName(c.pen().mode));
    o[QStringLiteral("brushColor")] = static_cast<qint64>(c.brush().color());
    o[QStringLiteral("brushStyle")] = QString::fromLatin1(brushStyleName(c.brush().style()));
    o[QStringLiteral("copyMode")] = static_cast<qint64>(c.copyMode());
    QJsonArray status;
    for (int i = 0; i < 4; ++i) status.append(w.statusText(i));
    o[QStringLiteral("status")] = status;
    QJsonArray stack;
    for (int v : w.Turtle.numberStack()) stack.append(v);
    o[QStringLiteral("turtle")] = QJsonObject{{QStringLiteral("x"), w.Turtle.posX()},
                                              {QStringLiteral("y"), w.Turtle.posY()},
                                              {QStringLiteral("heading"), w.Turtle.heading()},
                                              {QStringLiteral("penDown"), w.Turtle.penDown()},
                                              {QStringLiteral("stack"), stack}};
    QJsonArray visible;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && !top->inherits("QMenu")) visible.append(className(top));
    o[QStringLiteral("visibleWindows")] = visible;
    o[QStringLiteral("anchor")] = QJsonArray{s.anchor.x, s.anchor.y};
    o[QStringLiteral("undoSteps")] = w.undoRing().storedSteps();
    o[QStringLiteral("modified")] = w.isModified();
    return o;
}

int BatchRunner::run(const BatchPlan& plan, QString& error) {
    for (const QString& a : plan.leadingAnswers) dialogs_.pushAnswer(a);
    for (const BatchAction& a : plan.actions) {
        for (const QString& ans : a.answers) dialogs_.pushAnswer(ans);
        dialogs_.clearFailure();
        window_.takeFailure();
        if (!runAction(a, error)) return 2;
        if (!dialogs_.failure().isEmpty()) {
            error = dialogs_.failure();
            return 2;
        }
        const QString failed = window_.takeFailure();
        if (!failed.isEmpty()) {
            error = QStringLiteral("%1 %2: %3").arg(a.option, a.argument, failed);
            return 2;
        }
    }
    if (!dialogs_.pendingAnswers().empty()) {
        error = QStringLiteral("unused answer: %1").arg(dialogs_.pendingAnswers().front());
        return 2;
    }
    return 0;
}

bool BatchRunner::runAction(const BatchAction& a, QString& error) {
    const QString& o = a.option;
    const QString& arg = a.argument;
    if (o == QLatin1String("--open")) {
        dialogs_.pushFrontAnswer(arg);
        return doPath(QStringLiteral("File>Open"), error);
    }
    if (o == QLatin1String("--save")) {
        dialogs_.pushFrontAnswer(arg);
        return doPath(QStringLiteral("File>Save As"), error);
    }
    if (o == QLatin1String("--do")) return doPath(arg, error);
    if (o == QLatin1String("--drag")) return mouse(arg, false, error);
    if (o == QLatin1String("--click")) return mouse(arg, true, error);
    if (o == QLatin1String("--mods")) {
        pendingMods_ = {};
        for (const QString& m : arg.toLower().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString t = m.trimmed();
            if (t == QLatin1String("shift")) pendingMods_ |= Qt::ShiftModifier;
            else if (t == QLatin1String("ctrl")) pendingMods_ |= Qt::ControlModifier;
            else if (t == QLatin1String("alt")) pendingMods_ |= Qt::AltModifier;
            else {
                error = QStringLiteral("--mods: unknown key %1 (shift, ctrl, alt)").arg(t);
                return false;
            }
        }
        return true;
    }
    if (o == QLatin1String("--button")) {
        const QString b = arg.trimmed().toLower();
        if (b == QLatin1String("left")) pendingButton_ = Qt::LeftButton;
        else if (b == QLatin1String("right")) pendingButton_ = Qt::RightButton;
        else if (b == QLatin1String("middle")) pendingButton_ = Qt::MiddleButton;
        else {
            error = QStringLiteral("--button: unknown button %1 (left, right, middle)").arg(arg);
            return false;
        }
        return true;
    }
    if (o == QLatin1String("--set")) return setControl(arg, error);
    if (o == QLatin1String("--press")) return pressControl(arg, error);
    if (o == QLatin1String("--run")) return runScriptText(arg, error);
    if (o == QLatin1String("--script")) {
        QFile f(arg);
        if (!f.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("--script: cannot read %1").arg(arg);
            return false;
        }
        if (f.size() > (64 << 20)) {
            error = QStringLiteral("--script: %1 is too large for a script").arg(arg);
            return false;
        }
        return runScriptText(QString::fromUtf8(f.readAll()), error);
    }
    if (o == QLatin1String("--max-steps")) {
        bool ok = false;
        const qlonglong n = arg.toLongLong(&ok);
        if (!ok || n < 0) {
            error = QStringLiteral("--max-steps: not a step count: %1").arg(arg);
            return false;
        }
        window_.setScriptMaxSteps(n);
        return true;
    }
    if (o == QLatin1String("--state")) return writeState(arg, error);
    if (o == QLatin1String("--data-dir")) return true;  // taken before the window was built
    if (o == QLatin1String("--seed")) {
        bool ok = false;
        const uint n = arg.toUInt(&ok);
        if (!ok) {
            error = QStringLiteral("--seed: not a number: %1").arg(arg);
            return false;
        }
        random::seed(n);
        return true;
    }
    error = QStringLiteral("unknown option: %1").arg(o);
    return false;
}

bool BatchRunner::doPath(const QString& path, QString& error) {
    bool isMenu = false;
    QAction* a = window_.actionForPath(path, &isMenu);
    if (!a) {
        error = isMenu ? QStringLiteral("%1 is a menu, not a command").arg(path) : QStringLiteral("unknown command: %1").arg(path);
        return false;
    }
    if (!a->isEnabled()) {
        error = QStringLiteral("command not available: %1").arg(path);
        return false;
    }
    a->trigger();
    return true;
}

bool BatchRunner::mouse(const QString& argText, bool click, QString& error) {
    std::vector<QPoint> pts;
    for (const QString& part : argText.split(QLatin1Char(':'))) {
        QPoint p;
        if (!parsePoint(part, p)) {
            error = QStringLiteral("%1: not a point list X,Y:X,Y: %2").arg(click ? "--click" : "--drag", argText);
            return false;
        }
        pts.push_back(p);
    }
    if (click ? pts.size() != 1 : pts.size() < 2) {
        error = click ? QStringLiteral("--click takes one point X,Y") : QStringLiteral("--drag takes two or more points");
        return false;
    }
    QWidget* target = window_.findChild<QWidget*>(QStringLiteral("mypaint"));
    const Qt::MouseButton b = pendingButton_;
    const Qt::KeyboardModifiers m = pendingMods_;
    pendingButton_ = Qt::LeftButton;
    pendingMods_ = {};
    sendMouse(target, QEvent::MouseButtonPress, pts.front(), b, b, m);
    for (size_t i = 1; i + 1 < pts.size(); ++i) sendMouse(target, QEvent::MouseMove, pts[i], Qt::NoButton, b, m);
    if (!click) sendMouse(target, QEvent::MouseMove, pts.back(), Qt::NoButton, b, m);
    sendMouse(target, QEvent::MouseButtonRelease, pts.back(), b, Qt::NoButton, m);
    return true;
}

bool BatchRunner::setControl(const QString& argText, QString& error) {
    const int eq = argText.indexOf(QLatin1Char('='));
    const int dot = argText.indexOf(QLatin1Char('.'));
    if (eq < 0 || dot < 0 || dot > eq) {
        error = QStringLiteral("--set takes WINDOW.CONTROL=VALUE: %1").arg(argText);
        return false;
    }
    const QString win = argText.left(dot), name = argText.mid(dot + 1, eq - dot - 1), value = argText.mid(eq + 1);
    QObject* o = findControl(win, name);
    if (!o) {
        error = QStringLiteral("no control %1.%2").arg(win, name);
        return false;
    }
    if (auto* w = qobject_cast<QWidget*>(o); w && !w->isEnabled()) {
        error = QStringLiteral("control %1.%2 is disabled").arg(win, name);
        return false;
    }
    bool ok = true;
    auto asInt = [&](int& v) {
        v = value.trimmed().toInt(&ok);
        if (!ok) error = QStringLiteral("--set %1.%2: not a number: %3").arg(win, name, value);
        return ok;
    };
    int v = 0;
    if (auto* s = qobject_cast<QAbstractSlider*>(o)) {
        if (!asInt(v)) return false;
        s->setValue(v);
    } else if (auto* sp = qobject_cast<QSpinBox*>(o)) {
        if (!asInt(v)) return false;
        sp->setValue(v);
    } else if (auto* dsp = qobject_cast<QDoubleSpinBox*>(o)) {
        const double d = value.trimmed().toDouble(&ok);
        if (!ok) {
            error = QStringLiteral("--set %1.%2: not a number: %3").arg(win, name, value);
            return false;
        }
        dsp->setValue(d);
    } else if (auto* le = qobject_cast<QLineEdit*>(o)) {
        le->setText(value);
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(o)) {
        pe->setPlainText(value);
    } else if (auto* te = qobject_cast<QTextEdit*>(o)) {
        te->setPlainText(value);
    } else if (qobject_cast<QCheckBox*>(o) || qobject_cast<QRadioButton*>(o)) {
        auto* b = static_cast<QAbstractButton*>(o);
        if (!asInt(v)) return false;
        // A change clicks the box, so the handlers a user's click runs run too.
        if (b->isChecked() != (v != 0) && (v != 0 || qobject_cast<QCheckBox*>(o))) b->click();
        else if (b->isChecked() != (v != 0)) b->setChecked(false);
    } else if (auto* cb = qobject_cast<QComboBox*>(o)) {
        if (!asInt(v)) return false;
        if (v < -1 || v >= cb->count()) {
            error = QStringLiteral("--set %1.%2: no item %3").arg(win, name).arg(v);
            return false;
        }
        cb->setCurrentIndex(v);
    } else if (auto* lw = qobject_cast<QListWidget*>(o)) {
        if (!asInt(v)) return false;
        if (v < -1 || v >= lw->count()) {
            error = QStringLiteral("--set %1.%2: no item %3").arg(win, name).arg(v);
            return false;
        }
        lw->setCurrentRow(v);
    } else if (auto* grid = qobject_cast<ColorGrid*>(o)) {
        // "N" clicks cell N, "N,right" right-clicks it (the background colour).
        const QStringList parts = value.split(QLatin1Char(','));
        const bool right = parts.size() == 2 && parts[1].trimmed() == QLatin1String("right");
        v = parts[0].trimmed().toInt(&ok);
        if (!ok || parts.size() > 2 || (parts.size() == 2 && !right) || !grid->pick(v, right)) {
            error = QStringLiteral("--set %1.%2: no colour cell %3").arg(win, name, value);
            return false;
        }
    } else {
        error = QStringLiteral("control %1.%2 cannot be set").arg(win, name);
        return false;
    }
    return true;
}

bool BatchRunner::pressControl(const QString& argText, QString& error) {
    const int dot = argText.indexOf(QLatin1Char('.'));
    if (dot < 0) {
        error = QStringLiteral("--press takes WINDOW.CONTROL: %1").arg(argText);
        return false;
    }
    const QString win = argText.left(dot), name = argText.mid(dot + 1);
    QObject* o = findControl(win, name);
    if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        if (!b->isEnabled()) {
            error = QStringLiteral("control %1.%2 is disabled").arg(win, name);
            return false;
        }
        // Such a press would wait, in its menu, for a click no batch run can give.
        auto* tb = qobject_cast<QToolButton*>(b);
        if (tb && tb->menu() && tb->popupMode() == QToolButton::InstantPopup) {
            error = QStringLiteral("control %1.%2 only opens its menu; press one of the menu's items").arg(win, name);
            return false;
        }
        b->click();
        return true;
    }
    if (auto* a = qobject_cast<QAction*>(o)) {
        if (!a->isEnabled()) {
            error = QStringLiteral("control %1.%2 is disabled").arg(win, name);
            return false;
        }
        a->trigger();
        return true;
    }
    error = o ? QStringLiteral("control %1.%2 is not a button").arg(win, name) : QStringLiteral("no control %1.%2").arg(win, name);
    return false;
}

bool BatchRunner::runScriptText(const QString& text, QString& error) {
    Q_UNUSED(error);
    // As a user would: the text goes into the editor and Script > Run runs it, so a failure
    // leaves the caret at the failing word there.
    script::TPixoralScriptF* editor = window_.windows().scriptEditor();
    editor->setText(text);
    editor->Run1Click();
    return true;
}

bool BatchRunner::writeState(const QString& target, QString& error) {
    const QByteArray json = QJsonDocument(workspaceState(window_)).toJson(QJsonDocument::Indented);
    if (target == QLatin1String("-")) {
        std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
        std::fflush(stdout);
        return true;
    }
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly) || f.write(json) != json.size() || !f.commit()) {
        error = QStringLiteral("--state: cannot write %1").arg(target);
        return false;
    }
    return true;
}

}  // namespace pixoral
