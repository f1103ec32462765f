#include "shell/EachRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <malloc.h>
#include <memory>
#include <unistd.h>

#include "shell/BatchRunner.h"
#include "ui/Dialogs.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

// The line "[done/total] failed" on a terminal, kept as the last line: other output clears
// it first and it is drawn again after.
class Progress {
public:
    explicit Progress(int total) : total_(total), shown_(isatty(STDERR_FILENO)) { draw(); }
    ~Progress() { finish(); }

    // The line goes away for good (before the closing summary).
    void finish() {
        clear();
        shown_ = false;
    }

    void print(const QByteArray& text) {
        clear();
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
        draw();
    }
    void fileEnded(bool ok) {
        ++done_;
        if (!ok) ++failed_;
        draw();
    }

private:
    void clear() {
        if (drawn_) std::fputs("\r\033[K", stderr);
        drawn_ = false;
    }
    void draw() {
        if (!shown_) return;
        clear();
        std::fprintf(stderr, "pixoral: %d/%d files", done_, total_);
        if (failed_) std::fprintf(stderr, ", %d failed", failed_);
        std::fflush(stderr);
        drawn_ = true;
    }

    int total_, done_ = 0, failed_ = 0;
    bool shown_, drawn_ = false;
};

void reportFailure(const QString& file, const QString& error, Progress* progress) {
    const QByteArray line = QStringLiteral("pixoral: %1: %2\n").arg(file, error).toLocal8Bit();
    if (progress) progress->print(line);
    else std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
}

int summary(const QStringList& failed, int total) {
    if (failed.isEmpty()) return 0;
    std::fprintf(stderr, "pixoral: %lld of %d files failed: %s\n", static_cast<long long>(failed.size()), total,
                 qPrintable(failed.join(QStringLiteral(", "))));
    return 1;
}

// This process runs the files one after the other.
int runHere(const BatchPlan& plan, const BatchSession& where) {
    // Every file allocates and frees pictures of much the same size; kept in the heap rather
    // than handed back to the system, their pages need not be faulted in again per file.
    mallopt(M_MMAP_THRESHOLD, 512 << 20);
    mallopt(M_TRIM_THRESHOLD, 1024 << 20);
    std::unique_ptr<Progress> progress;
    if (!plan.worker) progress = std::make_unique<Progress>(static_cast<int>(plan.eachFiles.size()));
    QStringList failed;
    for (int i = 0; i < plan.eachFiles.size(); ++i) {
        const QString& file = plan.eachFiles[i];
        const int number = plan.firstNumber + i;
        QString error;
        const bool ok = runOnFreshWindow(plan, where, file, number, error) == 0;
        if (!ok) {
            reportFailure(file, error, progress.get());
            failed << file;
        }
        if (plan.worker) {
            std::fprintf(stdout, "%s %d\n", ok ? "done" : "failed", number);
            std::fflush(stdout);
        } else {
            progress->fileEnded(ok);
        }
    }
    if (plan.worker) return failed.isEmpty() ? 0 : 1;
    progress->finish();
    return summary(failed, static_cast<int>(plan.eachFiles.size()));
}

struct Chunk {
    int first = 0;  // index in the whole list
    int count = 0;
};

// Worker processes, `jobs` at a time, each on a chunk of the list.
class WorkerPool {
public:
    WorkerPool(const BatchPlan& plan, int jobs) : plan_(plan), jobs_(jobs), progress_(static_cast<int>(plan.eachFiles.size())) {
        const int n = static_cast<int>(plan.eachFiles.size());
        // Several chunks a worker, so one slow file does not hold up the end; not so small that
        // starting the program outweighs the work.
        const int size = std::clamp((n + jobs * 4 - 1) / (jobs * 4), 1, 16);
        for (int first = 0; first < n; first += size) queue_.push_back({first, std::min(size, n - first)});
    }

    int run() {
        QEventLoop loop;
        loop_ = &loop;
        while (running_ < jobs_ && !queue_.empty()) start();
        if (running_ > 0) loop.exec();
        loop_ = nullptr;
        QStringList failed;
        for (const QString& f : plan_.eachFiles)
            if (failed_.contains(f)) failed << f;
        progress_.finish();
        return summary(failed, static_cast<int>(plan_.eachFiles.size()));
    }

private:
    struct Worker {
        Chunk chunk;
        int reported = 0;  // files of the chunk reported so far (they are reported in order)
        QByteArray out, err;
    };

    void start() {
        const Chunk c = queue_.front();
        queue_.pop_front();
        auto* p = new QProcess(&owner_);  // whatever is left goes with the pool
        auto w = std::make_shared<Worker>();
        w->chunk = c;
        ++running_;
        QObject::connect(p, &QProcess::readyReadStandardOutput, p, [this, p, w] {
            w->out += p->readAllStandardOutput();
            takeReports(*w);
        });
        QObject::connect(p, &QProcess::readyReadStandardError, p, [this, p, w] {
            w->err += p->readAllStandardError();
            const qsizetype end = w->err.lastIndexOf('\n');
            if (end < 0) return;
            progress_.print(w->err.left(end + 1));
            w->err.remove(0, end + 1);
        });
        QObject::connect(p, &QProcess::finished, p, [this, p, w](int, QProcess::ExitStatus status) {
            w->out += p->readAllStandardOutput();
            w->err += p->readAllStandardError();
            takeReports(*w);
            if (!w->err.isEmpty()) progress_.print(w->err.endsWith('\n') ? w->err : w->err + '\n');
            if (w->reported < w->chunk.count) {
                // The worker stopped on this file: it fails, the rest of the chunk goes on.
                const QString& file = plan_.eachFiles[w->chunk.first + w->reported];
                reportFailure(file,
                              status == QProcess::CrashExit ? QStringLiteral("the worker process crashed on it")
                                                            : QStringLiteral("the worker process stopped on it"),
                              &progress_);
                ended(file, false);
                if (w->reported + 1 < w->chunk.count)
                    queue_.push_front({w->chunk.first + w->reported + 1, w->chunk.count - w->reported - 1});
            }
            p->deleteLater();
            --running_;
            while (running_ < jobs_ && !queue_.empty()) start();
            if (running_ == 0 && loop_) loop_->quit();
        });
        QObject::connect(p, &QProcess::errorOccurred, p, [this, p, w](QProcess::ProcessError e) {
            if (e != QProcess::FailedToStart) return;
            // Nothing ran: every file of the chunk fails with the reason.
            for (int i = w->reported; i < w->chunk.count; ++i) {
                const QString& file = plan_.eachFiles[w->chunk.first + i];
                reportFailure(file, QStringLiteral("no worker process: %1").arg(p->errorString()), &progress_);
                ended(file, false);
            }
            p->deleteLater();
            --running_;
            while (running_ < jobs_ && !queue_.empty()) start();
            if (running_ == 0 && loop_) loop_->quit();
        });
        const QStringList files = plan_.eachFiles.mid(c.first, c.count);
        p->start(QCoreApplication::applicationFilePath(), workerArguments(plan_, files, plan_.firstNumber + c.first));
    }

    // "done N" / "failed N" lines of a worker.
    void takeReports(Worker& w) {
        qsizetype end;
        while ((end = w.out.indexOf('\n')) >= 0) {
            const QList<QByteArray> parts = w.out.left(end).trimmed().split(' ');
            w.out.remove(0, end + 1);
            if (parts.size() != 2 || w.reported >= w.chunk.count) continue;
            ended(plan_.eachFiles[w.chunk.first + w.reported], parts[0] == "done");
            ++w.reported;
        }
    }

    void ended(const QString& file, bool ok) {
        if (!ok) failed_.insert(file);
        progress_.fileEnded(ok);
    }

    const BatchPlan& plan_;
    int jobs_;
    Progress progress_;
    std::deque<Chunk> queue_;
    QSet<QString> failed_;
    int running_ = 0;
    QEventLoop* loop_ = nullptr;
    QObject owner_;  // last, so its processes go before the state their handlers use
};

}  // namespace

int runOnFreshWindow(const BatchPlan& plan, const BatchSession& where, const QString& eachFile, int number,
                     QString& error) {
    auto dialogs = std::make_shared<ScriptedDialogs>();
    const QString prefix = eachFile.isEmpty() ? QString() : eachFile + QStringLiteral(": ");
    dialogs->onMessage = [prefix](const QString& text) {
        std::fprintf(stderr, "%smessage: %s\n", qPrintable(prefix), qPrintable(text));
        std::fflush(stderr);
    };
    TPixoralF::Options opts;
    opts.programFolder = where.folder;
    opts.settingsFileName = where.settingsFileName;
    opts.dialogs = dialogs;
    opts.batch = true;
    TPixoralF window(opts);
    window.show();  // the first showing stores the first undo step
    BatchRunner runner(window, *dialogs);
    if (!eachFile.isEmpty()) runner.setEachFile(eachFile, number);
    const int rc = runner.run(plan, error);
    // The end of the run closes the window as a user would, so what closing stores (the
    // pattern strip) is stored; File > Exit may have closed it already.
    if (window.isVisible()) window.close();
    return rc;
}

int runEach(const BatchPlan& plan, const BatchSession& where) {
    const int files = static_cast<int>(plan.eachFiles.size());
    const int jobs = std::min(plan.jobs > 0 ? plan.jobs : std::max(QThread::idealThreadCount(), 1), files);
    if (plan.worker || jobs <= 1) return runHere(plan, where);
    return WorkerPool(plan, jobs).run();
}

}  // namespace pixoral
