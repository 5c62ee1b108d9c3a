#include "dialogs/module1.h"

namespace Module1 {

QList<FileFilter> convertFilter(const QString& filter) {
    QStringList items = filter.split(QLatin1Char('|'));
    if (filter.endsWith(QLatin1Char('|')))
        items.removeLast();
    QList<FileFilter> result;
    for (int i = 0; i + 1 < items.size(); i += 2)
        result.append({items[i], items[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    return result;
}

QString ShowSaveDialog(IDialogs& dialogs, IWindow* owner, const QString& filter,
                       const QString& title, const QString& initialFolder,
                       const QString& defaultName) {
    return dialogs.saveFile(owner, convertFilter(filter), title, initialFolder,
                            defaultName.left(kMaxDefaultName));
}

QString ShowOpenDialog(IDialogs& dialogs, IWindow* owner, const QString& filter,
                       const QString& title, const QString& initialFolder) {
    return dialogs.openFile(owner, convertFilter(filter), title, initialFolder);
}

QString BrowseForFolder(IDialogs& dialogs, const QString& prompt, IWindow* owner) {
    return dialogs.chooseFolder(owner, prompt);
}

bool FileExists(const IFileSystem& files, const QString& path) {
    return !path.isEmpty() && files.fileLength(path) > 0;
}

} // namespace Module1
