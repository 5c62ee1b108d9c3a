// A window of a native Wayland program, to hold the focus in tests.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "wayland");
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("wl_window"));
    window.resize(320, 240);
    window.show();
    return QApplication::exec();
}
