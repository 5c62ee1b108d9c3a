// A native Wayland program that copies a picture the way a person does: on a key press in
// its focused window. Commands on stdin, one a line:
//   copy FILE   the next key press copies FILE (PNG) to the clipboard
//   key         presses a key itself, through mutter's remote-desktop interface (a headless
//               mutter has no keyboard of its own)
//   types       prints "types:" and the types on the clipboard as this program sees them
//   quit        ends the program
// It prints "active" and "inactive" as its window gains and loses the focus, "pressed" at
// each key press, "copied" after a copy, "lost MS" when its copy was replaced MS ms after
// it was made, and "remote" once the remote-desktop session runs (its first key press may
// only make the keyboard).
#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {
void say(const char* what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

class Copier final : public QWidget {
public:
    void setNext(const QString& file) { m_next = file; }

protected:
    void keyPressEvent(QKeyEvent*) override {
        say("pressed");
        if (m_next.isEmpty())
            return;
        QFile file(m_next);
        m_next.clear();
        if (!file.open(QIODevice::ReadOnly))
            return;
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("image/png"), file.readAll());
        QGuiApplication::clipboard()->setMimeData(mime);
        m_held.start();
        say("copied");
    }

public:
    /** After our copy was replaced: how long it stayed ours. */
    void checkLost() {
        if (!m_held.isValid() || QGuiApplication::clipboard()->ownsClipboard())
            return;
        std::printf("lost %lld\n", static_cast<long long>(m_held.elapsed()));
        std::fflush(stdout);
        m_held.invalidate();
    }

protected:
    void focusInEvent(QFocusEvent*) override { say("active"); }
    void focusOutEvent(QFocusEvent*) override { say("inactive"); }

private:
    QString m_next;
    QElapsedTimer m_held;
};

// A remote-desktop session of mutter gives its seat a keyboard; the session lives as long
// as this connection.
class RemoteKeyboard {
public:
    bool start() {
        QDBusInterface desktop(QStringLiteral("org.gnome.Mutter.RemoteDesktop"),
                               QStringLiteral("/org/gnome/Mutter/RemoteDesktop"),
                               QStringLiteral("org.gnome.Mutter.RemoteDesktop"));
        QDBusReply<QDBusObjectPath> path = desktop.call(QStringLiteral("CreateSession"));
        if (!path.isValid())
            return false;
        m_session = std::make_unique<QDBusInterface>(
            QStringLiteral("org.gnome.Mutter.RemoteDesktop"), path.value().path(),
            QStringLiteral("org.gnome.Mutter.RemoteDesktop.Session"));
        return m_session->call(QStringLiteral("Start")).type() != QDBusMessage::ErrorMessage;
    }
    void press() {
        if (!m_session && !start())
            return;
        constexpr int kShift = 42; // evdev KEY_LEFTSHIFT: types nothing anywhere
        m_session->call(QStringLiteral("NotifyKeyboardKeycode"), uint(kShift), true);
        m_session->call(QStringLiteral("NotifyKeyboardKeycode"), uint(kShift), false);
    }

private:
    std::unique_ptr<QDBusInterface> m_session;
};

void types() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QString list = data ? data->formats().join(QLatin1Char(',')) : QString();
    std::printf("types:%s\n", qPrintable(list));
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    Copier window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("wl_copier"));
    window.setFocusPolicy(Qt::StrongFocus);
    window.resize(320, 240);
    window.show();
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed,
                     [&window] { window.checkLost(); });
    RemoteKeyboard keyboard;
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") && keyboard.start())
        say("remote");
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QApplication::quit();
            return;
        }
        pending.append(buffer, n);
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0;) {
            const QString command = QString::fromLocal8Bit(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            if (command.startsWith(QLatin1String("copy ")))
                window.setNext(command.mid(5));
            else if (command == QLatin1String("key"))
                keyboard.press();
            else if (command == QLatin1String("types"))
                types();
            else if (command == QLatin1String("quit"))
                QApplication::quit();
        }
    });
    return QApplication::exec();
}
