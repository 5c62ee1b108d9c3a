// In-memory stand-ins for every platform interface, recording what the logic asked.
#pragma once

#include "pictures/pixel_fingerprint.h"
#include "platform/main_window.h"
#include "platform/platform.h"
#include "viewers/viewer_host.h"

#include <QMap>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

/** The clipboard as the X side reports it: owners are programs with connections, and
    the facts of each offer follow from what happened, not from the test's say-so. */
class FakeClipboard final : public IClipboard {
public:
    Picture content;         // what a read would return
    bool offered = false;    // whether an image is announced
    bool unreadable = false; // offered, but the transfer fails
    int looks = 0;
    int reads = 0;
    int clears = 0;
    bool refuseSet = false;
    /** When set, answers are held until answerHeld() runs, like a slow owner. */
    bool holdAnswers = false;
    std::function<void()> held;
    std::function<void()> changed;
    /** Runs after every clear, like a clipboard manager that puts things back. */
    std::function<void(FakeClipboard&)> afterClear;

    /** The steady clock offers are stamped with; tests move it. */
    std::int64_t nowMs = 0;
    /** The program holding the clipboard manager's role. */
    std::uint64_t managerClient = 0;
    /** False where the side names no client (Wayland's data control). */
    bool namesClients = true;
    /** False where the server cannot list its clients (no X-Resource). */
    bool listsClients = true;
    /** Whether the side tells of presses; press() is a person's key or click. */
    bool tellsPresses = true;
    void press() { m_pressed = m_pressedSinceOwn = true; }

    /** A program connects; its copies carry the number returned. */
    std::uint64_t connect() {
        m_connected.push_back(++m_lastClient);
        return m_lastClient;
    }
    void disconnect(std::uint64_t client) {
        m_connected.erase(std::remove(m_connected.begin(), m_connected.end(), client),
                          m_connected.end());
    }

    /** A program's picture; by is its connection, 0 for one never named. */
    void put(const Picture& p, std::uint64_t by = 0) {
        ++generation;
        content = p;
        offered = true;
        unreadable = false;
        own = false;
        m_by = by;
        m_owners.push_back(by);
        m_offeredAt = nowMs;
        m_first = std::exchange(m_sinceOurEmptying, false);
        m_afterOurEmptying = m_first ? nowMs - m_emptiedAt : -1;
        m_pressedBefore = m_first && std::exchange(m_pressed, false);
    }
    /** Another program empties the clipboard. */
    void emptyByOther() {
        ++generation;
        offered = false;
        content = Picture();
        own = false;
        m_first = false;
    }
    bool own = false;
    void look(bool readImage, std::function<void(ClipboardContent)> done) override {
        ++looks;
        ClipboardContent c;
        c.ownership = std::uint64_t(generation);
        c.own = own;
        c.firstAfterOurEmptying = m_first;
        c.afterOurEmptyingMs = m_first ? m_afterOurEmptying : -1;
        c.offeredAtMs = m_offeredAt;
        if (m_first && tellsPresses)
            c.pressedSinceOurEmptying =
                m_pressedBefore ? ClipboardContent::Pressed::Yes : ClipboardContent::Pressed::No;
        if (namesClients) {
            for (std::size_t i = m_ownersAtTake; i < m_owners.size(); ++i)
                c.anotherOwnerSinceTake =
                    c.anotherOwnerSinceTake || (m_owners[i] != 0 && m_owners[i] != m_by);
            using Connected = ClipboardContent::Offerer::Connected;
            c.offerer.client = m_by;
            c.offerer.manager = m_by != 0 && m_by == managerClient;
            if (listsClients && m_atTake)
                c.offerer.atLastTake = std::count(m_atTake->begin(), m_atTake->end(), m_by)
                                           ? Connected::Yes
                                           : Connected::No;
        }
        if (offered) {
            c.state = ClipboardContent::State::Bitmap;
            if (readImage) {
                ++reads;
                m_ownersAtLook = m_owners.size();
                if (unreadable) {
                    c.state = ClipboardContent::State::Unreadable;
                } else {
                    c.picture = content;
                    c.fingerprint = pixelFingerprint(content.toImage());
                    bool onlyThis = m_ownFingerprint != 0 && !own && !m_pressedSinceOwn;
                    for (std::size_t i = m_ownersAtOwn; i < m_owners.size(); ++i)
                        onlyThis = onlyThis && m_owners[i] == m_by;
                    c.ourCopyHeld = onlyThis && c.fingerprint == m_ownFingerprint;
                }
            }
        }
        if (holdAnswers) {
            held = [done, c] { done(c); };
            return;
        }
        done(c);
    }
    void answerHeld() {
        auto h = std::move(held);
        held = nullptr;
        if (h)
            h();
    }
    void clear() override {
        ++clears;
        offered = false;
        own = false;
        m_first = false;
        content = Picture();
        if (afterClear)
            afterClear(*this);
    }
    /** Content put since the last look: a clearTaken then leaves it. */
    int generation = 0;
    void clearTaken(const ClipboardContent& taken) override {
        m_atTake = m_connected;
        m_ownersAtTake = m_ownersAtLook;
        if (taken.ownership != std::uint64_t(generation))
            return;
        m_sinceOurEmptying = true;
        m_pressed = false;
        m_emptiedAt = nowMs;
        clear();
    }
    void keepTaken(const ClipboardContent&) override {
        m_atTake = m_connected;
        m_ownersAtTake = m_ownersAtLook;
    }
    bool setPicture(const Picture& p) override {
        if (refuseSet || p.isNull() || p.isEmpty())
            return false;
        put(p);
        own = true;
        m_ownFingerprint = pixelFingerprint(p.toImage());
        m_ownersAtOwn = m_owners.size();
        m_pressedSinceOwn = false;
        return true;
    }
    void setChangeHandler(std::function<void()> h) override { changed = std::move(h); }

private:
    std::uint64_t m_lastClient = 0;
    std::vector<std::uint64_t> m_connected;
    std::optional<std::vector<std::uint64_t>> m_atTake;
    std::uint64_t m_by = 0;
    std::int64_t m_offeredAt = -1;
    bool m_first = false;
    std::int64_t m_emptiedAt = 0;
    std::int64_t m_afterOurEmptying = -1;
    bool m_sinceOurEmptying = false;
    bool m_pressed = false;
    bool m_pressedBefore = false;
    std::uint64_t m_ownFingerprint = 0;
    std::size_t m_ownersAtOwn = 0;
    bool m_pressedSinceOwn = false;
    // Who put each content, and how many of them came before the look that read the
    // picture last taken.
    std::vector<std::uint64_t> m_owners;
    std::size_t m_ownersAtLook = 0;
    std::size_t m_ownersAtTake = 0;
};

class FakeClock final : public IClock {
public:
    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(14, 32, 25, 670));
    std::int64_t ms = 1000000;
    QDateTime localNow() const override { return now; }
    std::int64_t monotonicMs() const override { return ms; }
};

/** Files are names mapped to their contents. Save All writes from several threads:
    every call takes the lock; the test reads `files` while no job runs. */
class FakeFileSystem final : public IFileSystem {
public:
    QMap<QString, QByteArray> files;
    int uniqueCounter = 0;
    mutable std::recursive_mutex lock;

    std::int64_t fileLength(const QString& path) const override {
        std::lock_guard held(lock);
        return files.contains(path) ? files.value(path).size() : -1;
    }
    bool remove(const QString& path) override {
        std::lock_guard held(lock);
        return files.remove(path) > 0;
    }
    bool renameNew(const QString& from, const QString& to, QString* error) override {
        std::lock_guard held(lock);
        if (files.contains(to)) {
            if (error)
                *error = QStringLiteral("File exists");
            return false;
        }
        if (!files.contains(from)) {
            if (error)
                *error = QStringLiteral("No such file or directory");
            return false;
        }
        files[to] = files.take(from);
        return true;
    }
    QString saveTarget(const QString& path, QString*) const override { return path; }
    QStringList listFiles(const QString& folder, const QString& pattern) const override {
        std::lock_guard held(lock);
        const QString suffix = pattern.mid(1).toLower(); // "*.jpg" -> ".jpg"
        QStringList out;
        for (auto it = files.begin(); it != files.end(); ++it) {
            QString f = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
            if (!it.key().startsWith(f))
                continue;
            const QString name = it.key().mid(f.size());
            if (!name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('.')) &&
                name.toLower().endsWith(suffix))
                out.append(name);
        }
        return out;
    }
    QString uniqueName(const QString& folder, const QString& stem,
                       const QString& suffix) const override {
        std::lock_guard held(lock);
        auto* self = const_cast<FakeFileSystem*>(this);
        QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
        return base + stem + QString::number(++self->uniqueCounter) + suffix;
    }
};

/** The converter's file as a hidden name in the fake folder, gone with the object. */
class FakeIntermediateBmp final : public IntermediateBmp {
public:
    FakeIntermediateBmp(FakeFileSystem& fs, QString path) : m_fs(fs), m_path(std::move(path)) {}
    ~FakeIntermediateBmp() override {
        if (!m_kept)
            m_fs.remove(m_path);
    }
    QString path() const override { return m_path; }
    bool keepAs(const QString& name, QString* error) override {
        m_kept = m_fs.renameNew(m_path, name, error);
        return m_kept;
    }

private:
    FakeFileSystem& m_fs;
    QString m_path;
    bool m_kept = false;
};

/** Pictures are kept by path; writes store a marker the loads can read back. */
class FakePictureFiles final : public IPictureFiles {
public:
    FakeFileSystem& fs;
    QMap<QString, Picture> readable; // path -> picture that loads from it
    QStringList failWritesUnder;     // folders where writes fail
    QStringList loads;
    std::function<void()> whileLoading; // runs in load(), on the loading thread
    explicit FakePictureFiles(FakeFileSystem& f) : fs(f) {}

    Picture load(const QString& path, QString* error) override {
        if (whileLoading)
            whileLoading();
        // Browse loads ahead on worker threads.
        std::lock_guard held(fs.lock);
        loads.append(path);
        if (readable.contains(path))
            return readable.value(path);
        if (error)
            *error = QStringLiteral("not a picture");
        return {};
    }
    bool writeBmp(const Picture& picture, const QString& path, QString* error) override {
        for (const QString& folder : failWritesUnder) {
            if (path.startsWith(folder)) {
                if (error)
                    *error = QStringLiteral("Permission denied");
                return false;
            }
        }
        if (picture.isNull() || picture.isEmpty()) {
            if (error)
                *error = QStringLiteral("there is no picture to save");
            return false;
        }
        std::lock_guard held(fs.lock);
        fs.files[path] = QByteArray("BM") + QByteArray::number(picture.width());
        readable[path] = picture;
        return true;
    }
    std::unique_ptr<IntermediateBmp> writeIntermediateBmp(const Picture& picture,
                                                          const QString& folder,
                                                          QString* error) override {
        const QString path = fs.uniqueName(folder, QStringLiteral(".pictavo-"),
                                           QStringLiteral(".tmp"));
        if (!writeBmp(picture, path, error))
            return nullptr;
        return std::make_unique<FakeIntermediateBmp>(fs, path);
    }
};

class FakeDialogs final : public IDialogs {
public:
    struct Call {
        QString kind; // "save", "open", "folder"
        QList<FileFilter> filters;
        QString title;
        QString folder;
        QString defaultName;
        IWindow* owner = nullptr;
    };
    std::vector<Call> calls;
    std::deque<QString> answers; // "" = cancel

    QString next() {
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    QString saveFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                     const QString& folder, const QString& defaultName) override {
        calls.push_back({QStringLiteral("save"), filters, title, folder, defaultName, owner});
        return next();
    }
    QString openFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                     const QString& folder) override {
        calls.push_back({QStringLiteral("open"), filters, title, folder, {}, owner});
        return next();
    }
    QString chooseFolder(IWindow* owner, const QString& prompt) override {
        calls.push_back({QStringLiteral("folder"), {}, prompt, {}, {}, owner});
        return next();
    }
};

class FakeMessageBox final : public IMessageBox {
public:
    struct Shown {
        QString kind, text, title;
    };
    std::vector<Shown> shown;
    void information(IWindow*, const QString& text, const QString& title) override {
        shown.push_back({QStringLiteral("information"), text, title});
    }
    void warning(IWindow*, const QString& text, const QString& title) override {
        shown.push_back({QStringLiteral("warning"), text, title});
    }
};

class FakeShell final : public IShell {
public:
    QStringList opened;
    bool openUrl(const QString& url) override {
        opened.append(url);
        return true;
    }
};

class FakePrinter final : public IPrinter {
public:
    bool present = true;
    bool failDrawing = false; // as when the picture cannot be decoded
    float pageWidth = 11520, pageHeight = 15840;
    struct Drawn {
        Picture picture;
        float x, y, w, h;
    };
    std::vector<Drawn> drawn;
    int documentsEnded = 0;
    bool pageSizeTwips(float* w, float* h) override {
        if (!present)
            return false;
        *w = pageWidth;
        *h = pageHeight;
        return true;
    }
    std::function<void()> whileDrawing; // may throw
    bool drawPicture(const Picture& p, float x, float y, float w, float h) override {
        if (whileDrawing)
            whileDrawing();
        if (!present || failDrawing || p.isNull() || p.isEmpty())
            return false;
        drawn.push_back({p, x, y, w, h});
        return true;
    }
    bool endDocument() override {
        if (!present)
            return false;
        ++documentsEnded;
        return true;
    }
};

class FakeConverter final : public IConverter {
public:
    FakeFileSystem& fs;
    bool works = true;
    std::vector<std::pair<QString, QString>> calls;
    explicit FakeConverter(FakeFileSystem& f) : fs(f) {}
    std::function<void(const QString& jpeg)> whileConverting; // may throw
    bool BmpToJpeg(const QString& bmp, const QString& jpeg, int, QString* error) override {
        std::lock_guard held(fs.lock);
        calls.emplace_back(bmp, jpeg);
        if (whileConverting)
            whileConverting(jpeg);
        if (!works || fs.fileLength(bmp) <= 0) {
            if (error)
                *error = QStringLiteral("the JPEG converter failed");
            return false;
        }
        fs.files[jpeg] = QByteArray("JPEG of ") + fs.files.value(bmp);
        return true;
    }
};

class FakeMainWindow final : public IMainWindow {
public:
    std::int32_t outerWidth = 9480 + 120;
    std::int32_t outerHeight = 6795 + 405;
    QString title = QStringLiteral("Pictavo - [Use PrintScreen key to capture screen]");
    QStringList captions;      // every caption set, in order
    std::vector<bool> pointer; // every busy pointer change
    bool busy = false;
    int menusShown = 0;
    std::vector<std::optional<QPoint>> keyboardMenus; // where each opened from the keyboard
    int repaints = 0;
    int eventPumps = 0;
    std::map<Command, bool> disabled;
    std::function<void()> onProcessEvents;

    std::int32_t outerWidthTwips() const override { return outerWidth; }
    std::int32_t outerHeightTwips() const override { return outerHeight; }
    QString caption() const override { return title; }
    void setCaption(const QString& c) override {
        title = c;
        captions.append(c);
    }
    void setBusyPointer(bool b) override {
        busy = b;
        pointer.push_back(b);
    }
    void popupMenu() override { ++menusShown; }
    void popupMenuAt(std::optional<QPoint> at) override { keyboardMenus.push_back(at); }
    void setMenuEnabled(Command c, bool enabled) override { disabled[c] = !enabled; }
    bool isMenuEnabled(Command c) const override {
        auto it = disabled.find(c);
        return it == disabled.end() || !it->second;
    }
    void processEvents() override {
        ++eventPumps;
        if (onProcessEvents)
            onProcessEvents();
    }
    void galleryChanged() override { ++repaints; }
    void close() override {}
};

class FakeViewerHost final : public ViewerHost {
public:
    struct Zoom {
        Picture picture;
        QString caption;
        int shift;
    };
    std::vector<Zoom> zooms;
    std::vector<Picture> fullScreens;
    QStringList fullScreenNames;
    int closedAll = 0;
    void showInZoom(const Picture& p, const QString& c, int shift) override {
        zooms.push_back({p, c, shift});
    }
    void showFullScreen(const Picture& p, const QString& name) override {
        fullScreens.push_back(p);
        fullScreenNames.append(name);
    }
    void closeAll() override { ++closedAll; }
};

/** The whole fake platform in one object. */
struct FakePlatform {
    FakeClipboard clipboard;
    FakeClock clock;
    FakeFileSystem files;
    FakePictureFiles pictures{files};
    FakeDialogs dialogs;
    FakeMessageBox messages;
    FakeShell shell;
    FakePrinter printer;
    FakeConverter converter{files};
    Platform platform{clipboard, clock, files,   pictures, dialogs,
                      messages,  shell, printer, converter};
};

/** A solid picture of the given size, distinguishable by its colour. */
inline Picture solidPicture(int w, int h, QRgb colour = 0xff336699) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return Picture::fromImage(image);
}
