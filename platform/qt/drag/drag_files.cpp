#include "platform/qt/drag/drag_files.h"

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

DragFiles::DragFiles(const QString& runtimeFolder)
    : m_runtime(runtimeFolder),
      m_folder(runtimeFolder.isEmpty() ? QString() : runtimeFolder + QStringLiteral("/pictavo-drag")) {}

DragFiles::~DragFiles() {
    for (const QString& made : m_made)
        QDir(made).removeRecursively();
    // Left alone while it still holds something of another run.
    if (!m_made.isEmpty())
        ::rmdir(QFile::encodeName(m_folder).constData());
}

// A folder that someone else made, or a link to one, must not receive the pictures.
bool DragFiles::folderIsOurs() const {
    struct stat st {};
    const QByteArray path = QFile::encodeName(m_folder);
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           ::access(path.constData(), W_OK | X_OK) == 0;
}

bool DragFiles::canOffer() const {
    if (m_folder.isEmpty())
        return false;
    struct stat st {};
    if (::lstat(QFile::encodeName(m_folder).constData(), &st) == 0)
        return folderIsOurs();
    if (errno != ENOENT)
        return false;
    const QByteArray runtime = QFile::encodeName(m_runtime);
    return ::stat(runtime.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(runtime.constData(), W_OK | X_OK) == 0;
}

bool DragFiles::makeFolder() {
    if (m_folder.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(m_folder);
    if (::mkdir(path.constData(), 0700) == 0)
        return true;
    if (errno != EEXIST || !folderIsOurs())
        return false;
    // The pictures are the user's own: no one else may read them.
    return ::chmod(path.constData(), 0700) == 0;
}

QString DragFiles::write(const QImage& image, const QString& fileName) {
    if (image.isNull() || fileName.isEmpty() || fileName.contains(QLatin1Char('/')) ||
        fileName == QLatin1String(".") || fileName == QLatin1String("..") || !makeFolder())
        return {};
    QByteArray pattern = QFile::encodeName(m_folder + QStringLiteral("/XXXXXX"));
    if (!::mkdtemp(pattern.data()))
        return {};
    const QString own = QFile::decodeName(pattern);
    m_made << own;
    const QString path = own + QLatin1Char('/') + fileName;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        return {};
    QImageWriter writer(&file, "png");
    const bool written = writer.write(image) && file.flush();
    file.close();
    if (!written || file.error() != QFile::NoError) {
        file.remove();
        return {};
    }
    return path;
}
