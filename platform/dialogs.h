#pragma once

#include "platform/window.h"

#include <QString>
#include <QStringList>

/** A file type of a file dialog: its description and masks such as "*.jpg". */
struct FileFilter {
    QString description;
    QStringList masks;
    bool operator==(const FileFilter&) const = default;
};

/** The system's file and folder dialogs, modal to owner. Each returns "" on cancel. */
class IDialogs {
public:
    virtual ~IDialogs() = default;
    /** Asks before replacing an existing file and before creating a new one. */
    virtual QString saveFile(IWindow* owner, const QList<FileFilter>& filters,
                             const QString& title, const QString& folder,
                             const QString& defaultName) = 0;
    /** Accepts existing files only. */
    virtual QString openFile(IWindow* owner, const QList<FileFilter>& filters,
                             const QString& title, const QString& folder) = 0;
    /** File-system folders only, starting in the user's home folder. */
    virtual QString chooseFolder(IWindow* owner, const QString& prompt) = 0;
};
