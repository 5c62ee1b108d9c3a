// The main window's widget: draws the gallery from the model and forwards input.
#pragma once

#include "pictures/picture_keeper.h"
#include "platform/gallery_view.h"
#include "platform/main_window.h"
#include "platform/qt/drag/picture_drag.h"
#include "platform/qt/windows/gallery_accessible.h"

#include <QMenu>
#include <QTimer>
#include <QRegion>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

class CaptureWindow final : public QWidget, public IMainWindow {
    Q_OBJECT
public:
    CaptureWindow();

    /** Must be called before the window is shown. */
    void attach(const GalleryView& gallery, MainWindowEvents& events);

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

    /** The entry that takes a click at a client position in pixels; -1 for none. */
    int entryAt(QPoint pos) const;
    /** An entry's box in client pixels; null for an index that names no entry. */
    QRect entryRect(int index) const;
    /** What a screen reader is told of the gallery. */
    GalleryAccessibility& accessibility() { return m_accessibility; }
    /** The thumbnails and packing under way, for tests and benchmarks. */
    PictureKeeper& keeper() { return m_keeper; }
    /** A resize or a change of state not laid out for yet, for tests that wait it out. */
    bool settling() const { return m_resizing.isActive() || m_settling.isActive(); }

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
    void updateChanged();

    QSize m_laidOutFor;
    mutable std::optional<QSize> m_frame; // the frame's width and height, while known
    QTimer m_settling;
    QTimer m_resizing;
    // Between a change of state (maximized, restored) and the end of settling, the window
    // manager may resize in steps, some with the frame of before.
    bool m_stateChanging = false;
    bool m_centrePending = false;

    const GalleryView* m_gallery = nullptr;
    MainWindowEvents* m_events = nullptr;
    DragOutGesture m_dragOut;
    int m_pressedEntry = -1;
    QPoint m_pressedAt;
    QMenu m_menu;
    std::map<Command, QAction*> m_actions;
    bool m_busy = false;
    // What the window was last asked to show, entry by entry, so that a change repaints
    // only the thumbnails it touched: a Browse adds many pictures a second, and a whole
    // window each time costs the X server as much again as the loading.
    struct Shown {
        QRect box;
        bool visible = false;
        bool thumbnail = false;
        Picture::Weak picture;
    };
    std::vector<Shown> m_shown;
    QRect m_shownFrame;
    PictureKeeper m_keeper{[this] { updateChanged(); }};
    GalleryAccessibility m_accessibility{*this};
};
