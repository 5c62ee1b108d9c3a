#include "platform/qt/clipboard/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <utility>

namespace {
// Marks ownership values that name a Wayland offer, apart from the X reader's.
constexpr std::uint64_t kWaylandOffer = std::uint64_t(1) << 63;
} // namespace

QtClipboard::QtClipboard() {
    // The windows run through XWayland, but X clients see the Wayland selection only
    // while an X window has the focus: watch it directly where the compositor lets us.
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        auto wayland = std::make_unique<WaylandClipboardReader>();
        if (wayland->isAvailable()) {
            m_wayland = std::move(wayland);
            m_xwayland = std::make_unique<XWaylandSelection>();
            connect(m_wayland.get(), &WaylandClipboardReader::changed, this, &QtClipboard::changed);
        }
    }
    // X programs' copies reach Wayland only as the compositor decides: the X side is
    // watched either way.
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode m) {
        if (m == QClipboard::Clipboard)
            changed();
    });
}

void QtClipboard::changed() {
    if (m_changed)
        m_changed();
}

void QtClipboard::look(bool readImage, std::function<void(ClipboardContent)> done) {
    if (!m_wayland) {
        lookX(readImage, std::move(done));
        return;
    }
    m_wayland->look(
        readImage, [this, readImage, done = std::move(done)](ClipboardContent content) mutable {
            if (content.state == ClipboardContent::State::NoBitmap) {
                lookX(readImage, std::move(done));
                return;
            }
            content.ownership |= kWaylandOffer;
            m_waylandLooked = content.ownership;
            m_xBehind = 0;
            if (!readImage || content.picture.isNull() || !m_x11.isConnected() ||
                m_xwayland->ownedByCompositor()) {
                done(content);
                return;
            }
            // An X program still holding a picture: the compositor handed that one to Wayland
            // (then it goes with this one), or it is another, taken on its own next time.
            m_x11.look(true, [this, content, done = std::move(done)](const ClipboardContent& x) {
                if (x.state == ClipboardContent::State::Bitmap &&
                    x.picture.toImage() == content.picture.toImage())
                    m_xBehind = x.ownership;
                done(content);
            });
        });
}

void QtClipboard::lookX(bool readImage, std::function<void(ClipboardContent)> done) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool mirror = m_xwayland && m_xwayland->ownedByCompositor();
    if (mirror || clipboard->ownsClipboard() || !m_x11.isConnected()) {
        // Our own content is read locally, without a trip through the X server; what the
        // compositor mirrors from Wayland was looked at there.
        ClipboardContent content;
        content.own = !mirror && clipboard->ownsClipboard();
        const QMimeData* data = mirror ? nullptr : clipboard->mimeData();
        if (data && data->hasImage()) {
            content.state = ClipboardContent::State::Bitmap;
            if (readImage) {
                const QImage image = qvariant_cast<QImage>(data->imageData());
                content.picture = Picture::fromImage(image);
                if (content.picture.isNull())
                    content.state = ClipboardContent::State::Unreadable;
            }
        }
        QMetaObject::invokeMethod(
            this, [done = std::move(done), content] { done(content); }, Qt::QueuedConnection);
        return;
    }
    m_x11.look(readImage, std::move(done));
}

void QtClipboard::clear() {
    if (m_wayland)
        m_wayland->clear();
    else
        QGuiApplication::clipboard()->clear();
}

void QtClipboard::clearTaken(const ClipboardContent& taken) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (m_wayland && taken.ownership == m_waylandLooked) {
        m_wayland->clearIfUnchanged(taken.ownership & ~kWaylandOffer);
        if (m_xBehind)
            m_x11.clearIfUnchanged(std::exchange(m_xBehind, 0));
    } else if (clipboard->ownsClipboard() || !m_x11.isConnected()) {
        clipboard->clear();
    } else {
        m_x11.clearIfUnchanged(taken.ownership);
    }
}

bool QtClipboard::setPicture(const Picture& picture) {
    const QImage image = picture.toImage();
    if (image.isNull())
        return false;
    // On Wayland the picture goes on the compositor's selection, where every program can
    // paste it; the compositor hands it on to X programs.
    if (m_wayland)
        m_wayland->setImage(image);
    else
        QGuiApplication::clipboard()->setImage(image);
    return true;
}

void QtClipboard::setChangeHandler(std::function<void()> handler) {
    m_changed = std::move(handler);
}
