#include "shell/Monkey.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "canvas/Bitmap.h"
#include "files/ImageFile.h"
#include "shell/BatchRunner.h"
#include "ui/ColorGrid.h"
#include "ui/Dialogs.h"
#include "ui/PresetFile.h"
#include "workspace/Commands.h"
#include "workspace/ProgramFolder.h"
#include "workspace/TPixoralF.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define PIXORAL_MONKEY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PIXORAL_MONKEY_SANITIZED 1
#endif
#ifdef PIXORAL_MONKEY_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace pixoral {

namespace {

// The sizes the pictures come in: the smallest, where every neighbour rule meets an edge,
// an ordinary one and a large one.
constexpr int kSides[] = {1, 2, 3, 4, 5, 6, 7, 256, 2048};
// Pictures grow through effects; past this many pixels the next action starts a small one,
// so a run never spends minutes on one huge image.
constexpr long long kMaxPixels = 2048LL * 2048;

const char* const kHugeAnswers[] = {"2147483647", "-2147483648", "99999999999", "1e308", "-1e308",
                                    "4294967296", "32768",       "65536",       "-1"};
const char* const kNonsenseAnswers[] = {"abc", "1,5", "0x1F", "$FF", "  7  ", "\xc2\xbd", "NaN", "inf", "-0",
                                        "1e-9", "12abc", " ", "=", "~~", "\"", "--do", "\xe2\x88\x9e"};
const char* const kTexts[] = {"", "0", "1", "-1", "255", "256", "1e308", "-2147483648", "x*y", "sin(t)*100",
                              "1/0", "sqrt(-1)", "x^999", "((((", "t~~t", "a=b", "cos(x)+y/3", "random(9)",
                              "\xc3\xa4\xc3\xb6", "3,5", "$FF"};
const char* const kColours[] = {"clRed", "clBlack", "clWhite", "clLime", "$00FF00", "255", "$7F7F7F", "0"};
const char* const kFonts[] = {"Sans,12", "DejaVu Sans,30,bold", "Serif,1,italic,underline", "Monospace,200",
                              "Sans,7,bold,italic"};
const char* const kScriptWords[] = {"go",     "right",  "left",  "down",  "up",     "pos",   "rectangle", "ellipse",
                                    "do",     "loop",   "dup",   "+",     "*",      "/",     "-",         "pencolor",
                                    "clRed",  "brushcolor", "clBlue", "default", "move", "fill", "text",  "\"hi\"",
                                    "{ x }",  "[",      "]",     "in",    "if",     "=",     "polygon",   "bssolid",
                                    "background", "\"Sky\"", "filter", "\"Blur\"", "0", "1", "7", "90", "-5", "300",
                                    "99999", "$FF"};
const char* const kSaveTypes[] = {".bmp", ".bmp", ".bmp", ".png", ".png", ".gif", ".gif", ".jpg", ".jpeg", ".bmp",
                                  ".png", ".gif", ".bmp", ".jpg", ".bmp", ".png", ".gif", ".bmp", ".txt", ""};

QString quoted(const QString& arg) {
    static const QString safe = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_./,:=+-");
    bool plain = !arg.isEmpty();
    for (QChar c : arg) plain = plain && safe.contains(c);
    if (plain) return arg;
    QString q = arg;
    q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

QString className(const QObject* o) {
    QString n = QString::fromLatin1(o->metaObject()->className());
    const int colon = n.lastIndexOf(QLatin1Char(':'));
    return colon >= 0 ? n.mid(colon + 1) : n;
}

// Told when the process dies, so the command line that killed it is not lost with it.
std::string* gDyingLine = nullptr;

void printDyingLine() {
    if (!gDyingLine) return;
    static const char head[] = "\nmonkey: the command line that repeats this:\n";
    (void)!::write(2, head, sizeof head - 1);
    (void)!::write(2, gDyingLine->data(), gDyingLine->size());
    (void)!::write(2, "\n", 1);
}

extern "C" void monkeySignal(int sig) {
    printDyingLine();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void watchDeath() {
    static bool installed = false;
    if (installed) return;
    installed = true;
#ifdef PIXORAL_MONKEY_SANITIZED
    __sanitizer_set_death_callback(printDyingLine);
#else
    std::signal(SIGSEGV, monkeySignal);
    std::signal(SIGBUS, monkeySignal);
    std::signal(SIGFPE, monkeySignal);
#endif
    std::signal(SIGABRT, monkeySignal);
}

struct CommandPath {
    QString path;
    QString name;  // the row's control name, empty when the row has none
};

void collect(const std::vector<MenuEntry>& entries, const QString& prefix, std::vector<CommandPath>& out) {
    for (const MenuEntry& e : entries) {
        if (e.isSeparator()) continue;
        const QString path = prefix + QLatin1Char('>') + e.caption;
        if (e.isSubmenu()) collect(e.children, path, out);
        else out.push_back({path, e.name});
    }
}

std::vector<CommandPath> allCommandPaths() {
    std::vector<CommandPath> out;
    for (const MenuEntry& top : menuBarTable()) collect(top.children, top.caption, out);
    for (const ToolButtonEntry& t : toolBarTable()) {
        const QString path = QStringLiteral("Toolbar>") + t.hint;
        if (!t.pressOpensMenu) out.push_back({path, t.name});
        collect(t.menu, path, out);
    }
    return out;
}

bool isSettable(const QObject* o) {
    return qobject_cast<const QAbstractSlider*>(o) || qobject_cast<const QSpinBox*>(o) ||
           qobject_cast<const QDoubleSpinBox*>(o) || qobject_cast<const QLineEdit*>(o) ||
           qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QTextEdit*>(o) ||
           qobject_cast<const QAbstractButton*>(o) || qobject_cast<const QComboBox*>(o) ||
           qobject_cast<const QListWidget*>(o) || qobject_cast<const ColorGrid*>(o);
}

// The dialogs of a batch run that, finding no answer queued, ask the monkey for one; the
// answer is written down after the action as the --answer that gives it.
class MonkeyDialogs : public ScriptedDialogs {
public:
    enum class Ask { Text, Question, Colour, Font, OpenFile, SaveFile, OpenPicture, SavePicture };
    std::function<QString(Ask, const QString& defaultText, int buttons)> answer;

    QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText) override {
        ensure(Ask::Text, defaultText);
        return ScriptedDialogs::inputBox(caption, prompt, defaultText);
    }
    Button question(const QString& text, int buttons) override {
        ensure(Ask::Question, {}, buttons);
        return ScriptedDialogs::question(text, buttons);
    }
    std::optional<TColor> color(TColor initial) override {
        ensure(Ask::Colour);
        return ScriptedDialogs::color(initial);
    }
    std::optional<Font> font(const Font& initial) override {
        ensure(Ask::Font);
        return ScriptedDialogs::font(initial);
    }
    std::optional<QString> openFile(const QString& caption, const QString& filter) override {
        ensure(Ask::OpenFile);
        return ScriptedDialogs::openFile(caption, filter);
    }
    std::optional<QString> saveFile(const QString& caption, const QString& filter) override {
        ensure(Ask::SaveFile);
        return ScriptedDialogs::saveFile(caption, filter);
    }
    std::optional<QString> openPicture(const QString& caption, const QString& filter, int filterIndex) override {
        ensure(Ask::OpenPicture);
        return ScriptedDialogs::openPicture(caption, filter, filterIndex);
    }
    std::optional<QString> savePicture(const QString& caption, const QString& filter, int filterIndex) override {
        ensure(Ask::SavePicture);
        return ScriptedDialogs::savePicture(caption, filter, filterIndex);
    }

private:
    void ensure(Ask kind, const QString& defaultText = {}, int buttons = 0) {
        if (pendingAnswers().empty() && answer) pushAnswer(answer(kind, defaultText, buttons));
    }
};

}  // namespace

struct Monkey::Impl {
    MonkeyOptions o;
    std::mt19937 rng;
    std::vector<CommandPath> commands;
    QStringList tableNames;  // the control names of the command table's rows
    QStringList scripts;  // the shipped library's scripts
    QString pictures;     // folder of the generated pictures

    // The command line in progress.
    int runNumber = 0;
    bool runOpen = false;  // the command line in progress has not ended
    long long actions = 0;
    MonkeyRun current;
    std::string dyingLine;
    QStringList savedFiles;  // files this command line wrote, for later opens
    std::shared_ptr<MonkeyDialogs> dialogs;
    std::unique_ptr<TPixoralF> window;
    std::unique_ptr<BatchRunner> runner;
    struct Control {
        QString window, name;
    };
    std::vector<Control> controls, buttons;
    std::function<void(const MonkeyRun&)> finished;
    std::function<void(const MonkeyRun&, qint64)> slow;

    explicit Impl(MonkeyOptions options) : o(std::move(options)), rng(o.seed) {}

    int below(int n) { return n <= 1 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    template <typename T, std::size_t N>
    QString oneOf(const T (&items)[N]) {
        return QString::fromUtf8(items[below(static_cast<int>(N))]);
    }

    void note(const QString& arg) {
        current.arguments << arg;
        dyingLine += ' ';
        dyingLine += quoted(arg).toStdString();
    }

    // ---- pictures and files ----

    QString picture(int w, int h, const QString& type) {
        const QString path = QStringLiteral("%1/p%2x%3%4").arg(pictures).arg(w).arg(h).arg(type);
        if (QFile::exists(path)) return path;
        Bitmap b(w, h, PixelFormat::pf24bit);
        Canvas& c = b.canvas();
        c.brush().setColor(0x2080F0);
        c.fillRect(Rect{0, 0, w / 2 + 1, h});
        c.pen().color = 0x10A030;
        c.ellipse(w / 4, h / 4, w - w / 4 + 1, h - h / 4 + 1);
        // A few scattered pixels, the same for the same size.
        std::mt19937 dots(static_cast<unsigned>(w * 7919 + h));
        for (int i = 0; i < 64; ++i) c.setPixel(static_cast<int>(dots() % unsigned(w)), static_cast<int>(dots() % unsigned(h)), dots() & 0xFFFFFF);
        QString error;
        if (saveImageFile(path, b, ImageSaveOptions{}, &error) != FileResult::Done)
            std::fprintf(stderr, "monkey: cannot write %s: %s\n", qPrintable(path), qPrintable(error));
        return path;
    }

    QString anyPicture() {
        const int w = kSides[below(std::size(kSides))], h = kSides[below(std::size(kSides))];
        // The large size is rare: it is slow under the sanitizers.
        if ((w == 2048 || h == 2048) && !chance(25)) return picture(std::min(w, 256), std::min(h, 256), QStringLiteral(".bmp"));
        const char* const types[] = {".bmp", ".bmp", ".bmp", ".png", ".gif", ".jpg"};
        return picture(w, h, oneOf(types));
    }

    QString fileToOpen(bool pictureWanted) {
        // Mostly what can be opened: a refused file ends the command line, as in a batch run.
        const int r = below(100);
        if (r < 60) return anyPicture();
        if (r < 75 && !savedFiles.isEmpty()) return savedFiles[below(static_cast<int>(savedFiles.size()))];
        if (r < 80 || (!pictureWanted && r < 90)) {
            const QStringList shipped = shippedDataFiles();
            return current.dataDir + QLatin1Char('/') + shipped[below(static_cast<int>(shipped.size()))];
        }
        if (r < 83) return pictures + QStringLiteral("/garbage.bmp");
        if (r < 86) return current.dataDir + (pictureWanted ? QStringLiteral("/missing.gif") : QStringLiteral("/missing.qvs"));
        if (r < 88) return pictures;  // a folder
        return QStringLiteral(":cancel");
    }

    QString fileToSave(bool pictureWanted) {
        const int r = below(100);
        if (r < 8) return QStringLiteral(":cancel");
        if (r < 12) return pictures;  // a folder
        if (r < 15) return current.dataDir + QStringLiteral("/no/such/folder/x.bmp");
        const QString name = QStringLiteral("%1/out%2%3")
                                 .arg(current.dataDir)
                                 .arg(below(6))
                                 .arg(pictureWanted ? oneOf(kSaveTypes) : (chance(50) ? QStringLiteral(".qvs") : QStringLiteral(".txt")));
        if (!savedFiles.contains(name)) savedFiles << name;
        return name;
    }

    // ---- answers ----

    QString number(const QString& defaultText) {
        bool ok = false;
        const double d = defaultText.trimmed().toDouble(&ok);
        const long long base = ok && std::abs(d) < 1e6 ? static_cast<long long>(d) : 10;
        switch (below(5)) {
            case 0: return QString::number(base);
            case 1: return QString::number(base + between(-2, 2));
            case 2: return QString::number(between(0, 9));
            case 3: return QString::number(between(0, static_cast<int>(std::min<long long>(std::abs(base) * 2 + 10, 1000))));
            default: return QString::number(between(-10, 300));
        }
    }

    QString answer(MonkeyDialogs::Ask kind, const QString& defaultText, int buttons) {
        using A = MonkeyDialogs::Ask;
        QString a;
        switch (kind) {
            case A::Text: {
                const int r = below(100);
                if (r < 55) a = number(defaultText);
                else if (r < 62) a = QStringLiteral(":cancel");
                else if (r < 68) a = QString();
                else if (r < 75) a = oneOf(kHugeAnswers);
                else if (r < 85) a = chance(10) ? QString(300, QLatin1Char('x')) : oneOf(kNonsenseAnswers);
                else if (r < 92) a = oneOf(kTexts);
                else a = defaultText;
                break;
            }
            case A::Question: {
                QStringList fit;
                if (buttons & Dialogs::Yes) fit << QStringLiteral("yes");
                if (buttons & Dialogs::No) fit << QStringLiteral("no");
                if (buttons & Dialogs::Cancel) fit << QStringLiteral("cancel");
                if (buttons & Dialogs::Ok) fit << QStringLiteral("ok");
                a = fit.isEmpty() ? QStringLiteral("ok") : fit[below(static_cast<int>(fit.size()))];
                break;
            }
            case A::Colour:
                a = chance(10) ? QStringLiteral(":cancel")
                    : chance(30) ? QStringLiteral("$%1").arg(rng() & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper()
                    : chance(2) ? QStringLiteral("purplish") : oneOf(kColours);
                break;
            case A::Font:
                a = chance(10) ? QStringLiteral(":cancel") : chance(2) ? QStringLiteral("Sans") : oneOf(kFonts);
                break;
            case A::OpenFile: a = fileToOpen(false); break;
            case A::OpenPicture: a = fileToOpen(true); break;
            case A::SaveFile: a = fileToSave(false); break;
            case A::SavePicture: a = fileToSave(true); break;
        }
        note(QStringLiteral("--answer"));
        note(a);
        return a;
    }

    // ---- command lines ----

    void startRun() {
        ++runNumber;
        savedFiles.clear();
        runner.reset();
        window.reset();
        current = MonkeyRun{};
        current.dataDir = QDir(o.folder).filePath(QStringLiteral("run%1").arg(runNumber));
        QDir(current.dataDir).removeRecursively();
        QDir().mkpath(current.dataDir);
        seedFolder(o.shippedDir, current.dataDir);
        // A batch process starts with an empty clipboard.
        QApplication::clipboard()->clear();

        dialogs = std::make_shared<MonkeyDialogs>();
        dialogs->answer = [this](MonkeyDialogs::Ask k, const QString& def, int buttons) { return answer(k, def, buttons); };
        TPixoralF::Options opts;
        opts.programFolder = current.dataDir + QLatin1Char('/');
        opts.dialogs = dialogs;
        opts.batch = true;
        window = std::make_unique<TPixoralF>(opts);
        window->show();
        runner = std::make_unique<BatchRunner>(*window, *dialogs);

        current.arguments = {QStringLiteral("--batch"), QStringLiteral("--data-dir"), current.dataDir};
        runOpen = true;
        dyingLine = shellLine(current, o.shippedDir, QCoreApplication::applicationDirPath() + QStringLiteral("/pixoral"))
                        .toStdString();
        gDyingLine = &dyingLine;
        findControls();
        exec({QStringLiteral("--seed"), QString::number(rng() % 100000), {}});
        exec({QStringLiteral("--max-steps"), QStringLiteral("20000"), {}});
    }

    void endRun(int code, const QString& reason) {
        runOpen = false;
        current.exitCode = code;
        current.reason = reason;
        current.state = monkeyState(*window);
        if (finished) finished(current);
    }

    // Runs one batch action in the window; a refused one ends the command line.
    void exec(const BatchAction& a) {
        if (actions >= o.actions) return;
        ++actions;
        note(a.option);
        note(a.argument);
        for (const QString& ans : a.answers) {
            note(QStringLiteral("--answer"));
            note(ans);
        }
        BatchPlan plan;
        plan.actions.push_back(a);
        QString error;
        QElapsedTimer t;
        t.start();
        const int rc = runner->run(plan, error);
        const qint64 ms = t.elapsed();
        if (ms > o.slowMs && slow) slow(current, ms);
        dialogs->clearMessages();
        if (rc != 0) {
            endRun(rc, error);
            if (actions < o.actions) startRun();
        }
    }

    // ---- the controls of every window ----

    void findControls() {
        controls.clear();
        buttons.clear();
        std::vector<QWidget*> windows;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const QString n = className(w);
            if (n.startsWith(QLatin1Char('T')) && n.endsWith(QLatin1Char('F'))) windows.push_back(w);
        }
        std::sort(windows.begin(), windows.end(), [](QWidget* a, QWidget* b) { return className(a) < className(b); });
        for (QWidget* w : windows) {
            const QString win = className(w);
            QStringList seen;
            for (QWidget* c : w->findChildren<QWidget*>()) {
                const QString name = c->objectName();
                if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || seen.contains(name)) continue;
                seen << name;
                QObject* found = findControl(win, name);
                if (!found || !isSettable(found)) continue;
                const bool check = qobject_cast<QCheckBox*>(found) || qobject_cast<QRadioButton*>(found);
                if (!qobject_cast<QAbstractButton*>(found) || check) controls.push_back({win, name});
                auto* tool = qobject_cast<QToolButton*>(found);
                const bool menuOnly = tool && tool->menu() && tool->popupMode() == QToolButton::InstantPopup;
                if (qobject_cast<QAbstractButton*>(found) && !menuOnly) buttons.push_back({win, name});
            }
            // The items of the windows' own menus (preset pop-ups); the command table's are --do paths.
            for (QAction* a : w->findChildren<QAction*>()) {
                const QString name = a->objectName();
                if (name.isEmpty() || seen.contains(name) || tableNames.contains(name)) continue;
                seen << name;
                if (findControl(win, name) == a) buttons.push_back({win, name});
            }
        }
    }

    QString valueFor(QObject* o) {
        if (auto* s = qobject_cast<QAbstractSlider*>(o)) return QString::number(rangeValue(s->minimum(), s->maximum()));
        if (auto* s = qobject_cast<QSpinBox*>(o)) return QString::number(rangeValue(s->minimum(), s->maximum()));
        if (auto* s = qobject_cast<QDoubleSpinBox*>(o)) {
            if (chance(10)) return oneOf(kHugeAnswers);
            return QString::number(s->minimum() + (s->maximum() - s->minimum()) * below(1001) / 1000.0);
        }
        if (qobject_cast<QLineEdit*>(o)) {
            const int r = below(100);
            if (r < 40) return number(qobject_cast<QLineEdit*>(o)->text());
            if (r < 75) return oneOf(kTexts);
            if (r < 90) return oneOf(kNonsenseAnswers);
            return oneOf(kHugeAnswers);
        }
        if (qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o)) return script();
        if (qobject_cast<QAbstractButton*>(o)) return QString::number(below(2));
        if (auto* c = qobject_cast<QComboBox*>(o)) return QString::number(between(-1, c->count() - 1));
        if (auto* l = qobject_cast<QListWidget*>(o)) return QString::number(between(-1, l->count() - 1));
        return QString::number(below(16)) + (chance(30) ? QStringLiteral(",right") : QString());
    }

    int rangeValue(int lo, int hi) {
        const int r = below(100);
        if (r < 10) return lo;
        if (r < 20) return hi;
        if (r < 25) return chance(50) ? lo - 1 : hi + 1;
        return lo + static_cast<int>(static_cast<long long>(rng() % 1000001) * (static_cast<long long>(hi) - lo) / 1000000);
    }

    QString script() {
        if (!scripts.isEmpty() && chance(40)) return scripts[below(static_cast<int>(scripts.size()))];
        QStringList words;
        const int n = between(1, 24);
        for (int i = 0; i < n; ++i) words << oneOf(kScriptWords);
        return words.join(chance(20) ? QStringLiteral("\n") : QStringLiteral(" "));
    }

    // ---- one step of the walk ----

    QPoint anyPoint() {
        const int w = window->workspace().width(), h = window->workspace().height();
        if (chance(5)) return {between(-5000, 100000), between(-5000, 100000)};
        return {between(-3, w + 3), between(-3, h + 3)};
    }

    void mouse(bool click) {
        if (chance(30)) {
            const char* const keys[] = {"shift", "ctrl", "alt", "shift,ctrl", "ctrl,alt", "shift,alt", "shift,ctrl,alt"};
            exec({QStringLiteral("--mods"), oneOf(keys), {}});
        }
        if (chance(30)) {
            const char* const b[] = {"left", "right", "middle"};
            exec({QStringLiteral("--button"), oneOf(b), {}});
        }
        QStringList pts;
        const int n = click ? 1 : between(2, 6);
        for (int i = 0; i < n; ++i) {
            const QPoint p = anyPoint();
            pts << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
        }
        exec({click ? QStringLiteral("--click") : QStringLiteral("--drag"), pts.join(QLatin1Char(':')), {}});
    }

    void menuCommand() {
        std::vector<const CommandPath*> enabled;
        for (const CommandPath& c : commands) {
            QAction* a = window->actionForPath(c.path);
            if (a && a->isEnabled()) enabled.push_back(&c);
        }
        if (enabled.empty()) return;
        exec({QStringLiteral("--do"), enabled[below(static_cast<int>(enabled.size()))]->path, {}});
    }

    void namedCommand(const QString& name) {
        for (const CommandPath& c : commands) {
            if (c.name != name) continue;
            QAction* a = window->actionForPath(c.path);
            if (a && a->isEnabled()) exec({QStringLiteral("--do"), c.path, {}});
            return;
        }
    }

    void setControl() {
        if (controls.empty()) return;
        const Control& c = controls[below(static_cast<int>(controls.size()))];
        QObject* o = findControl(c.window, c.name);
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !w->isEnabled()) return;
        exec({QStringLiteral("--set"), QStringLiteral("%1.%2=%3").arg(c.window, c.name, valueFor(o)), {}});
    }

    void pressButton() {
        if (buttons.empty()) return;
        const Control& c = buttons[below(static_cast<int>(buttons.size()))];
        QObject* o = findControl(c.window, c.name);
        auto* b = qobject_cast<QAbstractButton*>(o);
        auto* a = qobject_cast<QAction*>(o);
        if (!(b && b->isEnabled()) && !(a && a->isEnabled())) return;
        exec({QStringLiteral("--press"), QStringLiteral("%1.%2").arg(c.window, c.name), {}});
    }

    // A new picture of one of the sizes, then now and then one of the other pixel formats.
    void newPicture() {
        if (chance(50)) {
            exec({QStringLiteral("--open"), anyPicture(), {}});
        } else {
            int w = kSides[below(std::size(kSides))], h = kSides[below(std::size(kSides))];
            if ((w == 2048 || h == 2048) && !chance(25)) w = h = 256;
            exec({QStringLiteral("--do"), QStringLiteral("File>New"), {QString::number(h), QString::number(w)}});
        }
        const int r = below(100);
        if (r < 25) namedCommand(QStringLiteral("N8bit1"));
        else if (r < 50) namedCommand(QStringLiteral("N24bit1"));
        else if (r < 65) namedCommand(QStringLiteral("Brush1"));  // the two-colour mask: 1 bit
    }

    void step() {
        if (window->workspace().width() * static_cast<long long>(window->workspace().height()) > kMaxPixels) {
            newPicture();
            return;
        }
        const int r = below(100);
        if (r < 34) menuCommand();
        else if (r < 49) mouse(false);
        else if (r < 56) mouse(true);
        else if (r < 74) setControl();
        else if (r < 83) pressButton();
        else if (r < 89) newPicture();
        else if (r < 93) exec({QStringLiteral("--run"), script(), {}});
        else if (r < 96) exec({QStringLiteral("--save"), fileToSave(true), {}});
        else if (r < 98) exec({QStringLiteral("--open"), fileToOpen(true), {}});
        else exec({QStringLiteral("--state"), current.dataDir + QStringLiteral("/state.json"), {}});
    }
};

QJsonObject monkeyState(TPixoralF& window) {
    QJsonObject s = workspaceState(window);
    QStringList visible;
    for (const QJsonValue& v : s[QStringLiteral("visibleWindows")].toArray()) visible << v.toString();
    visible.sort();
    s[QStringLiteral("visibleWindows")] = QJsonArray::fromStringList(visible);
    const Bitmap& b = window.workspace();
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(QByteArray::number(b.width()) + 'x' + QByteArray::number(b.height()) + pixelFormatName(b.pixelFormat()));
    const qsizetype rowBytes = (qsizetype(b.width()) * bitsPerPixel(b.pixelFormat()) + 7) / 8;
    for (int y = 0; y < b.height(); ++y) md5.addData(QByteArrayView(reinterpret_cast<const char*>(b.scanLine(y)), rowBytes));
    s[QStringLiteral("pictureMd5")] = QString::fromLatin1(md5.result().toHex());
    return s;
}

Monkey::Monkey(MonkeyOptions options) : d_(std::make_unique<Impl>(std::move(options))) {
    QDir().mkpath(d_->o.folder);
    d_->pictures = QDir(d_->o.folder).filePath(QStringLiteral("pictures"));
    QDir().mkpath(d_->pictures);
    QFile garbage(d_->pictures + QStringLiteral("/garbage.bmp"));
    if (garbage.open(QIODevice::WriteOnly)) garbage.write("BM\x10\x00\x00\x00not a picture at all", 24);
    d_->commands = allCommandPaths();
    for (const CommandPath& c : d_->commands)
        if (!c.name.isEmpty()) d_->tableNames << c.name;
    PresetFile library(d_->o.shippedDir + QStringLiteral("/PixoralLib.tip"));
    if (library.load())
        for (int i = 0; i < library.count(); ++i)
            if (library.isEntry(i)) d_->scripts << library.value(i).replace(QStringLiteral("~~"), QStringLiteral("\n"));
}

Monkey::~Monkey() {
    if (gDyingLine == &d_->dyingLine) gDyingLine = nullptr;
}

void Monkey::run(const std::function<void(const MonkeyRun&)>& finished,
                 const std::function<void(const MonkeyRun&, qint64)>& slow) {
    watchDeath();
    d_->finished = finished;
    d_->slow = slow;
    d_->startRun();
    while (d_->actions < d_->o.actions) d_->step();
    if (d_->runOpen) d_->endRun(0, {});
    d_->runner.reset();
    d_->window.reset();
    gDyingLine = nullptr;
}

long long Monkey::actionsRun() const { return d_->actions; }
int Monkey::commandLines() const { return d_->runNumber; }

QString Monkey::shellLine(const MonkeyRun& run, const QString& shippedDir, const QString& executable) {
    QStringList copies;
    for (const QString& f : shippedDataFiles())
        if (QFile::exists(shippedDir + QLatin1Char('/') + f)) copies << quoted(shippedDir + QLatin1Char('/') + f);
    QStringList args;
    for (const QString& a : run.arguments) args << quoted(a);
    return QStringLiteral("rm -rf %1 && mkdir -p %1 && cp %2 %1/ && %3 %4")
        .arg(quoted(run.dataDir), copies.join(QLatin1Char(' ')), quoted(executable), args.join(QLatin1Char(' ')));
}

}  // namespace pixoral
