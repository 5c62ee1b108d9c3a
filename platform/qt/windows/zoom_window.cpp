#include "platform/qt/windows/zoom_window.h"

#include "platform/qt/windows/key_codes.h"
#include "platform/qt/windows/keyboard_menu.h"
#include "platform/qt/windows/owner_widget.h"
#include "platform/qt/windows/x11_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

using viewer_units::pixels;

ZoomWindow::ZoomWindow(ZoomViewEvents& events)
    : PictureWindow<IZoomView>(/*mayOutgrowScreen=*/true), m_events(events) {
    setObjectName(QStringLiteral("formZoom"));
    setFocusPolicy(Qt::StrongFocus);
    resize(kDesignWidth, kDesignHeight);
    // Where imgImage starts; the first fit places it.
    m_image.setGeometry(1, 2, 455, 323);
    m_save = m_menu.addAction(QCoreApplication::translate("formZoom", "&Save..."));
    m_save->setObjectName(QStringLiteral("mnuFileSave"));
    m_menu.setObjectName(QStringLiteral("mnuMain"));
    m_settling.setSingleShot(true);
    m_settling.setInterval(500);
    // A frame that changed without a move (new frame extents) is recorded too.
    QObject::connect(&m_settling, &QTimer::timeout, this, [this] {
        if (isVisible() && outerRect() != m_fittedFrame)
            fit();
    });

    m_image.pressed = [this](QMouseEvent& e) {
        m_dragOut.pressed(e, !m_image.picture().isNull() && !m_image.picture().isEmpty());
    };
    m_image.moved = [this](QMouseEvent& e) {
        if (m_dragOut.leaves(e, *this))
            dragOut();
    };
    m_image.released = [this](QMouseEvent& e) {
        const QPoint pos = e.position().toPoint();
        m_events.imgImage_MouseUp(key_codes::buttonCode(e.button()),
                                  key_codes::shiftState(e.modifiers()), pixelsToTwips(pos.x()),
                                  pixelsToTwips(pos.y()));
    };
    m_image.doubleClicked = [this](QMouseEvent& e) {
        if (e.button() == Qt::LeftButton)
            m_events.imgImage_DblClick();
    };
}

QRect ZoomWindow::outerRect() const {
    if (const auto m = frameExtents(*this))
        return geometry().marginsAdded(*m);
    return frameGeometry();
}

OuterGeometry ZoomWindow::outerGeometryTwips() const {
    const QRect frame = outerRect();
    return {pixelsToTwips(frame.x()), pixelsToTwips(frame.y()), pixelsToTwips(frame.width()),
            pixelsToTwips(frame.height())};
}

void ZoomWindow::moveWindow(const OuterGeometry& geometry) {
    // The frame a window will get is known only once it is shown.
    m_pendingGeometry = geometry;
    if (isVisible())
        applyPendingGeometry(this);
}

void ZoomWindow::applyPendingGeometry(QWidget* framed) {
    if (!m_pendingGeometry)
        return;
    const OuterGeometry g = *m_pendingGeometry;
    m_pendingGeometry.reset();
    // A window not yet shown has no frame: it will get the frame its owner has,
    // since both are ordinary windows of the same window manager.
    const QSize frame = framed ? frameAround(*framed) : QSize(0, 0);
    // A top-level window's position is that of its frame.
    move(pixels(g.left), pixels(g.top));
    const QSize outer(pixels(g.width), pixels(g.height));
    resize(std::max(1, outer.width() - frame.width()),
           std::max(1, outer.height() - frame.height()));
    // Another window's frame was only an estimate of this one's.
    if (framed != this)
        m_outerSizeWanted = outer;
}

void ZoomWindow::matchWantedOuterSize() {
    if (!m_outerSizeWanted || !frameExtents(*this))
        return;
    const QSize frame = frameAround(*this);
    // The window manager has framed the window: its own frame decides the client size.
    const QSize client(std::max(1, m_outerSizeWanted->width() - frame.width()),
                       std::max(1, m_outerSizeWanted->height() - frame.height()));
    m_outerSizeWanted.reset();
    if (client != size())
        resize(client);
}

void ZoomWindow::showOwned(IWindow* owner, bool activate) {
    QWidget* ownerWindow = ownerWidget(owner);
    if (!isVisible()) {
        applyPendingGeometry(ownerWindow ? ownerWindow->window() : nullptr);
        setAttribute(Qt::WA_ShowWithoutActivating, !activate);
        show();
        keepInFrontOf(*this, ownerWindow);
    }
    // A minimized window stays minimized, as a shown window keeps its state.
    if (activate && !isMinimized()) {
        raise();
        activateWindow();
    }
}

void ZoomWindow::dragOut() {
    // The picture as this window shows it, small enough to follow the pointer.
    const QPixmap face = m_image.grab().scaled(QSize(128, 128), Qt::KeepAspectRatio,
                                               Qt::SmoothTransformation);
    dragPictureOut(*this, m_image.picture(), m_events.dragFileName(), face,
                   QPoint(face.width() / 2, face.height() / 2));
}

void ZoomWindow::popupMenu() {
    // The command runs once the menu has closed.
    if (m_menu.exec(QCursor::pos()) == m_save)
        m_events.mnuFileSave_Click();
}

void ZoomWindow::popupMenuAtPicture() {
    if (execFromKeyboard(m_menu, mapToGlobal(m_image.geometry().center())) == m_save)
        m_events.mnuFileSave_Click();
}

void ZoomWindow::setCaption(const QString& caption) {
    setWindowTitle(caption);
    // The picture is named as the window is, for a screen reader.
    m_image.setAccessibleName(caption);
}

void ZoomWindow::fit() {
    m_fittedFrame = outerRect();
    m_events.Form_Resize();
}

void ZoomWindow::geometryChanging() {
    // An X window manager sends the size and the position of one change apart,
    // and the frame extents later still: the record must get the final ones.
    m_settling.start();
    fit();
}

void ZoomWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    geometryChanging();
}

void ZoomWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window manager places and frames the window after it is shown.
    if (!event->spontaneous())
        m_settling.start();
}

void ZoomWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Moving the window by itself fits nothing.
    if (m_settling.isActive()) {
        matchWantedOuterSize();
        fit();
    }
}

void ZoomWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Restoring a minimized window may leave its size as it was.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        geometryChanging();
}

void ZoomWindow::keyPressEvent(QKeyEvent* event) {
    m_events.Form_KeyDown(key_codes::keyCode(event->key()),
                          key_codes::shiftState(event->modifiers()));
}

void ZoomWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_events.Form_DblClick();
}

void ZoomWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    m_events.Form_Unload();
}
