// The baseline of the capture latency: a minimal Qt program that reads the
// clipboard's image whenever it changes, and empties it.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QClipboard* cb = QGuiApplication::clipboard();
    long taken = 0;
    QObject::connect(cb, &QClipboard::changed, [&](QClipboard::Mode m) {
        if (m != QClipboard::Clipboard || cb->ownsClipboard())
            return;
        const QMimeData* data = cb->mimeData();
        if (!data || !data->hasImage())
            return;
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (!image.isNull()) {
            ++taken;
            cb->clear();
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
