#include "app/command_line.h"
#include "app/form_capture.h"
#include "app/qt_viewer_host.h"
#include "app/single_instance.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_log.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/translations.h"
#include "platform/qt/windows/capture_window.h"

#include <QApplication>
#include <QImageReader>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef PICTAVO_APP_ID
#error "the build sets PICTAVO_APP_ID"
#endif

namespace {

int answer(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    // A full disk or a closed pipe must not pass for an answer.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        // Taken first: setting up the logging looks for its files.
        const int error = errno;
        qCWarning(lcPictavo, "cannot write the answer: %s", std::strerror(error));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
    case StartAction::Help:
        return answer(helpText());
    case StartAction::Version:
        return answer(versionText());
    case StartAction::UsageError:
        // Written as bytes: the wrong word is named exactly as given, UTF-8 or not, which
        // Qt's logging, made for text, would not keep.
        std::fprintf(stderr, "pictavo: %s\nTry 'pictavo --help' for more information.\n",
                     line.error.c_str());
        return 2;
    case StartAction::Run:
        break;
    }

    // Under Wayland a client reads the clipboard only while focused; XWayland does not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (const auto problem = displayProblem()) {
        qCWarning(lcPictavo).noquote() << QString::fromLocal8Bit(*problem);
        return 1;
    }
    QtApplication app(argc, argv);
    installTranslations(app);
    QApplication::setApplicationName(QStringLiteral("Pictavo"));
    QApplication::setDesktopFileName(QStringLiteral(PICTAVO_APP_ID));
    // The desktop's icon theme may restyle the icon; the built-in copy stands in otherwise.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(PICTAVO_APP_ID), appIcon()));
    configureImageLimits();

    const SingleInstance::Place place = SingleInstance::defaultPlace();
    SingleInstance::Result instance;
    if (place.path.isEmpty())
        instance.reason = place.notice;
    else
        instance = SingleInstance::acquire(place.path);
    if (instance.outcome == SingleInstance::Outcome::RunningElsewhere)
        return 0;
    if (!place.path.isEmpty() && !place.notice.isEmpty())
        qCWarning(lcPictavo).noquote() << place.notice;
    if (!instance.notice.isEmpty())
        qCWarning(lcPictavo).noquote() << instance.notice;
    // Refusing to start would lock the user out of the program over a file.
    if (instance.outcome == SingleInstance::Outcome::Unavailable)
        qCWarning(lcPictavo).noquote()
            << QStringLiteral("single-instance protection is off: %1").arg(instance.reason);

    QtPlatform qt;
    CaptureWindow window;
    QtViewerHost viewers(window);
    formCapture form(window, qt.platform(), viewers, &qt.jobs);
    viewers.attach(form.gallery(), qt.platform());
    window.attach(form.gallery(), form);
    window.setWindowTitle(QCoreApplication::translate("formCapture", formCapture::kStartCaption));
    window.resize(632, 453);
    window.centreOnScreen();
    form.Form_Load();
    window.show();
    return QApplication::exec();
}
