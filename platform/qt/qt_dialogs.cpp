#include "platform/qt/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>

namespace {
QStringList nameFilters(const QList<FileFilter>& filters) {
    QStringList out;
    for (const FileFilter& f : filters)
        out.append(f.description + QStringLiteral(" (") + f.masks.join(QLatin1Char(' ')) +
                   QLatin1Char(')'));
    return out;
}
} // namespace

QString QtDialogs::saveFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                            const QString& folder, const QString& defaultName) {
    QFileDialog dialog(dynamic_cast<QWidget*>(owner), title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(nameFilters(filters));
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtDialogs::openFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                            const QString& folder) {
    QFileDialog dialog(dynamic_cast<QWidget*>(owner), title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(filters));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtDialogs::chooseFolder(IWindow* owner, const QString& prompt) {
    return QFileDialog::getExistingDirectory(dynamic_cast<QWidget*>(owner), prompt,
                                             QDir::homePath(), QFileDialog::ShowDirsOnly);
}
