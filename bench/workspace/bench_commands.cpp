// Every enabled command of the menu bar and the toolbar, timed on 256 by 256 and 4096 by 4096
// pictures in the device, 24-bit and 8-bit formats, and one interactive step of every drawing
// mode (a rubber-band move of a figure, a freehand segment, a spray move, a range move step),
// each including the repaint of what it changed. Prints one table sorted by time, slowest
// first. The line format is fixed so two runs can be compared line by line:
//
//     <milliseconds, 10.2f> ms  <size>  <format>  <kind>  <path>
//
// kind is "once" (a cost paid once per run of the program), "command" (the whole command,
// prompts answered with their defaults, median of 3 runs) or "step" (the median of 5 mouse
// moves during a drag, with a solid brush). Run a Release build with QT_QPA_PLATFORM=offscreen;
// arguments: sizes (default "256 4096") and words; with words, only the paths holding one of
// them run (for looking at a few commands between two full runs).
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "canvas/Raster.h"
#include "ui/Dialogs.h"
#include "workspace/TPixoralF.h"

using namespace pixoral;

namespace {

// Answers every prompt the way a user pressing Enter would: the default text, the colour or
// font it opens with; file dialogs and questions are cancelled (nothing is read or written).
class DefaultAnswers : public Dialogs {
public:
    QString inputBox(const QString&, const QString&, const QString& defaultText) override {
        return defaultText.isEmpty() ? QStringLiteral("2") : defaultText;
    }
    void message(const QString&) override {}
    Button question(const QString&, int) override { return Button::Cancel; }
    std::optional<TColor> color(TColor initial) override { return initial; }
    std::optional<Font> font(const Font& initial) override { return initial; }
    std::optional<QString> openFile(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openPicture(const QString&, const QString&, int) override { return std::nullopt; }
    std::optional<QString> savePicture(const QString&, const QString&, int) override { return std::nullopt; }
    bool pickSymbol(QString&, QString&) override { return false; }
    bool printerSetup(QPrinter&) override { return false; }
};

struct Command {
    QString path;
    QAction* action;
};

QString captionOf(const QAction* a) {
    QString c = a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    if (c.endsWith(QLatin1String("..."))) c.chop(3);
    return c;
}

void collect(const QList<QAction*>& actions, const QString& prefix, std::vector<Command>& out) {
    for (QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible()) continue;
        const QString path = prefix.isEmpty() ? captionOf(a) : prefix + QLatin1Char('>') + captionOf(a);
        if (a->menu()) collect(a->menu()->actions(), path, out);
        else if (a->isEnabled()) out.push_back({path, a});
    }
}

std::vector<Command> allCommands(TPixoralF& w) {
    std::vector<Command> out;
    collect(w.menuBar()->actions(), QString(), out);
    if (auto* bar = w.findChild<QToolBar*>()) {
        for (QAction* a : bar->actions()) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            const QString path = QStringLiteral("Toolbar>") + (button ? button->toolTip() : captionOf(a));
            if (button && button->menu()) collect(button->menu()->actions(), path, out);
            if (a->isEnabled() && !a->isSeparator() && !a->menu()) out.push_back({path, a});
        }
    }
    // Leaving the program is not a command to time.
    std::erase_if(out, [](const Command& c) { return c.path.endsWith(QLatin1String("Exit")); });
    return out;
}

// A picture with many colours: a smooth gradient crossed by a fine pattern, so conversions
// meet realistic colour counts and flood fills meet borders.
Bitmap testPicture(int size, PixelFormat f) {
    Bitmap b(size, size, PixelFormat::Device);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            b.setPixel(x, y, rgb((x * 255) / size, (y * 255) / size, ((x ^ y) * 7) & 0xFF));
    b.setPixelFormat(f);
    return b;
}

struct Row {
    double ms;
    int size;
    const char* format;
    const char* kind;
    QString path;
};

const char* formatName(PixelFormat f) {
    switch (f) {
    case PixelFormat::Device: return "device";
    case PixelFormat::pf24bit: return "24bit";
    case PixelFormat::pf8bit: return "8bit";
    default: return "other";
    }
}

constexpr int kCommandRuns = 3;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> sizes;
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        bool number = false;
        const int n = QString::fromLocal8Bit(argv[i]).toInt(&number);
        if (number) sizes.push_back(n);
        else words << QString::fromLocal8Bit(argv[i]);
    }
    if (sizes.empty()) sizes = {256, 4096};
    const auto chosen = [&](const QString& path) {
        return words.isEmpty() || std::any_of(words.begin(), words.end(), [&](const QString& w) { return path.contains(w); });
    };

    std::vector<Row> rows;
    {
        // The 8-bit conversion's table of every colour is built once per run of the program,
        // by the first large conversion; it is built here, so no command's row carries it.
        QElapsedTimer t;
        t.start();
        raster::prepareHalftoneLookup();
        rows.push_back({t.nsecsElapsed() / 1e6, 0, "8bit", "once", QStringLiteral("table of every colour's nearest palette entry")});
    }
    for (int size : sizes) {
        for (PixelFormat f : {PixelFormat::Device, PixelFormat::pf24bit, PixelFormat::pf8bit}) {
            const Bitmap picture = testPicture(size, f);
            TPixoralF::Options o;
            o.dialogs = std::make_shared<DefaultAnswers>();
            o.batch = true;
            TPixoralF w(o);
            const WorkspaceSettings settings = w.settings();
            const Pen pen = w.canvas().pen();
            const Brush brush = w.canvas().brush();
            const auto commands = allCommands(w);
            // One untimed command first: whatever a fresh window does once (queued events, first
            // large allocations) is not the first command's time.
            app.processEvents();
            if (auto first = std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return chosen(c.path); });
                first != commands.end()) {
                w.replaceWorkspace(picture);
                first->action->trigger();
                app.processEvents();
            }
            const Rect middle{size / 4, size / 4, 3 * size / 4, 3 * size / 4};
            for (const Command& c : commands) {
                if (!chosen(c.path)) continue;
                // Every run starts from the same picture, settings, pen, brush and range; the
                // median of three runs is kept, as a busy machine delays single runs by half.
                const QString modeBefore = w.settings().drawingMode;
                std::vector<double> runs;
                for (int run = 0; run < kCommandRuns; ++run) {
                    w.replaceWorkspace(picture);
                    w.canvas().pen() = pen;
                    w.canvas().brush() = brush;
                    // The workspace owns its pixels, as after any stroke: not the copy the table holds.
                    w.workspace().scanLine(0);
                    w.settings() = settings;
                    w.rangeState().range = middle;
                    w.settings().drawingMode = QString();
                    QElapsedTimer t;
                    t.start();
                    c.action->trigger();
                    app.processEvents();
                    runs.push_back(t.nsecsElapsed() / 1e6);
                }
                rows.push_back({median(runs), size, formatName(f), "command", c.path});
                const QString mode = w.settings().drawingMode;
                if (mode.isEmpty()) {
                    w.settings().drawingMode = modeBefore;
                    continue;
                }
                // A drawing mode: one mouse step of a drag across most of the picture, with a
                // solid brush, so figures are drawn filled (their slowest case).
                w.canvas().brush().setStyle(BrushStyle::bsSolid);
                w.mypaintMouseDown(MouseInput{size / 8, size / 8, Qt::LeftButton, {}});
                w.mypaintMouseMove(MouseInput{7 * size / 8, 7 * size / 8, Qt::LeftButton, {}});
                std::vector<double> steps;
                for (int i = 0; i < 5; ++i) {
                    const int d = (i & 1) ? 7 : 0;
                    QElapsedTimer s;
                    s.start();
                    w.mypaintMouseMove(MouseInput{7 * size / 8 - d, 7 * size / 8 - 2 * d, Qt::LeftButton, {}});
                    app.processEvents();
                    steps.push_back(s.nsecsElapsed() / 1e6);
                }
                w.mypaintMouseUp(MouseInput{7 * size / 8, 7 * size / 8, Qt::LeftButton, {}});
                rows.push_back({median(steps), size, formatName(f), "step", c.path + QStringLiteral(" [") + mode + QLatin1Char(']')});
            }
        }
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.ms > b.ms; });
    std::printf("%10s     %4s  %-6s  %-7s  %s\n", "time", "size", "format", "kind", "path");
    for (const Row& r : rows)
        std::printf("%10.2f ms  %4d  %-6s  %-7s  %s\n", r.ms, r.size, r.format, r.kind, qPrintable(r.path));
    return 0;
}
