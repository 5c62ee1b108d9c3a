// Plays the other side of the clipboard in tests: owners that are slow, die, or
// hand out many pictures, and a clipboard manager that restores what was emptied.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColor>
#include <QImage>
#include <QMimeData>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

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
        return mime == QLatin1String("image/png") ? QVariant(m_png) : QVariant();
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

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

int usage() {
    std::fprintf(stderr,
                 "cliptool put FILE | slow FILE MS | dying FILE | text TEXT | burst N W H |\n"
                 "         manager | formats\n");
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
    auto serveUntilLost = [&] {
        QObject::connect(cb, &QClipboard::changed, [&](QClipboard::Mode m) {
            if (m == QClipboard::Clipboard && !cb->ownsClipboard())
                app.quit();
        });
        QTimer::singleShot(120000, &app, &QApplication::quit);
        say(QStringLiteral("owned"));
        return app.exec();
    };

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
        cb->setMimeData(new TestMime(image, mode == QLatin1String("dying") ? Behaviour::Dying
                                                                           : Behaviour::Normal, 0));
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
        auto putNext = [&] {
            if (next == count) {
                say(QStringLiteral("done %1").arg(count));
                app.quit();
                return;
            }
            cb->setMimeData(new TestMime(numbered(next, w, h), Behaviour::Normal, 0));
            ++next;
        };
        QObject::connect(cb, &QClipboard::changed, [&](QClipboard::Mode m) {
            if (m == QClipboard::Clipboard && !cb->ownsClipboard())
                QTimer::singleShot(0, putNext);
        });
        QTimer::singleShot(0, putNext);
        QTimer::singleShot(120000, &app, [&] { say(QStringLiteral("timeout at %1").arg(next)); app.exit(1); });
        return app.exec();
    }
    if (mode == QLatin1String("manager")) {
        // Like the clipboard managers that keep the last content alive.
        QImage last;
        int restores = 0;
        QObject::connect(cb, &QClipboard::changed, [&](QClipboard::Mode m) {
            if (m != QClipboard::Clipboard || cb->ownsClipboard())
                return;
            const QMimeData* data = cb->mimeData();
            if (data && data->hasImage()) {
                last = qvariant_cast<QImage>(data->imageData());
                return;
            }
            if ((!data || data->formats().isEmpty()) && !last.isNull()) {
                cb->setImage(last);
                say(QStringLiteral("restored %1").arg(++restores));
            }
        });
        say(QStringLiteral("managing"));
        return app.exec();
    }
    return usage();
}
