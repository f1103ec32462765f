#pragma once
// Batch mode: actions run left to right through the same handlers the menus use.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

namespace pixoral {

class TPixoralF;
class ScriptedDialogs;

struct BatchAction {
    QString option;       // "--do", "--open", ...
    QString argument;     // empty for options without one
    QStringList answers;  // the --answer values standing right after it
};

struct BatchPlan {
    QStringList leadingAnswers;  // --answer values before the first action
    // With --each, an action "--each" stands where each file is opened.
    std::vector<BatchAction> actions;
    QString dataDir;
    QStringList eachFiles;    // patterns already expanded
    int firstNumber = 1;      // the running number (%i) of eachFiles[0]
    int jobs = 0;             // worker processes for --each; 0: one per core
    bool worker = false;      // a worker of another pixoral: reports each file on stdout
};

// Parses the arguments (--batch among them or not). False with a reason for an unknown
// option, a missing argument, a pattern that matches no file or a --save pattern under
// --each that would write two files to one name.
bool parseBatchArguments(const QStringList& args, BatchPlan& plan, QString& error);

// The arguments that make another pixoral run `plan` on `files`, numbered from `firstNumber`.
QStringList workerArguments(const BatchPlan& plan, const QStringList& files, int firstNumber);

// A --save or --state pattern of --each for one file: %n its base name, %e its extension,
// %i its running number, %% a percent sign. Empty with `error` set for an unknown %-code.
QString expandEachPattern(const QString& pattern, const QString& file, int number, QString* error = nullptr);

// The observable state as --state writes it.
QJsonObject workspaceState(TPixoralF& window);

class BatchRunner {
public:
    BatchRunner(TPixoralF& window, ScriptedDialogs& dialogs) : window_(window), dialogs_(dialogs) {}
    // 0 when every action ran; 1 when a script ended with another message than "ready";
    // 2 when an action could not run. `error` holds the one-line reason. File > Exit ends the
    // run; an action after it is an error.
    int run(const BatchPlan& plan, QString& error);
    // Under --each: the file this run opens where "--each" stands, and its running number.
    void setEachFile(const QString& file, int number) {
        eachFile_ = file;
        eachNumber_ = number;
    }

private:
    bool runAction(const BatchAction& a, QString& error);
    bool doPath(const QString& path, QString& error);
    bool mouse(const QString& argText, bool click, QString& error);
    bool setControl(const QString& argText, QString& error);
    bool pressControl(const QString& argText, QString& error);
    bool writeState(const QString& target, QString& error);
    bool runScriptText(const QString& text, QString& error);

    TPixoralF& window_;
    ScriptedDialogs& dialogs_;
    Qt::KeyboardModifiers pendingMods_;
    Qt::MouseButton pendingButton_ = Qt::LeftButton;
    QString eachFile_;
    int eachNumber_ = 0;
    bool scriptFailed_ = false;
};

// A top-level window by its class name (or object name) and a control in it by its name.
QObject* findControl(const QString& windowName, const QString& controlName);

}  // namespace pixoral
