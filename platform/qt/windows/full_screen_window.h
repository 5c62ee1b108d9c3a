// formFullScreen's widget: frameless over the whole screen, closed by any click or key.
#pragma once

#include "platform/qt/windows/picture_window.h"

class FullScreenWindow final : public PictureWindow<IFullScreenView> {
public:
    explicit FullScreenWindow(FullScreenViewEvents& events);

    void showOwned(IWindow* owner) override;
    void bringToFront() override;
    void setPictureName(const QString& name) override;
    void closeWindow() override { close(); }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FullScreenViewEvents& m_events;
    // A click is a press and a release here; the release of the double click
    // that opened the viewer belongs to the window that saw its press.
    bool m_pressedOnForm = false;
    bool m_pressedOnImage = false;
};
