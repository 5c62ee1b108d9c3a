#include "platform/qt/clipboard/qt_clipboard.h"

#include "pictures/pixel_fingerprint.h"
#include "platform/capture_log.h"
#include "platform/qt/clipboard/xcb_reply.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtGui/qguiapplication_platform.h>
#include <utility>

namespace {
// Marks ownership values that name a Wayland offer, apart from the X reader's.
constexpr std::uint64_t kWaylandOffer = std::uint64_t(1) << 63;

ClipboardContent nothing() {
    return {};
}
} // namespace

QtClipboard::QtClipboard() {
    m_clock.start();
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        m_clipboardAtom = internAtom(x11->connection(), "CLIPBOARD");
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        // The windows run through XWayland, but X clients see the Wayland selection only
        // while an X window has the focus: watch it directly where the compositor lets us.
        auto wayland = std::make_unique<WaylandClipboardReader>();
        if (wayland->isAvailable()) {
            qCDebug(lcCapture) << "the Wayland clipboard is watched through"
                               << wayland->protocolName().constData();
            m_wayland = std::move(wayland);
            connect(m_wayland.get(), &WaylandClipboardReader::changed, this, &QtClipboard::changed);
        } else {
            qCDebug(lcCapture) << "the compositor offers no data-control protocol: Wayland "
                                  "programs' copies are seen only as XWayland hands them over";
        }
        m_xwayland = std::make_unique<XWaylandSelection>();
    }
    // A slow owner worth another look, and a tool that waits for its copy to be kept
    // before it quits, are changes to look at like any other.
    connect(&m_x11, &X11ClipboardReader::lookAgainWanted, this, &QtClipboard::changed);
    connect(&m_x11Manager, &X11ClipboardManager::saveRequested, this, &QtClipboard::changed);
    // Qt itself misses a new owner that claims the same time as its own copy, and goes on
    // believing it owns the clipboard: the server's word is taken for both.
    connect(&m_x11Manager, &X11ClipboardManager::clipboardChanged, this, &QtClipboard::changed);
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
    m_waylandBeside = 0;
    m_sides.lookBegins(m_clock.elapsed());
    if (!m_wayland) {
        lookX(readImage, std::move(done));
        return;
    }
    // What the compositor offers just after an X copy was taken may be its copy of that
    // one, which some compositors keep offering but can no longer hand over.
    m_wayland->look(
        readImage, m_sides.justTakenFrom(Side::X),
        [this, readImage, done = std::move(done)](ClipboardContent content) mutable {
            if (content.state == ClipboardContent::State::NoBitmap) {
                lookX(readImage, std::move(done));
                return;
            }
            const std::uint64_t offer = content.ownership;
            content.ownership |= kWaylandOffer;
            if (content.state == ClipboardContent::State::Unreadable) {
                lookBehindUnreadable(offer, content, std::move(done));
                return;
            }
            if (readImage && m_sides.bridgedFrom(Side::X, content.fingerprint)) {
                // The compositor's Wayland copy of the X copy just taken: the same capture.
                qCDebug(lcCapture) << "Wayland offer bridged from the X copy just taken";
                m_wayland->clearIfUnchanged(offer);
                done(nothing());
                return;
            }
            const bool seenBefore = content.ownership == m_waylandLooked;
            m_waylandLooked = content.ownership;
            m_xBehind = 0;
            if (!readImage || content.picture.isNull() || !m_x11.isConnected() ||
                m_xwayland->ownedByCompositor()) {
                done(content);
                return;
            }
            // An X program still holding a picture: the compositor handed that one to Wayland
            // (then it goes with this one), or it is another, taken on its own next time.
            m_x11.look(true, [this, content, seenBefore,
                              done = std::move(done)](const ClipboardContent& x) {
                const bool picture =
                    x.state == ClipboardContent::State::Bitmap && !x.picture.isNull();
                if (seenBefore && picture && x.ownership != m_xReported) {
                    // The Wayland offer was left at an earlier look (a put-back, or a copy
                    // taken and left): an X copy not looked at on its own yet is, or it would
                    // wait behind that offer for good.
                    m_waylandLooked = 0;
                    reportX(x, done);
                    return;
                }
                if (picture && x.fingerprint != 0 && x.fingerprint == content.fingerprint)
                    m_xBehind = x.ownership;
                done(content);
            });
        });
}

void QtClipboard::lookBehindUnreadable(std::uint64_t offer, const ClipboardContent& unreadable,
                                       std::function<void(ClipboardContent)> done) {
    // An offer that cannot be read may be the compositor's copy of an X program's copy that
    // it cannot hand over (KWin keeps one after the X side is emptied): the X side decides.
    lookX(true, [this, offer, unreadable, done = std::move(done)](const ClipboardContent& x) {
        if (x.state == ClipboardContent::State::Bitmap && !x.picture.isNull()) {
            // Left where it is: it may be a Wayland program's own copy, slow to hand over.
            m_waylandBeside = offer;
            done(x);
        } else if (x.state == ClipboardContent::State::NoBitmap &&
                   m_sides.leftOverFromXTake(offer)) {
            // Made since the X copy just taken, and unreadable: what the compositor left
            // on Wayland of it.
            qCDebug(lcCapture) << "unreadable Wayland offer left of the X copy just taken";
            m_wayland->clearIfUnchanged(offer);
            // KWin offers the X copy again once this is emptied: still the same hand-over,
            // however long this unreadable one took to give up on.
            m_sides.handOverGoesOn(m_clock.elapsed());
            done(nothing());
        } else {
            done(unreadable);
        }
    });
}

void QtClipboard::lookX(bool readImage, std::function<void(ClipboardContent)> done) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const bool mirror = m_wayland && m_xwayland->ownedByCompositor();
    const bool own = !mirror && ownsXClipboard();
    if (mirror || own || !m_x11.isConnected()) {
        // Our own content is read locally, without a trip through the X server; what the
        // compositor mirrors from Wayland was looked at there.
        ClipboardContent content;
        content.own = own;
        const QMimeData* data = mirror ? nullptr : clipboard->mimeData();
        if (data && data->hasImage()) {
            content.state = ClipboardContent::State::Bitmap;
            if (readImage) {
                const QImage image = qvariant_cast<QImage>(data->imageData());
                content.picture = Picture::fromImage(image);
                content.fingerprint = pixelFingerprint(image);
                if (content.picture.isNull())
                    content.state = ClipboardContent::State::Unreadable;
            }
        }
        QMetaObject::invokeMethod(
            this, [done = std::move(done), content] { done(content); }, Qt::QueuedConnection);
        return;
    }
    m_x11.look(readImage,
               [this, done = std::move(done)](const ClipboardContent& x) { reportX(x, done); });
}

void QtClipboard::reportX(const ClipboardContent& x,
                          const std::function<void(ClipboardContent)>& done) {
    if (m_wayland && m_sides.bridgedFrom(Side::Wayland, x.fingerprint)) {
        // The compositor's X copy of the Wayland copy just taken.
        qCDebug(lcCapture) << "X copy bridged from the Wayland copy just taken";
        m_x11.clearIfUnchanged(x.ownership);
        done(nothing());
        return;
    }
    m_xReported = x.ownership;
    ClipboardContent content = x;
    if (x.overOurCopy && x.fingerprint != 0 && !m_ownCopy.isNull()) {
        if (m_ownCopyFingerprint == 0)
            m_ownCopyFingerprint = pixelFingerprint(m_ownCopy);
        content.ourCopyHeld = m_ownCopyFingerprint == x.fingerprint;
    }
    done(content);
}

bool QtClipboard::ownsXClipboard() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c || m_clipboardAtom == XCB_NONE)
        return true;
    // Owned by a window of Qt's own connection, as the server sees it now.
    XPtr<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, m_clipboardAtom), nullptr));
    if (!owner)
        return true;
    const xcb_setup_t* setup = xcb_get_setup(c);
    return owner->owner != XCB_NONE &&
           (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
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
        // Read through the compositor, with an X program holding the same picture: it came
        // from either side, and whichever side shows it next shows the same capture.
        m_sides.taken(m_xBehind ? Side::Both : Side::Wayland, taken.fingerprint, m_clock.elapsed());
        m_wayland->noteTaken(taken.ownership & ~kWaylandOffer);
        m_wayland->clearIfUnchanged(taken.ownership & ~kWaylandOffer);
        if (m_xBehind)
            m_x11.clearIfUnchanged(std::exchange(m_xBehind, 0));
        return;
    }
    m_sides.taken(Side::X, taken.fingerprint, m_clock.elapsed(), std::exchange(m_waylandBeside, 0));
    if (ownsXClipboard() || !m_x11.isConnected()) {
        clipboard->clear();
        return;
    }
    m_x11.clearIfUnchanged(taken.ownership);
    if (!m_wayland && m_xwayland)
        m_xwayland->holdEmptyOnceEmptied();
}

void QtClipboard::keepTaken(const ClipboardContent& taken) {
    if (m_wayland && taken.ownership == m_waylandLooked) {
        m_sides.taken(std::exchange(m_xBehind, 0) ? Side::Both : Side::Wayland, taken.fingerprint,
                      m_clock.elapsed());
        m_wayland->noteTaken(taken.ownership & ~kWaylandOffer);
        return;
    }
    m_sides.taken(Side::X, taken.fingerprint, m_clock.elapsed(), std::exchange(m_waylandBeside, 0));
    m_x11.noteTaken(taken.ownership);
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
    m_ownCopy = image;
    m_ownCopyFingerprint = 0; // made when a manager offers a picture after it
    return true;
}

void QtClipboard::setChangeHandler(std::function<void()> handler) {
    m_changed = std::move(handler);
}
