#include "platform/qt/files/keep_painting.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

KeepPainting::KeepPainting()
    : m_active(qobject_cast<QApplication*>(QCoreApplication::instance()) &&
               QThread::currentThread() == QCoreApplication::instance()->thread()) {
    if (!m_active)
        return;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_sincePaint.start();
}

KeepPainting::~KeepPainting() {
    if (m_active)
        QGuiApplication::restoreOverrideCursor();
}

void KeepPainting::operator()() {
    if (!m_active || m_sincePaint.elapsed() < kIntervalMs)
        return;
    m_sincePaint.restart();
    // A synchronous paint, not an event: the event loop would run everything
    // else that waits, captures and keys included. What a window covered
    // meanwhile is drawn again this way, at the window's present size.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->isMinimized())
            window->repaint();
    }
}
