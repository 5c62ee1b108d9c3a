// Plays a drop target in tests: a window that takes a dragged picture and
// records what it received, or a window that claims to take drops and never answers.
//   droptarget png OUT     takes image/png; writes the bytes to OUT
//   droptarget uri OUT     takes text/uri-list when offered (else image/png);
//                          copies the file to OUT, its URL to OUT.url
//   droptarget silent      an XDND-aware window that never replies
// A drag taken in, with its source told so, touches OUT.entered; the offered formats go to OUT.formats;
// the program ends after one drop.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kUris = QStringLiteral("text/uri-list");

bool writeAll(const QString& path, const QByteArray& bytes) {
    // Whole or not at all: the test waits for the file to appear.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

class Target final : public QWidget {
public:
    Target(bool wantsFile, QString out) : m_wantsFile(wantsFile), m_out(std::move(out)) {
        setAcceptDrops(true);
        setWindowTitle(QStringLiteral("Drop target"));
        setAutoFillBackground(true);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, QColor(0xe0, 0xf0, 0xe0));
        setPalette(pal);
        resize(360, 300);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasFormat(kPng) ||
            (m_wantsFile && event->mimeData()->hasFormat(kUris)))
            event->acceptProposedAction();
    }

    void dragMoveEvent(QDragMoveEvent* event) override {
        event->acceptProposedAction();
        // The source sends a position only once the last one is answered: from
        // the second on, it knows that this window takes the drop.
        if (++m_positions == 2)
            writeAll(m_out + QStringLiteral(".entered"), QByteArray());
    }

    void dropEvent(QDropEvent* event) override {
        const QMimeData* mime = event->mimeData();
        writeAll(m_out + QStringLiteral(".formats"), mime->formats().join(QLatin1Char('\n')).toUtf8());
        bool taken = false;
        if (m_wantsFile && mime->hasFormat(kUris)) {
            const QList<QUrl> urls = mime->urls();
            if (urls.size() == 1 && urls[0].isLocalFile()) {
                QFile file(urls[0].toLocalFile());
                if (file.open(QIODevice::ReadOnly)) {
                    writeAll(m_out + QStringLiteral(".url"), urls[0].toEncoded());
                    taken = writeAll(m_out, file.readAll());
                }
            }
        } else if (mime->hasFormat(kPng)) {
            taken = writeAll(m_out, mime->data(kPng));
        }
        if (taken)
            event->acceptProposedAction();
        // After the reply to the source has gone out.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

private:
    bool m_wantsFile;
    QString m_out;
    int m_positions = 0;
};

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return a;
}

int silentTarget() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t w = xcb_generate_id(c);
    const uint32_t values[] = {0xe0c0c0};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 360, 300, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
    const char title[] = "Silent target";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        sizeof title - 1, title);
    const uint32_t version = 5;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "XdndAware"), XCB_ATOM_ATOM, 32, 1,
                        &version);
    xcb_map_window(c, w);
    xcb_flush(c);
    // Every message, XdndEnter and XdndPosition included, goes unanswered.
    while (xcb_generic_event_t* event = xcb_wait_for_event(c))
        std::free(event);
    xcb_disconnect(c);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "silent")
        return silentTarget();
    if ((mode != "png" && mode != "uri") || argc < 3) {
        std::fprintf(stderr, "usage: droptarget png|uri OUT | droptarget silent\n");
        return 2;
    }
    QApplication app(argc, argv);
    Target target(mode == "uri", QString::fromLocal8Bit(argv[2]));
    target.show();
    return QApplication::exec();
}
