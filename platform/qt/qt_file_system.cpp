#include "platform/qt/qt_file_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

std::int64_t QtFileSystem::fileLength(const QString& path) const {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return st.st_size;
}

bool QtFileSystem::remove(const QString& path) {
    return ::unlink(QFile::encodeName(path).constData()) == 0;
}

bool QtFileSystem::rename(const QString& from, const QString& to, QString* error) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

QStringList QtFileSystem::listFiles(const QString& folder, const QString& pattern) const {
    QDir dir(folder);
    dir.setFilter(QDir::Files | QDir::NoDotAndDotDot);
    dir.setNameFilters({pattern});
    dir.setSorting(QDir::Name);
    QStringList names;
    for (const QFileInfo& info : dir.entryInfoList()) {
        if (!info.isHidden() && info.isFile())
            names.append(info.fileName());
    }
    return names;
}

QString QtFileSystem::uniqueName(const QString& folder, const QString& stem,
                                 const QString& suffix) const {
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    for (;;) {
        const QString candidate = base + stem +
                                  QString::number(QRandomGenerator::global()->generate(), 36) +
                                  suffix;
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString QtFileSystem::programFolder() const { return QCoreApplication::applicationDirPath(); }
