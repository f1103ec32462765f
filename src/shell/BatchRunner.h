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
    std::vector<BatchAction> actions;
    QString dataDir;
};

// Parses the arguments after --batch. False with a reason for an unknown option or a
// missing argument.
bool parseBatchArguments(const QStringList& args, BatchPlan& plan, QString& error);

// The help text of the command line.
QString commandLineHelp();

// The observable state as --state writes it.
QJsonObject workspaceState(TPixoralF& window);

class BatchRunner {
public:
    BatchRunner(TPixoralF& window, ScriptedDialogs& dialogs) : window_(window), dialogs_(dialogs) {}
    // 0 when every action ran, 2 with a one-line reason in `error` when one could not.
    int run(const BatchPlan& plan, QString& error);

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
};

// A top-level window by its class name (or object name) and a control in it by its name.
QObject* findControl(const QString& windowName, const QString& controlName);

}  // namespace pixoral
