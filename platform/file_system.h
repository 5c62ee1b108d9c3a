#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

/** The few file-system operations the commands need. fileLength, remove, renameNew,
    saveTarget and uniqueName are safe to call from several threads at once (Save All's
    workers). */
class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    /** Length in bytes, or -1 when it cannot be read. */
    virtual std::int64_t fileLength(const QString& path) const = 0;
    virtual bool remove(const QString& path) = 0;
    /** Ordinary, non-hidden files of folder whose names match pattern
        case-insensitively, in name order. */
    virtual QStringList listFiles(const QString& folder, const QString& pattern) const = 0;
    /** Moves from to the name to, which must be free: a file there is never replaced. */
    virtual bool renameNew(const QString& from, const QString& to, QString* error) = 0;
    /** The file that a save at path replaces: path itself, or the file that a link
        there leads to, which is then replaced in its own folder while the link stays.
        "" with the reason when the link leads to no file, or when the file there is
        not writable. */
    virtual QString saveTarget(const QString& path, QString* error) const = 0;
    /** A name in folder that no file has yet, ending in suffix. */
    virtual QString uniqueName(const QString& folder, const QString& stem,
                               const QString& suffix) const = 0;
};
