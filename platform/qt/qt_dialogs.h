#pragma once

#include "platform/dialogs.h"

class QtDialogs final : public IDialogs {
public:
    QString saveFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                     const QString& folder, const QString& defaultName) override;
    QString openFile(IWindow* owner, const QList<FileFilter>& filters, const QString& title,
                     const QString& folder) override;
    QString chooseFolder(IWindow* owner, const QString& prompt) override;
};
