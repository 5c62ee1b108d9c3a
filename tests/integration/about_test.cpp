// About with the real message box and the desktop's browser call, the browser
// being a stub xdg-open that records the address it was given.
#include "commands/commands.h"
#include "fakes/fake_platform.h"
#include "platform/qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
struct BoxSeen {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};
} // namespace

TEST(About, BoxClosedByEscapeThenTheFirstAddressOpens) {
    QTemporaryDir bin;
    const QString record = bin.path() + "/opened";
    {
        QFile stub(bin.path() + "/xdg-open");
        ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + QFile::encodeName(record) + "'\n");
        stub.close();
        stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QByteArray(QFile::encodeName(bin.path()) + ':' + oldPath));

    FakePlatform fake;
    QtMessageBox messages;
    QtShell shell;
    Platform platform{fake.clipboard, fake.clock, fake.files,   fake.pictures, fake.dialogs,
                      messages,       shell,      fake.printer, fake.converter};
    FakeMainWindow window;
    window.title = "Pictavo - [Use PrintScreen key to capture screen]";
    Gallery g{[] { return OuterSize{9600, 7200}; }};
    CommandEnv env{g, window, platform};

    // Closes the box with Escape once it shows; gives up after a deadline.
    BoxSeen seen;
    QDeadlineTimer deadline(20000);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            seen = {box->text(), box->windowTitle(), box->icon(), int(box->buttons().size())};
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
        } else if (deadline.hasExpired() && QApplication::activeModalWidget()) {
            QApplication::activeModalWidget()->close();
        }
    });
    closer.start(20);
    mnuAbout_Click(env);
    closer.stop();

    EXPECT_EQ(seen.title, window.title);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, 1);
    const QStringList lines = seen.text.split("\r\n");
    ASSERT_EQ(lines.size(), 4) << seen.text.toStdString();
    const QString first = lines[2];

    QString opened;
    QDeadlineTimer wait(20000);
    while (!wait.hasExpired()) {
        QFile f(record);
        if (f.open(QIODevice::ReadOnly) && f.readAll().endsWith('\n')) {
            f.seek(0);
            opened = QString::fromLocal8Bit(f.readAll()).trimmed();
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    qputenv("PATH", oldPath);
    EXPECT_EQ(opened, first);
}
