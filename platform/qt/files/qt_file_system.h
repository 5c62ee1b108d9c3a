#pragma once

#include "platform/file_system.h"

#include <QByteArray>
#include <QString>

class QtFileSystem final : public IFileSystem {
public:
    std::int64_t fileLength(const QString& path) const override;
    bool remove(const QString& path) override;
    bool renameNew(const QString& from, const QString& to, QString* error) override;
    QString saveTarget(const QString& path, QString* error) const override;
    QStringList listFiles(const QString& folder, const QString& pattern) const override;
    QString uniqueName(const QString& folder, const QString& stem,
                       const QString& suffix) const override;
};

/** A file name's bytes as text. Valid UTF-8 decodes as usual; every byte of an
    invalid sequence becomes the lone surrogate U+DC00 + byte, so that
    encodeFileName gives back exactly the bytes on disk. */
QString decodeFileName(const QByteArray& bytes);
/** The inverse of decodeFileName; equal to QFile::encodeName for ordinary text. Every
    path that reaches the file system or the converter is encoded with it. */
QByteArray encodeFileName(const QString& name);

/** QtFileSystem::saveTarget, for the picture writer. */
QString resolveSaveTarget(const QString& path, QString* error);

/** Removes the program's own temporary files that a crashed earlier run left in folder:
    names of its temporary pattern only, older than this run. Looks at each folder once. */
void removeOwnLeftovers(const QString& folder);
