#pragma once

#include "platform/dialogs.h"

class QFileDialog;

/** Qt's own (non-native) file dialogs: the same on every desktop, and tests can drive them. */
class QtDialogs final : public IDialogs {
public:
    QString saveFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                     const QString& folder, const QString& defaultName) override;
    QString openFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                     const QString& folder) override;
    QString chooseFolder(IWindow* owner, const QString& prompt) override;

    /** "description (masks)" for Qt; the dialog shows the description alone. */
    static QStringList nameFilters(const QList<FileFilter>& filters);
};
