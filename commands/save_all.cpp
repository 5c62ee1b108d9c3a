#include "commands/commands.h"
#include "commands/file_names.h"
#include "commands/picture_output.h"
#include "dialogs/module1.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {
// Each worker holds a picture's BMP and JPEG buffers; a few are enough to keep
// every core busy without running out of memory on large pictures.
constexpr unsigned kMaxWorkers = 4;

struct Job {
    int index = 0;
    Picture picture;
    OutputResult result;
    QString jpegPath;
    // What writing it threw, put into words once every worker has ended.
    JobFailure failure;
};

// Writes every job, the calling thread included among the workers; the
// window stays blocked until all are done. A picture whose writing throws
// fails alone: nothing a worker does escapes it.
void runJobs(std::vector<Job>& jobs, Platform& platform, const QString& folder,
             const QString& decimalPoint) {
    std::atomic<std::size_t> next{0};
    auto work = [&]() noexcept {
        for (std::size_t k = next++; k < jobs.size(); k = next++) {
            Job& job = jobs[k];
            try {
                // Date and time are read afresh for each picture.
                job.jpegPath = FileNames::saveAllBaseName(folder, job.index,
                                                          platform.clock.localNow(), decimalPoint) +
                               QStringLiteral(".jpg");
                job.result = writeJpegFile(platform, job.picture, job.jpegPath);
            } catch (...) {
                job.failure = std::current_exception();
            }
            // The picture is not held past its writing.
            job.picture = Picture();
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::min<std::size_t>(std::min(cores, kMaxWorkers), jobs.size());
    std::vector<std::jthread> threads;
    try {
        threads.reserve(helpers);
        for (std::size_t t = 1; t < helpers; ++t)
            threads.emplace_back(work);
    } catch (...) {
        // Fewer workers, same result.
    }
    work();
}

// What is really in the folder now: the folder may have been emptied or removed
// while the pictures were written.
struct Outcome {
    const Job* firstFailed = nullptr;
    int failed = 0;
    int kept = 0;
};

Outcome outcomeOf(const std::vector<Job>& jobs, IFileSystem& files) {
    Outcome outcome;
    for (const Job& job : jobs) {
        if (job.result.saved && Module1::FileExists(files, job.jpegPath))
            continue;
        ++outcome.failed;
        if (!job.result.keptBmp.isEmpty() && Module1::FileExists(files, job.result.keptBmp))
            ++outcome.kept;
        if (!outcome.firstFailed)
            outcome.firstFailed = &job;
    }
    return outcome;
}

QString failureText(const Outcome& outcome, std::size_t total, const QString& folder) {
    const Job& first = *outcome.firstFailed;
    QString text = QCoreApplication::translate("SaveAll", "%1 of %2 pictures were not saved in %3.")
                       .arg(outcome.failed)
                       .arg(total)
                       .arg(folder);
    QString reason;
    if (first.failure)
        reason = failureReason(first.failure);
    else if (first.result.saved)
        reason = QCoreApplication::translate("SaveAll", "it was written, but is gone since");
    else
        reason = first.result.reason;
    text += first.jpegPath.isEmpty()
                ? QStringLiteral("\n\n%1.").arg(reason)
                : QStringLiteral("\n\n%1: %2.").arg(FileNames::fileNameOf(first.jpegPath), reason);
    if (outcome.kept > 0)
        text += QCoreApplication::translate("SaveAll", "\n\n%1 of them could not be converted "
                                                       "and are kept there as BMP files.")
                    .arg(outcome.kept);
    return text;
}

// What the closing message says; until the run has told, it failed.
struct Summary {
    bool allSaved = false;
    QString failure;
};
} // namespace

void mnuFileSaveAll_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    Platform& platform = env.platform;
    IMainWindow& window = env.window;
    QString folder = Module1::BrowseForFolder(
        platform.dialogs,
        QCoreApplication::translate("SaveAll",
                                    "Select folder where you want to save all the images:"),
        &window);
    if (folder.isEmpty()) {
        g.IgnoreClipboard = false;
        return;
    }
    folder = FileNames::withTrailingSlash(folder);
    // The pictures as they are now: captures that arrive while these are written
    // change the gallery, not this run.
    auto jobs = std::make_shared<std::vector<Job>>();
    const int top = g.topIndex();
    for (int i = 0; i <= top; ++i) {
        const Picture& picture = g.imgView(i).picture;
        // Entries without a picture are skipped, not failures.
        if (picture.isNull() || picture.isEmpty())
            continue;
        jobs->push_back({i, picture, {}, {}, {}});
    }
    runJob<Summary>(
        env,
        [jobs, &platform, folder, decimalPoint = QLocale().decimalPoint()] {
            runJobs(*jobs, platform, folder, decimalPoint);
            const Outcome outcome = outcomeOf(*jobs, platform.files);
            Summary summary;
            summary.allSaved = outcome.failed == 0;
            if (!summary.allSaved)
                summary.failure = failureText(outcome, jobs->size(), folder);
            return summary;
        },
        [&g, &platform, &window, folder](JobOutcome<Summary>& outcome) {
            if (outcome.succeeded() && outcome.value().allSaved)
                platform.messages.information(
                    &window, QCoreApplication::translate("SaveAll", "Save all is done."),
                    QStringLiteral("Pictavo"));
            else if (outcome.succeeded())
                platform.messages.warning(&window, outcome.value().failure,
                                          QStringLiteral("Pictavo"));
            else
                platform.messages.warning(
                    &window,
                    QCoreApplication::translate("SaveAll", "Save all into %1 did not finish: %2.")
                        .arg(folder, failureReason(outcome.failure())),
                    QStringLiteral("Pictavo"));
            g.IgnoreClipboard = false;
        });
}
