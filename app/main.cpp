#include "app/form_capture.h"
#include "app/single_instance.h"
#include "platform/qt/capture_window.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QImageReader>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Under Wayland a client reads the clipboard only while focused; XWayland does not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictavo"));
    QApplication::setWindowIcon(appIcon());
    configureImageLimits();

    const SingleInstance::Result instance = SingleInstance::acquire(SingleInstance::defaultLockPath());
    if (instance.outcome == SingleInstance::Outcome::RunningElsewhere)
        return 0;
    // Refusing to start would lock the user out of the program over a file.
    if (instance.outcome == SingleInstance::Outcome::Unavailable)
        std::fprintf(stderr, "pictavo: single-instance protection is off: %s\n",
                     qPrintable(instance.reason));

    QtPlatform qt;
    CaptureWindow window;
    QtViewerHost viewers(window);
    formCapture form(window, qt.platform(), viewers);
    viewers.attach(form.gallery(), qt.platform());
    window.attach(form.gallery(), form);
    window.setWindowTitle(QString::fromLatin1(formCapture::kStartCaption));
    window.resize(632, 453);
    window.centreOnScreen();
    form.Form_Load();
    window.show();
    return QApplication::exec();
}
