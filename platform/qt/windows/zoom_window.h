// formZoom's widget: forwards its events to the logic.
#pragma once

#include "platform/qt/drag/picture_drag.h"
#include "platform/qt/windows/picture_window.h"

#include <QMenu>
#include <QTimer>
#include <optional>

class ZoomWindow final : public PictureWindow<IZoomView> {
public:
    /** The client size a new window opens at, in pixels. */
    static constexpr int kDesignWidth = 457;
    static constexpr int kDesignHeight = 324;

    explicit ZoomWindow(ZoomViewEvents& events);

    QString caption() const override { return windowTitle(); }
    void setCaption(const QString& caption) override;
    OuterGeometry outerGeometryTwips() const override;
    void moveWindow(const OuterGeometry& geometry) override;
    void showOwned(IWindow* owner, bool activate) override;
    void popupMenu() override;
    void popupMenuAtPicture() override;
    void closeWindow() override { close(); }

    /** Outer geometry in pixels: the client area and the window manager's frame. */
    QRect outerRect() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void applyPendingGeometry(QWidget* framed);
    void matchWantedOuterSize();
    void fit();
    void geometryChanging();
    void dragOut();

    ZoomViewEvents& m_events;
    QMenu m_menu;
    QAction* m_save = nullptr;
    std::optional<OuterGeometry> m_pendingGeometry;
    // The outer size asked for, until the window's own frame is known.
    std::optional<QSize> m_outerSizeWanted;
    // While the window manager completes a change of size or state (or the
    // first placement), moves belong to that change and fit again.
    QTimer m_settling;
    QRect m_fittedFrame;
    DragOutGesture m_dragOut;
};
