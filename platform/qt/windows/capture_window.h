// The main window's widget: draws the gallery from the model and forwards input.
#pragma once

#include "gallery/gallery.h"
#include "pictures/picture_keeper.h"
#include "platform/main_window.h"
#include "platform/qt/drag/picture_drag.h"
#include "platform/qt/windows/gallery_accessible.h"

#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <map>

class CaptureWindow final : public QWidget, public IMainWindow {
    Q_OBJECT
public:
    CaptureWindow();

    /** Must be called before the window is shown. */
    void attach(const Gallery& gallery, MainWindowEvents& events);

    std::int32_t outerWidthTwips() const override;
    std::int32_t outerHeightTwips() const override;
    QString caption() const override { return windowTitle(); }
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void setBusyPointer(bool busy) override;
    void popupMenu() override;
    void popupMenuAt(std::optional<QPoint> clientTwips) override;
    void setMenuEnabled(Command command, bool enabled) override;
    bool isMenuEnabled(Command command) const override;
    void processEvents() override;
    void galleryChanged() override;
    void close() override { QWidget::close(); }

    /** Centres the window's outer frame on its screen, now and once more when the
        window manager has framed it. */
    void centreOnScreen();

    /** The entry drawn at a client position in pixels, topmost first; -1 for none. */
    int entryAt(QPoint pos) const;
    /** An entry's box in client pixels; null for an index that names no entry. */
    QRect entryRect(int index) const;
    /** What a screen reader is told of the gallery. */
    GalleryAccessibility& accessibility() { return m_accessibility; }
    /** The menu, for tests that look at its entries. */
    QMenu& menu() { return m_menu; }
    /** The thumbnails and packing under way, for tests and benchmarks. */
    PictureKeeper& keeper() { return m_keeper; }

    /** Maps Qt keys and modifiers to the codes the logic uses. */
    static int keyCode(int qtKey);
    static int shiftState(Qt::KeyboardModifiers modifiers);
    static int buttonCode(Qt::MouseButton button);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void menuChosen(QAction* chosen);
    QSize thumbnailSize(const Entry& entry) const;
    QSize outerSize() const;
    void relayout();

    QSize m_laidOutFor;
    QTimer m_settling;
    QTimer m_resizing;
    // Between a change of state (maximized, restored) and the end of settling, the window
    // manager may resize in steps, some with the frame of before.
    bool m_stateChanging = false;
    bool m_centrePending = false;

    const Gallery* m_gallery = nullptr;
    MainWindowEvents* m_events = nullptr;
    DragOutGesture m_dragOut;
    int m_pressedEntry = -1;
    QPoint m_pressedAt;
    QMenu m_menu;
    std::map<Command, QAction*> m_actions;
    bool m_busy = false;
    PictureKeeper m_keeper{[this] { update(); }};
    GalleryAccessibility m_accessibility{*this};
};
