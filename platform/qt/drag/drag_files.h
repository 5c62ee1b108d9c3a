// Files for drop targets that take files (file managers, mail, chat): written
// only when a target asks, in a folder of the program's own under the user's
// runtime folder, and removed with this object when the program ends.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class DragFiles final {
public:
    /** runtimeFolder: the user's runtime folder; "" when there is none. */
    explicit DragFiles(const QString& runtimeFolder);
    ~DragFiles();
    DragFiles(const DragFiles&) = delete;
    DragFiles& operator=(const DragFiles&) = delete;

    /** Whether a file can be written; finding out writes nothing. */
    bool canOffer() const;
    /** Writes image as PNG under fileName, in a new folder of its own so that the
        files of earlier drags stay as their targets took them. The file's path,
        or "" when it cannot be written. */
    QString write(const QImage& image, const QString& fileName);
    /** The program's own folder. */
    const QString& folder() const { return m_folder; }

private:
    bool folderIsOurs() const;
    bool makeFolder();

    QString m_runtime;
    QString m_folder;
    QStringList m_made;
};
