#include "platform/qt/windows/picture_loader.h"

#include "platform/qt/background_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <latch>
#include <memory>

namespace {

// Two decodes at once: a viewer shown while another one decodes need not wait,
// and one core stays for the window.
constexpr int kThreads = 2;

/** The picture ready to be scaled for drawing: true colour. */
QImage drawable(QImage image) {
    // Qt scales 1-bit and palette images into dithered 1-bit ones; these
    // (pasted PNGs of few colours) are converted once.
    if (image.depth() < 24)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    return image;
}

/** A copy large enough to cover the screen, so it serves every size a window on
    it takes; made only when it is much smaller than the original. */
QImage reducedFor(const QImage& original, QSize screenSize) {
    const double factor = screenSize.isEmpty() || original.isNull()
                              ? 1.0
                              : std::max(double(screenSize.width()) / original.width(),
                                         double(screenSize.height()) / original.height());
    if (factor >= 0.5)
        return QImage();
    return original.scaled(qRound(original.width() * factor), qRound(original.height() * factor),
                           Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

PictureLoader::Result decode(const Picture& picture, QSize screen, bool whole) {
    PictureLoader::Result out;
    // A photo held as its file is decoded at a scale that covers the screen, a
    // fraction of the whole decode's time.
    if (!whole && !screen.isEmpty() && picture.isHeldAsFile()) {
        QImage covering = drawable(picture.toImageCovering(screen));
        if (covering.size() != QSize(picture.width(), picture.height())) {
            out.reduced = std::move(covering);
            return out;
        }
        out.whole = std::move(covering);
    }
    if (out.whole.isNull())
        out.whole = drawable(picture.toImage());
    out.failed = out.whole.isNull();
    out.reduced = reducedFor(out.whole, screen);
    return out;
}

} // namespace

PictureLoader& PictureLoader::instance() {
    static QPointer<PictureLoader> loader;
    if (!loader) {
        loader = new PictureLoader();
        // A child of the application object: it goes, waiting for its threads,
        // before the application does.
        loader->setParent(QCoreApplication::instance());
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, loader,
                         [l = loader.data()] { l->stop(); });
    }
    return *loader;
}

PictureLoader::Result PictureLoader::decodeNow(const Picture& picture, QSize screen, bool whole) {
    return decode(picture, screen, whole);
}

PictureLoader::PictureLoader() {
    m_pool.setMaxThreadCount(kThreads);
    m_pool.setObjectName(QStringLiteral("pictavo-viewers"));
    // Made at once and kept: once memory runs short no thread can be made, and a decode
    // that never starts would leave the view blank instead of saying it lacks memory.
    m_pool.setExpiryTimeout(-1);
    auto started = std::make_shared<std::latch>(kThreads);
    for (int i = 0; i < kThreads; ++i)
        m_pool.start([started] { started->arrive_and_wait(); });
}

PictureLoader::~PictureLoader() {
    stop();
}

void PictureLoader::stop() {
    m_pool.clear();
    m_pool.waitForDone();
}

std::shared_ptr<PictureLoader::Ticket> PictureLoader::request(QObject* receiver,
                                                              const Picture& picture, QSize screen,
                                                              bool whole,
                                                              std::function<void(Result)> done) {
    auto ticket = std::make_shared<Ticket>();
    QPointer<QObject> to(receiver);
    // Newest first: when the user moves through pictures, the one now shown is
    // the one to decode; older ones are mostly cancelled by then.
    const int priority = ++m_order;
    m_pool.start(
        [this, ticket, to, picture, screen, whole, done = std::move(done)]() mutable {
            if (ticket->cancelled())
                return;
            yieldToTheWindow();
            const int now = ++m_decoding;
            int most = m_mostDecoding;
            while (now > most && !m_mostDecoding.compare_exchange_weak(most, now)) {
            }
            Result result;
            try {
                result = decode(picture, screen, whole);
            } catch (...) {
                result = Result{};
                result.failed = true;
            }
            --m_decoding;
            if (ticket->cancelled())
                return;
            // Queued to the loader, which outlives its work; the receiver is
            // looked at only there, on its own thread.
            QMetaObject::invokeMethod(
                this,
                [ticket, to, done = std::move(done), result = std::move(result)]() mutable {
                    if (to && !ticket->cancelled())
                        done(std::move(result));
                },
                Qt::QueuedConnection);
        },
        priority);
    return ticket;
}
