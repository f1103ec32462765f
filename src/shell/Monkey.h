#pragma once
// The monkey: a seeded random walk through batch actions, looking for crashes, sanitizer
// reports and actions that take far too long. It takes every enabled menu and toolbar path
// from the command tables, drags and clicks with random keys and buttons, sets every
// control of every window and presses their buttons, runs small scripts, opens pictures of
// every size it is given and saves them, and answers each dialog at random (good answers,
// cancel, empty, huge and nonsense) when the dialog asks.
//
// The actions run in this process through BatchRunner, so a run is fast, and each is also
// written down as the `pixoral --batch` arguments that repeat it. A refused action (exit
// status 2 in a batch run) ends that command line as it would end the process: the monkey
// then starts over with a new window and a fresh program folder, so every command line
// repeats from a folder holding only the shipped files. The same seed gives the same walk.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace pixoral {

struct MonkeyOptions {
    unsigned seed = 1;
    long long actions = 300;  // batch actions to run in all
    QString folder;           // scratch folder the run may fill (made when missing)
    QString shippedDir;       // where the shipped data files are (the executable's folder)
    // An action that takes longer than this (milliseconds) is reported as slow.
    int slowMs = 20000;
};

struct MonkeyRun {
    QStringList arguments;  // pixoral's arguments, --batch first
    QString dataDir;        // its program folder, which starts as a copy of the shipped files
    int exitCode = 0;       // what the batch run ends with (2: the last action was refused)
    QString reason;         // why the last action was refused
    QJsonObject state;      // monkeyState at its end
};

class TPixoralF;
// What a command line leaves behind: the --state keys (the visible windows in name order)
// and "pictureMd5", a digest of the workspace's size, format and pixels.
QJsonObject monkeyState(TPixoralF& window);

class Monkey {
public:
    explicit Monkey(MonkeyOptions options);
    ~Monkey();
    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    // Runs the actions. `finished` is told each command line as it ends; `slow` each action
    // that took longer than the limit, with the command line up to it.
    void run(const std::function<void(const MonkeyRun&)>& finished = {},
             const std::function<void(const MonkeyRun&, qint64 ms)>& slow = {});
    long long actionsRun() const;
    int commandLines() const;

    // A shell line that repeats a command line from a fresh program folder.
    static QString shellLine(const MonkeyRun& run, const QString& shippedDir, const QString& executable);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace pixoral
