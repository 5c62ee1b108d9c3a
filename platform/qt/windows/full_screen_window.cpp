#include "platform/qt/windows/full_screen_window.h"

#include "platform/qt/windows/key_codes.h"
#include "platform/qt/windows/owner_widget.h"
#include "platform/qt/windows/x11_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <utility>

FullScreenWindow::FullScreenWindow(FullScreenViewEvents& events)
    : PictureWindow<IFullScreenView>(/*mayOutgrowScreen=*/false), m_events(events) {
    setObjectName(QStringLiteral("formFullScreen"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFocusPolicy(Qt::StrongFocus);
    // A first size and imgImage bounds, replaced once it covers the screen.
    resize(312, 213);
    m_image.setGeometry(43, 24, 221, 172);
    m_image.pressed = [this](QMouseEvent&) { m_pressedOnImage = true; };
    m_image.released = [this](QMouseEvent&) {
        if (std::exchange(m_pressedOnImage, false))
            m_events.imgImage_Click();
    };
}

void FullScreenWindow::showOwned(IWindow* owner) {
    QWidget* ownerWindow = ownerWidget(owner);
    QScreen* screen = ownerWindow ? ownerWindow->screen() : QGuiApplication::primaryScreen();
    if (!isVisible()) {
        if (screen) {
            setScreen(screen);
            setGeometry(screen->geometry());
        }
        showFullScreen();
    }
    // The owner is set anew at every opening.
    keepInFrontOf(*this, ownerWindow);
    bringToFront();
}

void FullScreenWindow::bringToFront() {
    raise();
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void FullScreenWindow::setPictureName(const QString& name) {
    // The viewer has no title to show it; a screen reader takes it from here.
    setAccessibleName(name);
    m_image.setAccessibleName(name);
}

bool FullScreenWindow::event(QEvent* event) {
    // Every key closes the viewer, Tab and modifier keys alone included, so keys
    // are taken before focus handling sees them.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        m_events.Form_KeyDown(key_codes::keyCode(key->key()),
                              key_codes::shiftState(key->modifiers()));
        return true;
    }
    return PictureWindow<IFullScreenView>::event(event);
}

void FullScreenWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_events.Form_Resize();
}

void FullScreenWindow::mousePressEvent(QMouseEvent*) {
    m_pressedOnForm = true;
}

void FullScreenWindow::mouseReleaseEvent(QMouseEvent*) {
    if (std::exchange(m_pressedOnForm, false))
        m_events.Form_Click();
}

void FullScreenWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    m_events.Form_Unload();
}
