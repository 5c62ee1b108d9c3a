#include "commands/commands.h"
#include "commands/file_names.h"
#include "commands/picture_output.h"
#include "dialogs/module1.h"

#include <QLocale>
#include <algorithm>
#include <atomic>
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
    QString text = QStringLiteral("%1 of %2 pictures were not saved in %3.")
                       .arg(outcome.failed)
                       .arg(total)
                       .arg(folder);
    text += QStringLiteral("\n\n%1: %2.")
                .arg(FileNames::fileNameOf(first.jpegPath),
                     first.result.saved ? QStringLiteral("it was written, but is gone since")
                                        : first.result.reason);
    if (outcome.kept > 0)
        text += QStringLiteral("\n\n%1 of them could not be converted and are kept there as "
                               "BMP files.")
                    .arg(outcome.kept);
    return text;
}
} // namespace

void mnuFileSaveAll_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    Platform& platform = env.platform;
    QString folder = Module1::BrowseForFolder(
        platform.dialogs, QStringLiteral("Select folder where you want to save all the images:"),
        &env.window);
    if (!folder.isEmpty()) {
        folder = FileNames::withTrailingSlash(folder);
        // Entries without a picture are skipped, not failures.
        std::vector<Job> jobs;
        const int top = g.topIndex();
        for (int i = 0; i <= top; ++i) {
            const Picture& picture = g.imgView(i).picture;
            if (picture.isNull() || picture.isEmpty())
                continue;
            jobs.push_back({i, picture, {}, {}});
        }
        runJobs(jobs, platform, folder, QLocale().decimalPoint());

        const Outcome outcome = outcomeOf(jobs, platform.files);
        if (outcome.failed == 0)
            platform.messages.information(&env.window, QStringLiteral("Save all is done."),
                                          QStringLiteral("Pictavo"));
        else
            platform.messages.warning(&env.window, failureText(outcome, jobs.size(), folder),
                                      QStringLiteral("Pictavo"));
    }
    g.IgnoreClipboard = false;
}
