#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QUrl>

bool QtShell::openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl(url)); }
