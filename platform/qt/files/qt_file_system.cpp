#include "platform/qt/files/qt_file_system.h"

#include "platform/qt/files/system_error.h"
#include "platform/temporary_files.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

// Length of the valid UTF-8 sequence at s (at most n bytes), or 0 when it is
// not valid: overlong forms, surrogates and code points past U+10FFFF included.
int validUtf8Length(const unsigned char* s, qsizetype n) {
    const unsigned char c = s[0];
    int len = 0;
    char32_t cp = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xc2 && c <= 0xdf) {
        len = 2;
        cp = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
        len = 3;
        cp = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (n < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xc0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i] & 0x3f);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10ffff ||
        (cp >= 0xd800 && cp <= 0xdfff))
        return 0;
    return len;
}

constexpr char16_t kEscapeBase = 0xdc00;

// When this run began: temporary files older than this are leftovers of an earlier one.
const timespec kStartedAt = [] {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}();

bool isBefore(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

bool isEscapedByte(char16_t c) {
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xff;
}

} // namespace

QString decodeFileName(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int len = validUtf8Length(s + i, n - i);
        if (len == 0) {
            out.append(QChar(char16_t(kEscapeBase + s[i])));
            ++i;
        } else {
            out.append(QString::fromUtf8(bytes.constData() + i, len));
            i += len;
        }
    }
    return out;
}

QByteArray encodeFileName(const QString& name) {
    QByteArray out;
    out.reserve(name.size());
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            out.append(QStringView(name).mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        // A lone escape (not part of a surrogate pair) stands for one raw byte.
        const bool pairedLow = i > 0 && QChar::isHighSurrogate(name.at(i - 1).unicode());
        if (isEscapedByte(c) && !pairedLow) {
            flush(i);
            out.append(char(c - kEscapeBase));
            runStart = i + 1;
        }
    }
    flush(name.size());
    return out;
}

std::int64_t QtFileSystem::fileLength(const QString& path) const {
    struct stat st {};
    if (::stat(encodeFileName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return st.st_size;
}

bool QtFileSystem::remove(const QString& path) {
    return ::unlink(encodeFileName(path).constData()) == 0;
}

bool QtFileSystem::renameNew(const QString& from, const QString& to, QString* error) {
    const QByteArray source = encodeFileName(from);
    const QByteArray target = encodeFileName(to);
    int result =
        ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without that flag: a hard link fails on an existing name too.
        result = ::link(source.constData(), target.constData());
        if (result == 0)
            ::unlink(source.constData());
    }
    if (result == 0)
        return true;
    if (error)
        *error = systemError(errno);
    return false;
}

QString QtFileSystem::saveTarget(const QString& path, QString* error) const {
    return resolveSaveTarget(path, error);
}

QString resolveSaveTarget(const QString& path, QString* error) {
    const QByteArray bytes = encodeFileName(path);
    // Renaming over a file needs only the folder's permission: a file the user
    // made read-only stays as it is.
    const auto writable = [&](const QByteArray& target, const QString& name) -> QString {
        if (::access(target.constData(), F_OK) == 0 && ::access(target.constData(), W_OK) != 0) {
            if (error)
                *error =
                    QCoreApplication::translate("Files", "the existing file is not writable (%1)")
                        .arg(systemError(errno));
            return {};
        }
        return name;
    };
    struct stat st {};
    if (::lstat(bytes.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return writable(bytes, path);
    // The file at the end of the chain of links; the link itself is left as it is.
    const std::unique_ptr<char, void (*)(void*)> real(::realpath(bytes.constData(), nullptr),
                                                      ::free);
    if (!real) {
        if (error)
            *error = QCoreApplication::translate("Files", "it is a link that leads to no file (%1)")
                         .arg(systemError(errno));
        return {};
    }
    const QByteArray target(real.get());
    return writable(target, decodeFileName(target));
}

void removeOwnLeftovers(const QString& folder) {
    QByteArray dirPath = encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder);
    while (dirPath.size() > 1 && dirPath.endsWith('/'))
        dirPath.chop(1);
    // Leftovers come only from earlier runs, so a folder once cleaned stays clean.
    static std::mutex lock;
    static QSet<QByteArray> cleaned;
    {
        std::lock_guard guard(lock);
        if (cleaned.contains(dirPath))
            return;
        cleaned.insert(dirPath);
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dirPath.constData()), ::closedir);
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryName(entry->d_name))
            continue;
        // Files of this run, a Save All's workers' included, are newer and stay.
        struct stat st {};
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            isBefore(st.st_mtim, kStartedAt))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
}

QStringList QtFileSystem::listFiles(const QString& folder, const QString& pattern) const {
    // readdir, not QDir: QDir silently leaves out names that are not valid
    // UTF-8, and such a name could not be opened again from its decoded text.
    const QByteArray dirPath = encodeFileName(folder.isEmpty() ? QStringLiteral(".") : folder);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dirPath.constData()), ::closedir);
    if (!dir)
        return {};
    const QByteArray mask = encodeFileName(pattern);
    const int dirFd = ::dirfd(dir.get());
    QStringList names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (name[0] == '.')
            continue; // hidden, and "." and ".."
        if (::fnmatch(mask.constData(), name, FNM_CASEFOLD | FNM_PERIOD) != 0)
            continue;
        // stat follows links: a link to an ordinary file counts as one.
        struct stat st {};
        if (::fstatat(dirFd, name, &st, 0) != 0 || !S_ISREG(st.st_mode))
            continue;
        names.append(decodeFileName(QByteArray(name)));
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

QString QtFileSystem::uniqueName(const QString& folder, const QString& stem,
                                 const QString& suffix) const {
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    for (;;) {
        const QString candidate =
            base + stem + QString::number(QRandomGenerator::global()->generate(), 36) + suffix;
        struct stat st {};
        if (::lstat(encodeFileName(candidate).constData(), &st) != 0)
            return candidate;
    }
}
