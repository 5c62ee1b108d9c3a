#include "app/form_capture.h"
#include "app/single_instance.h"
#include "platform/qt/capture_window.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QImageReader>
#include <QScreen>

int main(int argc, char* argv[]) {
    // Under Wayland a client reads the clipboard only while focused; XWayland does not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavo"));
    QApplication::setWindowIcon(appIcon());
    configureImageLimits();

    const auto instance = SingleInstance::acquire(SingleInstance::defaultLockPath());
    if (!instance)
        return 0;

    QtPlatform qt;
    CaptureWindow window;
    QtViewerHost viewers(window);
    formCapture form(window, qt.platform(), viewers);
    viewers.attach(form.gallery(), qt.platform());
    window.attach(form.gallery(), form);
    window.setWindowTitle(QString::fromLatin1(formCapture::kStartCaption));
    window.resize(632, 453);
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - QPoint(632 / 2, 453 / 2));
    form.Form_Load();
    window.show();
    return QApplication::exec();
}
