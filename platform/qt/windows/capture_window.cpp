#include "platform/qt/windows/capture_window.h"

#include "platform/qt/windows/key_codes.h"
#include "platform/qt/windows/keyboard_menu.h"
#include "platform/units.h"
#include "platform/qt/windows/x11_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeySequence>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

namespace {
QRect pixelRect(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}
} // namespace

CaptureWindow::CaptureWindow() {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(false);
    installAccessibleFactory();
    buildMenu();
    // The window manager announces a new frame (after a maximize, say) some time
    // after the resize; the layout must follow the frame it settles on.
    m_settling.setSingleShot(true);
    m_settling.setInterval(500);
    // A window manager resizes in steps (across, then down, then the new frame) within
    // moments: one layout for where they end.
    m_resizing.setSingleShot(true);
    m_resizing.setInterval(50);
    connect(&m_resizing, &QTimer::timeout, this, [this] {
        if (!m_stateChanging)
            relayout();
    });
    connect(&m_settling, &QTimer::timeout, this, [this] {
        m_stateChanging = false;
        m_frame.reset();
        if (outerSize() != m_laidOutFor)
            relayout();
    });
}

QSize CaptureWindow::outerSize() const {
    // Asking the X server is a round trip, and the gallery asks at every picture added.
    if (!m_frame)
        m_frame = frameAround(*this);
    return size() + *m_frame;
}

void CaptureWindow::relayout() {
    m_laidOutFor = outerSize();
    if (m_events)
        m_events->Form_Resize();
}

void CaptureWindow::centreOnScreen() {
    QScreen* s = screen();
    if (!s)
        return;
    // A top-level window's position is that of its frame.
    const QSize outer = outerSize();
    const QRect area = s->availableGeometry();
    move(area.x() + (area.width() - outer.width()) / 2,
         area.y() + (area.height() - outer.height()) / 2);
    m_centrePending = !frameExtents(*this).has_value();
}

void CaptureWindow::attach(const GalleryView& gallery, MainWindowEvents& events) {
    m_gallery = &gallery;
    m_events = &events;
}

void CaptureWindow::buildMenu() {
    // The shortcut is the action's, so a screen reader reads it as its key binding; the
    // keys themselves still go through the key handler, since an action of a menu
    // attached to no window never takes a key.
    struct Item {
        const char* caption;
        const char* shortcut;
        std::optional<Command> command;
    };
    const Item items[] = {
        {QT_TRANSLATE_NOOP("formCapture", "&Save..."), "Ctrl+S", Command::Save},
        {QT_TRANSLATE_NOOP("formCapture", "Save &All"), nullptr, Command::SaveAll},
        {nullptr, nullptr, std::nullopt},
        {QT_TRANSLATE_NOOP("formCapture", "&Open..."), "Ctrl+O", Command::Open},
        {QT_TRANSLATE_NOOP("formCapture", "&Print..."), "Ctrl+P", Command::Print},
        {QT_TRANSLATE_NOOP("formCapture", "Cop&y to Clipboard"), "Ctrl+C", Command::Copy},
        {QT_TRANSLATE_NOOP("formCapture", "&Delete"), "Del", Command::Delete},
        {nullptr, nullptr, std::nullopt},
        {QT_TRANSLATE_NOOP("formCapture", "&Clear"), "F8", Command::Clear},
        {QT_TRANSLATE_NOOP("formCapture", "&Browse..."), "Ctrl+B", Command::Browse},
        {nullptr, nullptr, std::nullopt},
        {QT_TRANSLATE_NOOP("formCapture", "About..."), nullptr, Command::About},
    };
    static const char* const names[] = {"mnuFileSave", "mnuFileSaveAll", "mnuSep0",
                                        "mnuFileOpen", "mnuFilePrint", "mnuImageCopy",
                                        "mnuImageDelete", "mnuSep1", "mnuImageClear",
                                        "mnuFileBrowse", "mnuSep2", "mnuAbout"};
    int n = 0;
    for (const Item& item : items) {
        QAction* action = nullptr;
        if (!item.caption) {
            action = m_menu.addSeparator();
        } else {
            action = m_menu.addAction(QCoreApplication::translate("formCapture", item.caption));
            // Qt shows it in the desktop's own words for the keys ("Strg+S" in German).
            if (item.shortcut) {
                action->setShortcut(
                    QKeySequence(QString::fromLatin1(item.shortcut), QKeySequence::PortableText));
                action->setShortcutVisibleInContextMenu(true);
            }
            action->setData(static_cast<int>(*item.command));
            m_actions[*item.command] = action;
        }
        action->setObjectName(QString::fromLatin1(names[n++]));
    }
    m_menu.setObjectName(QStringLiteral("mnuMain"));
}

// Qt's frame geometry can still be the one from before a maximize or restore.
std::int32_t CaptureWindow::outerWidthTwips() const { return pixelsToTwips(outerSize().width()); }

std::int32_t CaptureWindow::outerHeightTwips() const {
    return pixelsToTwips(outerSize().height());
}

void CaptureWindow::setBusyPointer(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void CaptureWindow::popupMenu() { menuChosen(m_menu.exec(QCursor::pos())); }

void CaptureWindow::menuChosen(QAction* chosen) {
    // The command runs once the menu has closed: it may open a dialog of its own.
    if (chosen && m_events && chosen->data().isValid())
        m_events->menuCommand(static_cast<Command>(chosen->data().toInt()));
}

void CaptureWindow::popupMenuAt(std::optional<QPoint> clientTwips) {
    const QPoint at = clientTwips
                          ? QPoint(twipsToPixels(clientTwips->x()), twipsToPixels(clientTwips->y()))
                          : rect().center();
    menuChosen(execFromKeyboard(m_menu, mapToGlobal(at)));
}

void CaptureWindow::setMenuEnabled(Command command, bool enabled) {
    m_actions.at(command)->setEnabled(enabled);
}

bool CaptureWindow::isMenuEnabled(Command command) const {
    return m_actions.at(command)->isEnabled();
}

void CaptureWindow::processEvents() { QCoreApplication::processEvents(); }

QSize CaptureWindow::thumbnailSize(const Entry& e) const {
    const QRect box = pixelRect(e.left, e.top, e.width, e.height);
    const qreal dpr = devicePixelRatioF();
    return QSize(qRound(box.width() * dpr), qRound(box.height() * dpr));
}

void CaptureWindow::galleryChanged() {
    // A picture that just arrived gets its thumbnail and packed form made off
    // this thread; scaling a huge one here would freeze the window for seconds.
    if (m_gallery) {
        for (const int index : m_gallery->entriesToKeep()) {
            const Entry& e = m_gallery->entries().at(index);
            m_keeper.keep(e.picture, thumbnailSize(e));
        }
        m_accessibility.update(*m_gallery);
    }
    updateChanged();
}

void CaptureWindow::updateChanged() {
    if (!m_gallery) {
        update();
        return;
    }
    QRegion dirty;
    const auto& entries = m_gallery->entries();
    for (std::size_t i = entries.size(); i < m_shown.size(); ++i) {
        if (m_shown[i].visible)
            dirty += m_shown[i].box;
    }
    m_shown.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        Shown now{pixelRect(e.left, e.top, e.width, e.height), e.visible,
                  !e.isEmpty() && !e.picture.cachedThumbnail(thumbnailSize(e)).isNull(),
                  Picture::Weak(e.picture)};
        Shown& before = m_shown[i];
        if (now.box == before.box && now.visible == before.visible &&
            now.thumbnail == before.thumbnail && before.picture.lock().sameAs(e.picture))
            continue;
        if (before.visible)
            dirty += before.box;
        if (now.visible)
            dirty += now.box;
        before = std::move(now);
    }
    const SelectionFrame& f = m_gallery->selectionFrame();
    const QRect frame = f.visible ? pixelRect(f.left, f.top, f.width, f.height) : QRect();
    if (frame != m_shownFrame) {
        dirty += m_shownFrame;
        dirty += frame;
        m_shownFrame = frame;
    }
    if (!dirty.isEmpty())
        update(dirty);
}

int CaptureWindow::entryAt(QPoint pos) const {
    return m_gallery ? m_gallery->entryAt(pos.x(), pos.y()) : -1;
}

QRect CaptureWindow::entryRect(int index) const {
    if (!m_gallery || index < 0 || index >= static_cast<int>(m_gallery->entries().size()))
        return {};
    const Entry& e = m_gallery->entries()[index];
    return pixelRect(e.left, e.top, e.width, e.height);
}

bool CaptureWindow::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
        // The window manager may have framed the window anew.
        m_frame.reset();
        break;
    default:
        break;
    }
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = entryAt(help->pos());
        const QString text = index >= 0 ? m_gallery->entries().at(index).toolTipText : QString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void CaptureWindow::paintEvent(QPaintEvent* event) {
    // The first paint comes once the window manager has framed the window.
    if (m_centrePending && frameExtents(*this))
        centreOnScreen();
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    if (!m_gallery)
        return;
    // The frame lies beneath the thumbnails.
    const SelectionFrame& frame = m_gallery->selectionFrame();
    if (frame.visible) {
        const QRect r = pixelRect(frame.left, frame.top, frame.width, frame.height);
        const QColor highlight = palette().color(QPalette::Highlight);
        const int w = 3;
        painter.fillRect(QRect(r.left(), r.top(), r.width(), w), highlight);
        painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), highlight);
        painter.fillRect(QRect(r.left(), r.top(), w, r.height()), highlight);
        painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), highlight);
    }
    painter.setPen(palette().color(QPalette::Mid));
    for (bool filled : {false, true}) {
        for (const Entry& e : m_gallery->entries()) {
            if (!e.visible || e.isEmpty() == filled)
                continue;
            const QRect box = pixelRect(e.left, e.top, e.width, e.height);
            if (!box.intersects(event->rect()))
                continue;
            if (!filled) {
                painter.drawRect(box.adjusted(0, 0, -1, -1));
                continue;
            }
            const QSize size = thumbnailSize(e);
            const QImage thumb = e.picture.cachedThumbnail(size);
            if (!thumb.isNull()) {
                painter.drawImage(box, thumb);
                continue;
            }
            // Shown at once; the thumbnail follows when it is made.
            painter.fillRect(box, palette().color(QPalette::Base));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            m_keeper.keep(e.picture, size);
        }
    }
}

void CaptureWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Entries that no longer fit keep their places, so a layout for a passing size would
    // stay: while the state changes, only the size it settles at is laid out.
    m_resizing.start();
    m_settling.start();
}

void CaptureWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        m_stateChanging = true;
        m_settling.start();
    }
}

void CaptureWindow::mousePressEvent(QMouseEvent* event) {
    m_pressedAt = event->position().toPoint();
    m_pressedEntry = entryAt(m_pressedAt);
    m_dragOut.pressed(*event, m_pressedEntry >= 0 && !m_gallery->entries().at(m_pressedEntry).isEmpty());
}

void CaptureWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragOut.leaves(*event, *this) || !m_gallery || m_pressedEntry < 0 ||
        m_pressedEntry >= int(m_gallery->entries().size()))
        return;
    // The entry may have taken another picture while the button was held.
    const Entry& e = m_gallery->entries()[m_pressedEntry];
    const QRect box = pixelRect(e.left, e.top, e.width, e.height);
    const Qt::DropAction done =
        dragPictureOut(*this, e.picture, m_gallery->dragFileName(m_pressedEntry), grab(box),
                       m_pressedAt - box.topLeft());
    // Brought back and let go over the window, it was a press and a release here
    // after all; the drag took that release for itself.
    const QPoint at = mapFromGlobal(QCursor::pos());
    if (done == Qt::IgnoreAction && rect().contains(at) &&
        !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        QMouseEvent release(QEvent::MouseButtonRelease, at, mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, QGuiApplication::keyboardModifiers());
        mouseReleaseEvent(&release);
    }
}

void CaptureWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_events)
        return;
    const QPoint pos = event->position().toPoint();
    const int button = key_codes::buttonCode(event->button());
    const int shift = key_codes::shiftState(event->modifiers());
    const int index = entryAt(pos);
    if (index >= 0)
        m_events->imgView_MouseUp(index, button, shift, pos.x(), pos.y());
    else
        m_events->Form_MouseUp(button, shift, pos.x(), pos.y());
}

void CaptureWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = entryAt(event->position().toPoint());
    if (m_events && index >= 0 && event->button() == Qt::LeftButton)
        m_events->imgView_DblClick(index);
}

void CaptureWindow::keyPressEvent(QKeyEvent* event) {
    if (m_events)
        m_events->Form_KeyDown(key_codes::keyCode(event->key()),
                               key_codes::shiftState(event->modifiers()));
}

void CaptureWindow::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // Qt names the window as focused after this handler; the selected thumbnail is
    // named after that, so a screen reader ends on it.
    QMetaObject::invokeMethod(this, [this] { m_accessibility.announceFocus(); },
                              Qt::QueuedConnection);
}

void CaptureWindow::closeEvent(QCloseEvent* event) {
    if (m_events)
        m_events->Form_Unload();
    event->accept();
    // Zoom windows are top-level too; the program ends with this window all the same.
    QCoreApplication::quit();
}
