#pragma once
// --each: the actions once per file, each on a window built afresh.
//
// The files are shared out over worker processes: the program runs itself again with
// `--worker N` on a chunk of the list (numbered from N) and reports each file on its standard
// output as "done N" or "failed N". Separate processes rather than threads, because the
// window and every command run on one GUI thread per process; re-running rather than
// forking, because a forked Qt process is unsafe once the application object exists. A
// worker that crashes costs the file it was on: the rest of its chunk goes to a new worker.
#include <QString>

namespace pixoral {

struct BatchPlan;

// Where a batch run keeps its files.
struct BatchSession {
    QString folder;            // the program folder, with its trailing separator
    QString settingsFileName;
};

// One run of the plan on a window built for it, closed at the end as a user's close would
// (without "Save changes?"). Under --each, `eachFile` is the file opened where "--each"
// stands and message lines name it. The status is BatchRunner::run's.
int runOnFreshWindow(const BatchPlan& plan, const BatchSession& where, const QString& eachFile, int number,
                     QString& error);

// Every file of plan.eachFiles, in this process when it is a worker or has one job, else over
// worker processes; a progress line on standard error when that is a terminal. 0 when every
// file ran, 1 when any failed (each one named on standard error).
int runEach(const BatchPlan& plan, const BatchSession& where);

}  // namespace pixoral
