#include "platform/qt/qt_dialogs.h"

#include "platform/qt/windows/owner_widget.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {
/** Qt's save dialog asks before replacing a file; this one also asks before
    creating a file that does not exist yet. A refusal returns to the dialog. */
class SaveDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override {
        const QStringList files = selectedFiles();
        const auto* edit = findChild<const QLineEdit*>(QStringLiteral("fileNameEdit"));
        // ".." and folder names navigate; Qt handles them and existing files.
        const bool navigates = edit && edit->text() == QLatin1String("..");
        if (files.size() == 1 && !navigates) {
            const QFileInfo info(files.first());
            if (!info.exists() && !info.fileName().isEmpty()) {
                const auto answer = QMessageBox::question(
                    this, windowTitle(),
                    QCoreApplication::translate("Module1",
                                                "%1 does not exist.\nDo you want to create it?")
                        .arg(info.fileName()),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
                if (answer != QMessageBox::Yes)
                    return;
            }
        }
        QFileDialog::accept();
    }
};

void prepare(QFileDialog& dialog, const QList<FileFilter>& filters) {
    // Qt's own dialog everywhere: the same on every desktop, and tests can drive it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The list shows each description alone, as written.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList names = QtDialogs::nameFilters(filters);
    if (!names.isEmpty()) {
        dialog.setNameFilters(names);
        dialog.selectNameFilter(names.first());
    }
}

QString chosen(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
} // namespace

QStringList QtDialogs::nameFilters(const QList<FileFilter>& filters) {
    QStringList out;
    for (const FileFilter& f : filters)
        out.append(f.description + QStringLiteral(" (") + f.masks.join(QLatin1Char(' ')) +
                   QLatin1Char(')'));
    return out;
}

QString QtDialogs::saveFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                            const QString& folder, const QString& defaultName) {
    SaveDialog dialog(ownerWidget(owner), title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    prepare(dialog, filters);
    // After the filters: choosing a filter in a save dialog changes the name's extension.
    dialog.selectFile(defaultName);
    return chosen(dialog);
}

QString QtDialogs::openFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                            const QString& folder) {
    QFileDialog dialog(ownerWidget(owner), title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepare(dialog, filters);
    return chosen(dialog);
}

QString QtDialogs::chooseFolder(IWindow* owner, const QString& prompt) {
    QFileDialog dialog(ownerWidget(owner), prompt, QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    return chosen(dialog);
}
