#include "platform/qt/files/private_files.h"

#include "platform/qt/files/system_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#ifndef PICTAVO_PRIVATE_DIR_FROM_BIN
#error "the build sets PICTAVO_PRIVATE_DIR_FROM_BIN"
#endif

namespace {


} // namespace

QString privateFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(PICTAVO_PRIVATE_DIR_FROM_BIN));
}

QString privateFile(const QString& name) { return privateFolder() + QLatin1Char('/') + name; }

QString privateFileProblem(const QString& what, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray folderName = QFile::encodeName(folder);
    struct stat st {};
    if (::stat(folderName.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return QCoreApplication::translate("Files", "%1 was looked for in %2, which is missing")
            .arg(what, folder);
    if (::access(folderName.constData(), R_OK | X_OK) != 0)
        return QCoreApplication::translate("Files",
                                           "%1 was looked for in %2, which cannot be read (%3)")
            .arg(what, folder, systemError(errno));
    const QByteArray fileName = QFile::encodeName(path);
    if (::stat(fileName.constData(), &st) != 0)
        return QCoreApplication::translate("Files", "%1 is missing: %2 (%3)")
            .arg(what, path, systemError(errno));
    if (::access(fileName.constData(), R_OK) != 0)
        return QCoreApplication::translate("Files", "%1 cannot be read: %2 (%3)")
            .arg(what, path, systemError(errno));
    return {};
}
