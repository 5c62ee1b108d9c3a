#include "commands/commands.h"
#include "commands/file_names.h"
#include "commands/picture_output.h"
#include "dialogs/module1.h"

#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
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
};

// Writes every job, the calling thread included among the workers; the
// window stays blocked until all are done.
void runJobs(std::vector<Job>& jobs, Platform& platform, const QString& folder,
             const QString& decimalPoint) {
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t k = next++; k < jobs.size(); k = next++) {
            Job& job = jobs[k];
            // Date and time are read afresh for each picture.
            job.jpegPath = FileNames::saveAllBaseName(folder, job.index, platform.clock.localNow(),
                                                      decimalPoint) +
                           QStringLiteral(".jpg");
            job.result = writeJpegFile(platform, job.picture, job.jpegPath);
        }
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t helpers = std::min<std::size_t>(std::min(cores, kMaxWorkers), jobs.size());
    std::vector<std::jthread> threads;
    for (std::size_t t = 1; t < helpers; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer workers, same result
        }
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
    text +=
        QStringLiteral("\n\n%1: %2.")
            .arg(FileNames::fileNameOf(first.jpegPath),
                 first.result.saved
                     ? QCoreApplication::translate("SaveAll", "it was written, but is gone since")
                     : first.result.reason);
    if (outcome.kept > 0)
        text += QCoreApplication::translate("SaveAll", "\n\n%1 of them could not be converted "
                                                       "and are kept there as BMP files.")
                    .arg(outcome.kept);
    return text;
}
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
        jobs->push_back({i, picture, {}, {}});
    }
    auto message = std::make_shared<QString>();
    auto failed = std::make_shared<bool>(false);
    runJob(
        env,
        [jobs, &platform, folder, decimalPoint = QLocale().decimalPoint(), message, failed] {
            runJobs(*jobs, platform, folder, decimalPoint);
            const Outcome outcome = outcomeOf(*jobs, platform.files);
            *failed = outcome.failed > 0;
            if (*failed)
                *message = failureText(outcome, jobs->size(), folder);
            // The pictures are not held past their writing.
            jobs->clear();
        },
        [&g, &platform, &window, message, failed] {
            if (!*failed)
                platform.messages.information(
                    &window, QCoreApplication::translate("SaveAll", "Save all is done."),
                    QStringLiteral("Pictavo"));
            else
                platform.messages.warning(&window, *message, QStringLiteral("Pictavo"));
            g.IgnoreClipboard = false;
        });
}
