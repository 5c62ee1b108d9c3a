// The dialog wrappers the commands and the zoom window use.
#pragma once

#include "platform/dialogs.h"
#include "platform/file_system.h"

#include <QString>

namespace Module1 {

/** "desc|pattern|desc|pattern" into file types; a pattern may hold masks
    separated by ";". A missing closing "|" is tolerated. */
QList<FileFilter> convertFilter(const QString& filter);

/** The longest default name the save dialog is given. */
inline constexpr int kMaxDefaultName = 254;

QString ShowSaveDialog(IDialogs& dialogs, IWindow* owner, const QString& filter,
                       const QString& title, const QString& initialFolder,
                       const QString& defaultName);
QString ShowOpenDialog(IDialogs& dialogs, IWindow* owner, const QString& filter,
                       const QString& title, const QString& initialFolder);
/** The prompt comes first and the owner second, unlike the file dialogs. */
QString BrowseForFolder(IDialogs& dialogs, const QString& prompt, IWindow* owner);
/** True only for a file whose length can be read and is above 0. */
bool FileExists(const IFileSystem& files, const QString& path);

} // namespace Module1
