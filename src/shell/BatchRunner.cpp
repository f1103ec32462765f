#include "shell/BatchRunner.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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
#include "script/ScriptLibrary.h"
#include "shell/CommandLine.h"
#include "ui/ColorGrid.h"
#include "ui/Dialogs.h"
#include "workspace/Gadgets.h"
#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"
#include "workspace/WorkspaceControls.h"

namespace pixoral {

namespace {

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

// Batch points are image pixels, whatever the zoom: the event goes to the middle of the
// pixel on the picture.
void sendMouseAt(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers mods) {
    QMouseEvent ev(type, at, w->mapToGlobal(at), button, buttons, mods);
    QCoreApplication::sendEvent(w, &ev);
}

// A point of the picture goes to the middle of its pixel on the screen, at any zoom.
void sendMouse(PaintBox* w, QEvent::Type type, QPoint pixel, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods) {
    sendMouseAt(w, type, w->toView(QPointF(pixel) + QPointF(0.5, 0.5)), button, buttons, mods);
}

}  // namespace

namespace {

bool isGlob(const QString& s) {
    return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?')) || s.contains(QLatin1Char('['));
}

// A quoted pattern of --each, expanded as the shell would: matches in name order, a name that
// exists as it stands taken as it stands.
bool expandEachArgument(const QString& arg, QStringList& into, QString& error) {
    if (!isGlob(arg) || QFileInfo::exists(arg)) {
        into << arg;
        return true;
    }
    const QFileInfo info(arg);
    if (isGlob(info.path())) {
        error = QStringLiteral("--each: only the file name may hold a pattern: %1").arg(arg);
        return false;
    }
    const QDir dir(info.path());
    const QStringList names = dir.entryList({info.fileName()}, QDir::Files | QDir::Readable, QDir::Name);
    if (names.isEmpty()) {
        error = QStringLiteral("--each: no file matches %1").arg(arg);
        return false;
    }
    const QString prefix = info.path() == QLatin1String(".") && !arg.startsWith(QLatin1String("./")) ? QString()
                                                                                                      : info.path() + QLatin1Char('/');
    for (const QString& n : names) into << prefix + n;
    return true;
}

// Under --each, every --save and --state pattern must be valid and give each file a name of
// its own, or one result would silently replace another.
bool checkEachPatterns(const BatchPlan& plan, QString& error) {
    for (const BatchAction& a : plan.actions) {
        if (a.option != QLatin1String("--save") && a.option != QLatin1String("--state")) continue;
        if (a.argument == QLatin1String("-")) {
            error = QStringLiteral("%1 - cannot be used with --each: give a pattern such as out/%n.json").arg(a.option);
            return false;
        }
        QHash<QString, QString> byOutput;
        for (int i = 0; i < plan.eachFiles.size(); ++i) {
            const QString& file = plan.eachFiles[i];
            const QString out = expandEachPattern(a.argument, file, plan.firstNumber + i, &error);
            if (out.isEmpty()) return false;
            const QString key = QFileInfo(out).absoluteFilePath();
            if (byOutput.contains(key)) {
                error = QStringLiteral("%1 %2 would write %3 for both %4 and %5 (add %e or %i)")
                            .arg(a.option, a.argument, out, byOutput.value(key), file);
                return false;
            }
            byOutput.insert(key, file);
        }
    }
    return true;
}

}  // namespace

QString expandEachPattern(const QString& pattern, const QString& file, int number, QString* error) {
    const QFileInfo info(file);
    QString out;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != QLatin1Char('%')) {
            out += pattern[i];
            continue;
        }
        const QChar c = i + 1 < pattern.size() ? pattern[++i] : QChar();
        if (c == QLatin1Char('n')) out += info.completeBaseName();
        else if (c == QLatin1Char('e')) out += info.suffix();
        else if (c == QLatin1Char('i')) out += QString::number(number);
        else if (c == QLatin1Char('%')) out += QLatin1Char('%');
        else {
            if (error)
                *error = pattern + QStringLiteral(": unknown %") + c +
                         QStringLiteral(" (%n name, %e extension, %i number, %% percent sign)");
            return QString();
        }
    }
    return out;
}

bool parseBatchArguments(const QStringList& args, BatchPlan& plan, QString& error) {
    bool eachSeen = false;
    auto addEachAction = [&] {
        if (!eachSeen) plan.actions.push_back({QStringLiteral("--each"), QString(), {}});
        eachSeen = true;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString opt = args[i];
        const CommandLineOption* o = findOption(opt);
        if (!o) {
            error = QStringLiteral("unknown option: %1").arg(opt);
            return false;
        }
        if (o->kind == CommandLineOption::Standalone) {
            error = QStringLiteral("%1 stands alone: it takes no actions").arg(opt);
            return false;
        }
        if (o->kind == CommandLineOption::Each) {
            if (eachSeen) {
                error = QStringLiteral("--each can be given once");
                return false;
            }
            const qsizetype before = plan.eachFiles.size();
            while (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--")))
                if (!expandEachArgument(args[++i], plan.eachFiles, error)) return false;
            if (plan.eachFiles.size() == before) {
                error = QStringLiteral("--each needs one or more files");
                return false;
            }
            addEachAction();
            continue;
        }
        if (!o->argument) continue;  // --batch
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs an argument").arg(opt);
            return false;
        }
        const QString arg = args[++i];
        bool ok = true;
        if (opt == QLatin1String("--answer")) {
            if (plan.actions.empty()) plan.leadingAnswers << arg;
            else plan.actions.back().answers << arg;
        } else if (opt == QLatin1String("--data-dir")) {
            plan.dataDir = arg;
        } else if (opt == QLatin1String("--jobs")) {
            plan.jobs = arg.toInt(&ok);
            ok = ok && plan.jobs > 0;
        } else if (opt == QLatin1String("--worker")) {
            plan.worker = true;
            plan.firstNumber = arg.toInt(&ok);
        } else if (opt == QLatin1String("--each-file")) {
            plan.eachFiles << arg;
            addEachAction();
        } else {
            plan.actions.push_back({opt, arg, {}});
        }
        if (!ok) {
            error = QStringLiteral("%1: not a count: %2").arg(opt, arg);
            return false;
        }
    }
    return !eachSeen || checkEachPatterns(plan, error);
}

QStringList workerArguments(const BatchPlan& plan, const QStringList& files, int firstNumber) {
    QStringList a{QStringLiteral("--batch"), QStringLiteral("--worker"), QString::number(firstNumber)};
    if (!plan.dataDir.isEmpty()) a << QStringLiteral("--data-dir") << plan.dataDir;
    for (const QString& ans : plan.leadingAnswers) a << QStringLiteral("--answer") << ans;
    for (const BatchAction& act : plan.actions) {
        if (act.option == QLatin1String("--each")) {
            for (const QString& f : files) a << QStringLiteral("--each-file") << f;
        } else {
            a << act.option << act.argument;
        }
        for (const QString& ans : act.answers) a << QStringLiteral("--answer") << ans;
    }
    return a;
}

QObject* findControl(const QString& windowName, const QString& controlName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != windowName && className(w) != windowName) continue;
        if (QObject* c = w->findChild<QWidget*>(controlName)) return c;
        if (QObject* c = w->findChild<QObject*>(controlName)) return c;
        // Gadgets are found by name whatever the letter case.
        if (auto* main = qobject_cast<TPixoralF*>(w))
            if (Gadget* g = main->gadgets().find(controlName)) return g->widget();
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
    scriptFailed_ = false;
    for (const QString& a : plan.leadingAnswers) dialogs_.pushAnswer(a);
    for (size_t i = 0; i < plan.actions.size(); ++i) {
        const BatchAction& a = plan.actions[i];
        if (!window_.isVisible()) {
            error = QStringLiteral("nothing runs after File > Exit: %1 %2").arg(a.option, a.argument);
            return 2;
        }
        for (const QString& ans : a.answers) dialogs_.pushAnswer(ans);
        dialogs_.clearFailure();
        window_.takeFailure();
        if (!runAction(a, error)) return scriptFailed_ ? 1 : 2;
        if (!dialogs_.failure().isEmpty()) {
            error = dialogs_.failure();
            return 2;
        }
        const QString failed = window_.takeFailure();
        if (!failed.isEmpty()) {
            // Under --each the file leads the line already.
            error = a.option == QLatin1String("--each") ? failed : QStringLiteral("%1 %2: %3").arg(a.option, a.argument, failed);
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
    QString arg = a.argument;
    if (!eachFile_.isEmpty() && (o == QLatin1String("--save") || o == QLatin1String("--state"))) {
        arg = expandEachPattern(arg, eachFile_, eachNumber_, &error);
        if (arg.isEmpty()) return false;
    }
    if (o == QLatin1String("--each")) {
        dialogs_.pushFrontAnswer(eachFile_);
        return doPath(QStringLiteral("File>Open"), error);
    }
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
    QStringList parts = argText.split(QLatin1Char(':'));
    // A leading name that is not a point names a gadget.
    Gadget* gadget = nullptr;
    if (QPoint first; parts.size() > 1 && !parsePoint(parts.front(), first)) {
        gadget = window_.gadgets().find(parts.front().trimmed());
        if (!gadget) {
            error = QStringLiteral("%1: no gadget %2").arg(click ? "--click" : "--drag", parts.front());
            return false;
        }
        parts.removeFirst();
    }
    for (const QString& part : parts) {
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
    auto* box = window_.findChild<PaintBox*>(QStringLiteral("mypaint"));
    QWidget* target = gadget ? gadget->widget() : box;
    const Qt::MouseButton b = pendingButton_;
    const Qt::KeyboardModifiers m = pendingMods_;
    pendingButton_ = Qt::LeftButton;
    pendingMods_ = {};
    // A gadget moves under the pointer, so each image point becomes its own coordinates anew.
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        if (!gadget) return sendMouse(box, type, at, button, buttons, m);
        sendMouseAt(target, type, window_.gadgets().toView(Point{at.x(), at.y()}) - target->pos(), button, buttons, m);
    };
    send(QEvent::MouseButtonPress, pts.front(), b, b);
    for (size_t i = 1; i + 1 < pts.size(); ++i) send(QEvent::MouseMove, pts[i], Qt::NoButton, b);
    if (!click) send(QEvent::MouseMove, pts.back(), Qt::NoButton, b);
    send(QEvent::MouseButtonRelease, pts.back(), b, Qt::NoButton);
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
    if (auto* g = dynamic_cast<Gadget*>(o)) return window_.gadgets().setContent(*g, value, error);
    bool ok = true;
    auto asInt = [&](int& v) {
        v = value.trimmed().toInt(&ok);
        if (!ok) error = QStringLiteral("--set %1.%2: not a number: %3").arg(win, name, value);
        return ok;
    };
    // A user's change runs the control's handler; so does setting the value it already
    // holds (a fresh window's bar at 0 set to 0 still shows its preview), which Qt's setters
    // would not report: those signals are sent here.
    int v = 0;
    if (auto* s = qobject_cast<QAbstractSlider*>(o)) {
        if (!asInt(v)) return false;
        const int before = s->value();
        s->setValue(v);
        if (s->value() == before) emit s->valueChanged(before);
    } else if (auto* sp = qobject_cast<QSpinBox*>(o)) {
        if (!asInt(v)) return false;
        const int before = sp->value();
        sp->setValue(v);
        if (sp->value() == before) {
            emit sp->valueChanged(before);
            emit sp->textChanged(sp->text());
        }
    } else if (auto* dsp = qobject_cast<QDoubleSpinBox*>(o)) {
        const double d = value.trimmed().toDouble(&ok);
        if (!ok) {
            error = QStringLiteral("--set %1.%2: not a number: %3").arg(win, name, value);
            return false;
        }
        const double before = dsp->value();
        dsp->setValue(d);
        if (dsp->value() == before) {
            emit dsp->valueChanged(before);
            emit dsp->textChanged(dsp->text());
        }
    } else if (auto* le = qobject_cast<QLineEdit*>(o)) {
        if (le->text() == value) emit le->textChanged(value);
        else le->setText(value);
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(o)) {
        pe->setPlainText(value);  // always reports a change
    } else if (auto* te = qobject_cast<QTextEdit*>(o)) {
        te->setPlainText(value);
    } else if (qobject_cast<QCheckBox*>(o) || qobject_cast<QRadioButton*>(o)) {
        auto* b = static_cast<QAbstractButton*>(o);
        if (!asInt(v)) return false;
        // A change clicks the box, so the handlers a user's click runs run too.
        if (b->isChecked() != (v != 0) && (v != 0 || qobject_cast<QCheckBox*>(o))) b->click();
        else if (b->isChecked() != (v != 0)) b->setChecked(false);
        else emit b->toggled(b->isChecked());
    } else if (auto* cb = qobject_cast<QComboBox*>(o)) {
        if (!asInt(v)) return false;
        if (v < -1 || v >= cb->count()) {
            error = QStringLiteral("--set %1.%2: no item %3").arg(win, name).arg(v);
            return false;
        }
        if (cb->currentIndex() == v) {
            emit cb->currentIndexChanged(v);
            emit cb->currentTextChanged(cb->currentText());
        } else {
            cb->setCurrentIndex(v);
        }
    } else if (auto* lw = qobject_cast<QListWidget*>(o)) {
        if (!asInt(v)) return false;
        if (v < -1 || v >= lw->count()) {
            error = QStringLiteral("--set %1.%2: no item %3").arg(win, name).arg(v);
            return false;
        }
        if (lw->currentRow() == v) emit lw->currentRowChanged(v);
        else lw->setCurrentRow(v);
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
    // As a user would: the text goes into the editor and Script > Run runs it, so a failure
    // leaves the caret at the failing word there.
    script::TPixoralScriptF* editor = window_.windows().scriptEditor();
    editor->setText(text);
    editor->Run1Click();
    const TTurtle::RunResult& r = window_.lastScriptRun();
    if (!script::runFailed(r)) return true;
    const QString shown = editor->text();
    const script::RunCaret at = script::runErrorCaret(shown, r);
    const QString word = shown.mid(at.anchor, at.position - at.anchor).trimmed();
    const int line = static_cast<int>(shown.left(at.anchor).count(QLatin1Char('\n'))) + 1;
    error = word.isEmpty() ? QStringLiteral("script: %1").arg(r.message)
                           : QStringLiteral("script: %1, stopped at \"%2\" (line %3)").arg(r.message, word).arg(line);
    scriptFailed_ = true;
    return false;
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
