#include "commands/commands.h"
#include "commands/picture_prefetch.h"
#include "dialogs/module1.h"

#include <QCoreApplication>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

namespace {

enum class Loading { Continue, Stop };

struct Failure {
    QString path;
    QString reason;
};

// Names the entry that received picture with its file, if it still holds it:
// during the yield a capture may have been appended after it, or a Delete or
// Clear may have moved or removed it, and no other entry may take its name.
void nameEntry(Gallery& g, int index, const Picture& picture, const QString& path) {
    if (g.exists(index) && g.imgView(index).picture.sameAs(picture))
        g.imgView(index).toolTipText = path;
}

// The gallery's repaint, shown at most once a frame, and the count in the caption,
// a few times a second: pictures that load faster than that would otherwise spend
// more time on the window (and on the window manager, which draws every new title)
// than on loading. What was skipped is shown before the Browse waits for a file or
// ends, so the window is never more than a frame behind.
class Progress {
public:
    explicit Progress(CommandEnv& env) : m_env(env) {}
    void added() {
        m_pending = true;
        m_count = m_env.gallery.ImageCount;
        const std::int64_t now = m_env.platform.clock.monotonicMs();
        if (now - m_captionAt >= kCaptionMs)
            showCaption(now);
        if (now - m_galleryAt >= kFrameMs)
            showGallery(now);
    }
    void show() {
        const std::int64_t now = m_env.platform.clock.monotonicMs();
        if (m_count != m_captionCount)
            showCaption(now);
        if (m_pending)
            showGallery(now);
    }

private:
    void showCaption(std::int64_t now) {
        m_captionAt = now;
        m_captionCount = m_count;
        m_env.window.setCaption(
            QCoreApplication::translate("Browse", "Loading Image %1").arg(m_count));
    }
    void showGallery(std::int64_t now) {
        m_galleryAt = now;
        m_pending = false;
        m_env.window.galleryChanged();
    }

    static constexpr std::int64_t kFrameMs = 16;
    static constexpr std::int64_t kCaptionMs = 100;
    static constexpr std::int64_t kLongAgo = std::numeric_limits<std::int64_t>::min() / 2;
    CommandEnv& m_env;
    std::int64_t m_galleryAt = kLongAgo;
    std::int64_t m_captionAt = kLongAgo;
    int m_count = 0; // read right after the add, as a capture may come in later
    int m_captionCount = 0;
    bool m_pending = false;
};

// The files of folder that match pattern, loading on other cores ahead of the one
// shown; the results still come in list order, so every step below sees them one by one.
struct Files {
    QStringList paths;
    std::unique_ptr<PicturePrefetch> prefetch;
};

Files startLoading(CommandEnv& env, const QString& folder, const char* pattern) {
    Files files;
    for (const QString& name : env.platform.files.listFiles(folder, QString::fromLatin1(pattern)))
        files.paths.append(folder + name);
    files.prefetch = std::make_unique<PicturePrefetch>(env.platform.pictures, files.paths,
                                                       PicturePrefetch::defaultAhead(), env.loads);
    return files;
}

Loading loadFiles(CommandEnv& env, Files files, Progress& progress,
                  std::optional<Failure>& failure) {
    Gallery& g = env.gallery;
    IMainWindow& window = env.window;
    PicturePrefetch& prefetch = *files.prefetch;
    for (const QString& path : files.paths) {
        // The window paints and answers while the file loads. Esc stops the
        // Browse at once: the file being loaded is dropped, not added.
        std::optional<LoadedPicture> loaded = prefetch.takeNext([&window, &g, &progress] {
            progress.show();
            window.processEvents();
            return !g.StopLoading;
        });
        if (!loaded)
            return Loading::Stop;
        const Picture picture = loaded->picture;
        if (picture.isNull()) {
            failure = Failure{path, loaded->error};
            return Loading::Stop;
        }
        const bool room = g.AddImage(picture);
        const int filled = g.ImageCount - 1;
        if (!room) {
            // The picture went into entry 0, which still bears the first file's name.
            nameEntry(g, filled, picture, path);
            return Loading::Stop;
        }
        progress.added();
        window.processEvents();
        nameEntry(g, filled, picture, path);
        if (g.StopLoading)
            return Loading::Stop;
    }
    return Loading::Continue;
}

} // namespace

void mnuFileBrowse_Click(CommandEnv& env) {
    Gallery& g = env.gallery;
    IMainWindow& window = env.window;
    std::optional<Failure> failure;
    window.setMenuEnabled(Command::Browse, false);
    QString folder = Module1::BrowseForFolder(
        env.platform.dialogs, QCoreApplication::translate("Browse", "Select the desired folder:"),
        &window);
    if (!folder.isEmpty()) {
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        // The first files load while the gallery is cleared: freeing a full gallery
        // takes a while, and the cores would stand idle meanwhile.
        Files first = startLoading(env, folder, "*.jpg");
        mnuImageClear_Click(env);
        g.StopLoading = false;
        window.setBusyPointer(true);
        window.setCaption(QCoreApplication::translate("Browse", "Loading Images..."));
        Progress progress(env);
        if (loadFiles(env, std::move(first), progress, failure) == Loading::Continue) {
            for (const char* pattern : {"*.bmp", "*.gif"}) {
                if (loadFiles(env, startLoading(env, folder, pattern), progress, failure) ==
                    Loading::Stop)
                    break;
            }
        }
        progress.show();
    }
    window.setCaption(QStringLiteral("Pictavo"));
    // A command started while the folder loaded may still be at work.
    window.setBusyPointer(env.jobs && env.jobs->running());
    window.setMenuEnabled(Command::Browse, true);
    // Stopping silently would pass a partly loaded folder off as the whole of it.
    if (failure) {
        env.platform.messages.warning(
            &window,
            QCoreApplication::translate("Browse",
                                        "Loading stopped at \"%1\", which could not be opened: %2.")
                .arg(failure->path, failure->reason.isEmpty() ? QCoreApplication::translate(
                                                                    "Browse", "it is not a picture")
                                                              : failure->reason),
            QStringLiteral("Pictavo"));
    }
}
