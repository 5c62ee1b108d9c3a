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

QString failureText(const std::vector<Job>& jobs, const QString& folder) {
    int failed = 0;
    int kept = 0;
    const Job* first = nullptr;
    for (const Job& job : jobs) {
        if (job.result.saved)
            continue;
        ++failed;
        if (!job.result.keptBmp.isEmpty())
            ++kept;
        if (!first)
            first = &job;
    }
    QString text = QStringLiteral("%1 of %2 pictures were not saved in %3.")
                       .arg(failed)
                       .arg(jobs.size())
                       .arg(folder);
    text += QStringLiteral("\n\n%1: %2.")
                .arg(FileNames::fileNameOf(first->jpegPath), first->result.reason);
    if (kept > 0)
        text += QStringLiteral("\n\n%1 of them could not be converted and are kept there as "
                               "BMP files.")
                    .arg(kept);
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

        const bool allSaved =
            std::all_of(jobs.begin(), jobs.end(), [](const Job& j) { return j.result.saved; });
        if (allSaved)
            platform.messages.information(&env.window, QStringLiteral("Save all is done."),
                                          QStringLiteral("Pictavo"));
        else
            platform.messages.warning(&env.window, failureText(jobs, folder),
                                      QStringLiteral("Pictavo"));
    }
    g.IgnoreClipboard = false;
}
