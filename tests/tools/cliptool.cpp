// Plays the other side of the clipboard in tests: owners that are slow, die, or
// hand out many pictures, and clipboard managers that restore what was emptied.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <poll.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

enum class Behaviour { Normal, Slow, Dying };

class TestMime final : public QMimeData {
public:
    TestMime(const QImage& image, Behaviour b, int delayMs) : m_behaviour(b), m_delayMs(delayMs) {
        QBuffer buffer(&m_png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }
    // Offered as PNG only, the way screenshot tools and browsers offer images.
    QStringList formats() const override { return {QStringLiteral("image/png")}; }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override {
        if (m_behaviour == Behaviour::Dying)
            _exit(0);
        if (m_behaviour == Behaviour::Slow)
            QThread::msleep(m_delayMs);
        Q_UNUSED(type);
        if (mime != QLatin1String("image/png"))
            return QVariant();
        // On stderr, apart from the lines the tests read: the picture was handed over.
        std::fprintf(stderr, "served\n");
        std::fflush(stderr);
        return QVariant(m_png);
    }

private:
    QByteArray m_png;
    Behaviour m_behaviour;
    int m_delayMs;
};

QImage numbered(int n, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(n % 256, (n / 256) % 256, 200));
    return image;
}

/** Watches who owns the clipboard on a connection of its own: Qt does not always
    tell an owner that it lost the clipboard. */
class OwnerWatch {
public:
    OwnerWatch() : m_c(xcb_connect(nullptr, nullptr)) {
        auto* reply = xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, 9, "CLIPBOARD"), nullptr);
        m_atom = reply ? reply->atom : XCB_NONE;
        std::free(reply);
    }
    ~OwnerWatch() { xcb_disconnect(m_c); }
    xcb_window_t owner() {
        auto* reply =
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_atom), nullptr);
        const xcb_window_t w = reply ? reply->owner : XCB_NONE;
        std::free(reply);
        return w;
    }

private:
    xcb_connection_t* m_c;
    xcb_atom_t m_atom;
};

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    auto* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

/** Owns the clipboard with a PNG that it hands over by INCR, one byte every 2.5 s: just
    within a reader's patience for each piece. Ends when another takes the clipboard.
    With lateTargetsMs, it hands the PNG over at once instead, but names its types only
    that long after each request, as a busy program does. With emptyFirst, it answers the
    first request for the picture with no data, then hands the PNG over at once. */
// A program that copies and quits as toolkits do, asking the clipboard manager to keep its
// copy (SAVE_TARGETS), but slow to hand the picture over: delayMs after it is asked. Quits
// at the manager's answer, handed over or not, and says "kept" or "not kept".
int storeSlowly(const QByteArray& png, int delayMs) {
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c))
        return 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const xcb_atom_t clipboard = internAtom(c, "CLIPBOARD"), targets = internAtom(c, "TARGETS"),
                     type = internAtom(c, "image/png"),
                     manager = internAtom(c, "CLIPBOARD_MANAGER"),
                     save = internAtom(c, "SAVE_TARGETS"), answer = internAtom(c, "CLIPTOOL_SAVE");
    xcb_set_selection_owner(c, w, clipboard, XCB_CURRENT_TIME);
    xcb_convert_selection(c, w, manager, save, answer, XCB_CURRENT_TIME);
    xcb_flush(c);
    say(QStringLiteral("owned"));
    auto notify = [&](const xcb_selection_request_event_t& r, xcb_atom_t property) {
        xcb_selection_notify_event_t n{};
        n.response_type = XCB_SELECTION_NOTIFY;
        n.time = r.time;
        n.requestor = r.requestor;
        n.selection = r.selection;
        n.target = r.target;
        n.property = property;
        xcb_send_event(c, 0, r.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&n));
        xcb_flush(c);
    };
    std::vector<std::pair<xcb_selection_request_event_t, QElapsedTimer>> asked;
    QElapsedTimer all;
    all.start();
    while (all.elapsed() < 30000) {
        for (auto it = asked.begin(); it != asked.end();) {
            if (it->second.elapsed() < delayMs) {
                ++it;
                continue;
            }
            const xcb_selection_request_event_t& r = it->first;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, r.requestor, r.property, type, 8,
                                uint32_t(png.size()), png.constData());
            notify(r, r.property);
            it = asked.erase(it);
        }
        pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&pfd, 1, 10);
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
            const std::unique_ptr<xcb_generic_event_t, void (*)(void*)> ev(raw, std::free);
            const int kind = ev->response_type & 0x7f;
            if (kind == XCB_SELECTION_NOTIFY) {
                const auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(raw);
                if (n->selection == manager) {
                    say(n->property != XCB_NONE ? QStringLiteral("kept")
                                                : QStringLiteral("not kept"));
                    return 0;
                }
            } else if (kind == XCB_SELECTION_REQUEST) {
                const auto& r = *reinterpret_cast<const xcb_selection_request_event_t*>(raw);
                if (r.target == targets) {
                    const xcb_atom_t offered[] = {targets, type};
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, r.requestor, r.property,
                                        XCB_ATOM_ATOM, 32, 2, offered);
                    notify(r, r.property);
                } else if (r.target == type) {
                    QElapsedTimer since;
                    since.start();
                    asked.emplace_back(r, since);
                } else {
                    notify(r, XCB_NONE);
                }
            }
        }
        if (xcb_connection_has_error(c))
            return 2;
    }
    return 1;
}

int drip(const QByteArray& png, int lateTargetsMs = -1, bool emptyFirst = false) {
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    xcb_connection_t* c = connection.get();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    const xcb_atom_t clipboard = internAtom(c, "CLIPBOARD"), targets = internAtom(c, "TARGETS"),
                     incr = internAtom(c, "INCR"), type = internAtom(c, "image/png");
    xcb_set_selection_owner(c, w, clipboard, XCB_CURRENT_TIME);
    xcb_flush(c);
    say(QStringLiteral("owned"));
    struct Transfer {
        xcb_window_t requestor = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        int sent = 0;
        bool deleted = false;
    } t;
    QElapsedTimer sincePiece;
    struct Late {
        xcb_selection_request_event_t request;
        QElapsedTimer since;
    };
    std::vector<Late> late;
    auto notify = [&](const xcb_selection_request_event_t* r, xcb_atom_t property) {
        xcb_selection_notify_event_t n{};
        n.response_type = XCB_SELECTION_NOTIFY;
        n.time = r->time;
        n.requestor = r->requestor;
        n.selection = r->selection;
        n.target = r->target;
        n.property = property;
        xcb_send_event(c, 0, r->requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&n));
    };
    auto offerTypes = [&](const xcb_selection_request_event_t* r) {
        const xcb_atom_t offered[] = {targets, type};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, XCB_ATOM_ATOM, 32,
                            2, offered);
        notify(r, r->property);
        xcb_flush(c);
    };
    for (;;) {
        for (auto it = late.begin(); it != late.end();) {
            if (it->since.elapsed() >= lateTargetsMs) {
                offerTypes(&it->request);
                it = late.erase(it);
            } else {
                ++it;
            }
        }
        if (t.requestor != XCB_NONE && t.deleted && sincePiece.elapsed() >= 2500 &&
            t.sent <= png.size()) {
            // The last piece has length 0: the end of the transfer.
            const int n = t.sent < png.size() ? 1 : 0;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, t.requestor, t.property, type, 8, n,
                                png.constData() + t.sent);
            xcb_flush(c);
            ++t.sent; // past the end once the empty piece is out
            t.deleted = false;
            sincePiece.restart();
            say(QStringLiteral("piece %1").arg(t.sent));
        }
        pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&pfd, 1, 100);
        while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) {
            const int kind = ev->response_type & 0x7f;
            if (kind == XCB_SELECTION_CLEAR) {
                std::free(ev);
                return 0;
            }
            if (kind == XCB_SELECTION_REQUEST) {
                auto* r = reinterpret_cast<xcb_selection_request_event_t*>(ev);
                if (r->target == targets && lateTargetsMs >= 0) {
                    late.push_back({*r, {}});
                    late.back().since.start();
                } else if (r->target == targets) {
                    offerTypes(r);
                } else if (r->target == type && emptyFirst) {
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, type,
                                        8, 0, nullptr);
                    notify(r, r->property);
                    emptyFirst = false;
                    lateTargetsMs = 0;
                    say(QStringLiteral("empty"));
                } else if (r->target == type && lateTargetsMs >= 0) {
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, type,
                                        8, uint32_t(png.size()), png.constData());
                    notify(r, r->property);
                } else if (r->target == type) {
                    // A new request takes the place of one still dripping.
                    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
                    xcb_change_window_attributes(c, r->requestor, XCB_CW_EVENT_MASK, &mask);
                    const uint32_t size = uint32_t(png.size());
                    xcb_change_property(c, XCB_PROP_MODE_REPLACE, r->requestor, r->property, incr,
                                        32, 1, &size);
                    notify(r, r->property);
                    t = Transfer{r->requestor, r->property, 0, false};
                    sincePiece.start();
                    say(QStringLiteral("sending"));
                } else {
                    notify(r, XCB_NONE);
                }
                xcb_flush(c);
            } else if (kind == XCB_PROPERTY_NOTIFY) {
                auto* p = reinterpret_cast<xcb_property_notify_event_t*>(ev);
                if (p->window == t.requestor && p->atom == t.property &&
                    p->state == XCB_PROPERTY_DELETE)
                    t.deleted = true;
            }
            std::free(ev);
        }
        if (xcb_connection_has_error(c))
            return 1;
    }
}

int usage() {
    std::fprintf(
        stderr,
        "cliptool put FILE | slow FILE MS | dying FILE | text TEXT | burst N W H |\n"
        "         manager FILE | keeper FILE MS | [press-]again FILE MS [TIMES] | drip FILE |\n"
        "         late-targets FILE MS | formats | image FILE | encode-png FILE |\n"
        "         latency[-image] N FILE | store-slowly FILE MS\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    QClipboard* cb = QGuiApplication::clipboard();
    const QString mode = args[0];

    // Owners stay until another program takes the clipboard or it is emptied.
    OwnerWatch watch;
    QTimer poll;
    poll.setInterval(5);
    auto serveUntilLost = [&] {
        QCoreApplication::processEvents();
        const xcb_window_t mine = watch.owner();
        QObject::connect(&poll, &QTimer::timeout, [&, mine] {
            const xcb_window_t now = watch.owner();
            if (now == XCB_NONE || now != mine)
                app.quit();
        });
        poll.start();
        QTimer::singleShot(120000, &app, &QApplication::quit);
        say(QStringLiteral("owned"));
        return app.exec();
    };

    if (mode == QLatin1String("drip") && args.size() == 2) {
        QFile file(args[1]);
        if (!file.open(QIODevice::ReadOnly))
            return 3;
        return drip(file.readAll());
    }
    if (mode == QLatin1String("late-targets") && args.size() == 3) {
        QFile file(args[1]);
        if (!file.open(QIODevice::ReadOnly))
            return 3;
        return drip(file.readAll(), args[2].toInt());
    }
    if (mode == QLatin1String("store-slowly") && args.size() == 3) {
        QFile file(args[1]);
        if (!file.open(QIODevice::ReadOnly))
            return 3;
        return storeSlowly(file.readAll(), args[2].toInt());
    }
    if (mode == QLatin1String("empty-first") && args.size() == 2) {
        QFile file(args[1]);
        if (!file.open(QIODevice::ReadOnly))
            return 3;
        return drip(file.readAll(), -1, true);
    }
    if (mode == QLatin1String("formats")) {
        const QMimeData* data = cb->mimeData();
        say(data ? data->formats().join(QLatin1Char(' ')) : QString());
        return 0;
    }
    if (mode == QLatin1String("text") && args.size() == 2) {
        cb->setText(args[1]);
        return serveUntilLost();
    }
    if ((mode == QLatin1String("put") || mode == QLatin1String("dying")) && args.size() == 2) {
        const QImage image(args[1]);
        if (image.isNull())
            return 3;
        cb->setMimeData(new TestMime(
            image, mode == QLatin1String("dying") ? Behaviour::Dying : Behaviour::Normal, 0));
        return serveUntilLost();
    }
    if (mode == QLatin1String("slow") && args.size() == 3) {
        const QImage image(args[1]);
        if (image.isNull())
            return 3;
        cb->setMimeData(new TestMime(image, Behaviour::Slow, args[2].toInt()));
        return serveUntilLost();
    }
    if (mode == QLatin1String("burst") && args.size() == 4) {
        // Puts picture i, waits until the clipboard has been emptied, puts i + 1.
        const int count = args[1].toInt(), w = args[2].toInt(), h = args[3].toInt();
        int next = 0;
        xcb_window_t mine = XCB_NONE;
        auto putNext = [&] {
            if (next == count) {
                say(QStringLiteral("done %1").arg(count));
                app.quit();
                return;
            }
            // The toolkit takes the clipboard with the last event time it has seen; until
            // it has seen the announcement of the previous emptying, the server refuses.
            for (int attempt = 0; attempt < 500; ++attempt) {
                cb->setMimeData(new TestMime(numbered(next, w, h), Behaviour::Normal, 0));
                // No reader takes a picture within the microseconds this check needs.
                if (watch.owner() != XCB_NONE)
                    break;
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                QThread::msleep(1);
            }
            QCoreApplication::processEvents();
            mine = watch.owner();
            ++next;
        };
        // Taken once the owner changed; None right away means it was taken already.
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const xcb_window_t now = watch.owner();
            if (now == XCB_NONE || now != mine)
                putNext();
        });
        putNext();
        poll.start();
        QTimer::singleShot(120000, &app, [&] {
            say(QStringLiteral("timeout at %1").arg(next));
            app.exit(1);
        });
        return app.exec();
    }
    if (mode == QLatin1String("poll1ms")) {
        // What a 1 ms poll of the clipboard costs while nothing happens.
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [cb] {
            const QMimeData* data = cb->mimeData();
            if (data)
                (void)data->hasImage();
        });
        timer.start(1);
        return app.exec();
    }
    if (mode == QLatin1String("image") && args.size() == 2) {
        // As Qt programs copy: every type Qt can write is offered, encoded when asked for.
        const QImage image(args[1]);
        if (image.isNull())
            return 3;
        cb->setImage(image);
        return serveUntilLost();
    }
    if (mode == QLatin1String("encode-png") && args.size() == 2) {
        // What Qt's own PNG encoding of the picture costs, median of 3, in milliseconds.
        const QImage image(args[1]);
        if (image.isNull())
            return 3;
        std::vector<double> ms;
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer timer;
            timer.start();
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            ms.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(ms.begin(), ms.end());
        say(QString::number(ms[1], 'f', 1));
        return 0;
    }
    if ((mode == QLatin1String("latency") || mode == QLatin1String("latency-image")) &&
        args.size() == 3) {
        // Offers the picture N times and measures, each time, how long until a
        // reader has emptied the clipboard. Prints the median in milliseconds. With
        // latency-image it is offered as Qt programs offer it, in every type Qt writes.
        const bool asQt = mode == QLatin1String("latency-image");
        const int count = args[1].toInt();
        QImage image(args[2]);
        if (image.isNull() || count <= 0)
            return 3;
        image = image.convertToFormat(QImage::Format_RGB32);
        std::vector<double> ms;
        QElapsedTimer timer;
        bool waiting = false;
        auto offer = [&] {
            // A different picture each round: the same one again at once would be
            // taken for a clipboard manager's restored copy.
            image.setPixel(0, 0, qRgb(int(ms.size()) % 256, 0, 0));
            for (int attempt = 0; attempt < 500; ++attempt) {
                if (asQt)
                    cb->setImage(image);
                else
                    cb->setMimeData(new TestMime(image, Behaviour::Normal, 0));
                if (watch.owner() != XCB_NONE)
                    break;
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            }
            timer.start();
            waiting = true;
        };
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!waiting)
                return;
            if (watch.owner() == XCB_NONE) {
                ms.push_back(timer.nsecsElapsed() / 1e6);
                waiting = false;
                if (int(ms.size()) == count) {
                    app.quit();
                    return;
                }
                // Let the reader settle before the next round.
                QTimer::singleShot(100, offer);
            } else if (timer.elapsed() > (asQt ? 60000 : 10000)) {
                say(QStringLiteral("timeout"));
                app.exit(1);
            }
        });
        poll.setInterval(0);
        poll.start();
        offer();
        if (app.exec() != 0)
            return 1;
        std::sort(ms.begin(), ms.end());
        say(QString::number(ms[ms.size() / 2], 'f', 2));
        return 0;
    }
    if (mode == QLatin1String("manager") && args.size() == 2) {
        // Like the clipboard managers that keep the last content alive: it puts
        // the picture, and puts it back whenever the clipboard has been emptied.
        const QImage image(args[1]);
        if (image.isNull())
            return 3;
        int restores = 0;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (watch.owner() == XCB_NONE) {
                // Until the toolkit has seen the emptying, the server refuses its
                // stale timestamp; the next poll tries again.
                cb->setMimeData(new TestMime(image, Behaviour::Normal, 0));
                if (watch.owner() != XCB_NONE)
                    say(QStringLiteral("restored %1").arg(++restores));
            }
        });
        cb->setMimeData(new TestMime(image, Behaviour::Normal, 0));
        poll.start();
        say(QStringLiteral("managing"));
        return app.exec();
    }
    if (mode == QLatin1String("keeper") && args.size() == 3) {
        // Like Xfce's clipboard manager: it holds the manager's role, and a while after
        // each emptying puts the picture back, unless another program has taken the
        // clipboard by then.
        const QImage image(args[1]);
        const int delayMs = args[2].toInt();
        auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
        if (image.isNull() || !x11)
            return 3;
        // On the toolkit's own connection: the role and the copies come from one client.
        xcb_connection_t* c = x11->connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_window_t roleWindow = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, roleWindow, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        xcb_set_selection_owner(c, roleWindow, internAtom(c, "CLIPBOARD_MANAGER"),
                                XCB_CURRENT_TIME);
        xcb_flush(c);
        int putBacks = 0;
        xcb_window_t last = watch.owner();
        QElapsedTimer emptied;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            const xcb_window_t now = watch.owner();
            if (now == XCB_NONE && last != XCB_NONE)
                emptied.start();
            last = now;
            if (!emptied.isValid())
                return;
            if (now != XCB_NONE) {
                emptied.invalidate(); // another program was quicker
            } else if (emptied.elapsed() >= delayMs) {
                // Refused until the toolkit has seen the emptying: the next poll tries again.
                cb->setMimeData(new TestMime(image, Behaviour::Normal, 0));
                last = watch.owner();
                if (last != XCB_NONE) {
                    emptied.invalidate();
                    say(QStringLiteral("put back %1").arg(++putBacks));
                }
            }
        });
        poll.start();
        say(QStringLiteral("keeping"));
        return app.exec();
    }
    if ((mode == QLatin1String("again") || mode == QLatin1String("press-again")) &&
        (args.size() == 3 || args.size() == 4)) {
        // One program copying the same picture TIMES times (2 unless said): again MS after
        // it lost the clipboard, or after its copy while it keeps it. press-again first
        // presses a key, as a person's Ctrl+C does. Ends once the last copy is taken.
        const QImage image(args[1]);
        const int afterMs = args[2].toInt();
        const int times = args.size() == 4 ? args[3].toInt() : 2;
        const bool press = mode == QLatin1String("press-again");
        if (image.isNull() || times < 1)
            return 3;
        xcb_window_t mine = XCB_NONE;
        int copies = 0;
        auto copy = [&](xcb_window_t window) {
            if (press && QProcess::execute(QStringLiteral("xdotool"),
                                           {QStringLiteral("key"), QStringLiteral("shift")}) != 0)
                return xcb_window_t(XCB_NONE);
            // Refused until the toolkit has seen the emptying: tried again, but only once the
            // last try has had time to show, so that no stray try takes the clipboard later.
            for (int attempt = 0; attempt < 20; ++attempt) {
                cb->setMimeData(new TestMime(image, Behaviour::Normal, 0));
                QElapsedTimer tried;
                tried.start();
                while (tried.elapsed() < 500) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                    const xcb_window_t now = watch.owner();
                    if (now != XCB_NONE && (window == XCB_NONE || now == window))
                        return now;
                    QThread::msleep(1);
                }
            }
            return xcb_window_t(XCB_NONE);
        };
        const xcb_window_t window = copy(XCB_NONE);
        if (window == XCB_NONE)
            return 1;
        mine = window;
        say(QStringLiteral("copied %1").arg(++copies));
        QElapsedTimer since;
        since.start();
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (mine != XCB_NONE && watch.owner() != mine) {
                if (copies == times) {
                    app.quit();
                    return;
                }
                mine = XCB_NONE;
                since.start();
            } else if (since.elapsed() >= afterMs) {
                if (copies == times) {
                    // The last copy is left on the clipboard: taken all the same.
                    app.quit();
                    return;
                }
                mine = copy(window);
                since.start();
                if (mine == XCB_NONE)
                    app.exit(1);
                else
                    say(QStringLiteral("copied %1").arg(++copies));
            }
        });
        poll.start();
        QTimer::singleShot(120000, &app, [&] { app.exit(1); });
        return app.exec();
    }
    return usage();
}
