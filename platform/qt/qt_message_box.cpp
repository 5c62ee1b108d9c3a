#include "platform/qt/qt_message_box.h"

#include <QMessageBox>

void QtMessageBox::information(IWindow* owner, const QString& text, const QString& title) {
    QMessageBox::information(dynamic_cast<QWidget*>(owner), title, text);
}

void QtMessageBox::warning(IWindow* owner, const QString& text, const QString& title) {
    QMessageBox::warning(dynamic_cast<QWidget*>(owner), title, text);
}
