#include "platform/qt/qt_message_box.h"

#include "platform/qt/windows/owner_widget.h"

#include <QMessageBox>

void QtMessageBox::information(IWindow* owner, const QString& text, const QString& title) {
    QMessageBox::information(ownerWidget(owner), title, text);
}

void QtMessageBox::warning(IWindow* owner, const QString& text, const QString& title) {
    QMessageBox::warning(ownerWidget(owner), title, text);
}
