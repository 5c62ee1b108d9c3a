// A German session's dialogs: the program's texts and Qt's own, as start-up loads them.
#include "dialogs/module1.h"
#include "integration/viewer_support.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/translations.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {
QStringList texts(const QList<QAbstractButton*>& buttons) {
    QStringList out;
    for (const QAbstractButton* b : buttons)
        out << b->text().remove(QLatin1Char('&'));
    return out;
}
} // namespace

TEST(Translations, GermanSaveDialogAndQuestionSpeakGerman) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QStringList loaded = installTranslations(*QCoreApplication::instance(),
                                                   QLocale(QLocale::German, QLocale::Germany));
    // The other tests read English, whatever happens here.
    struct English {
        ~English() {
            for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(t);
                delete t;
            }
        }
    } english;
    EXPECT_EQ(loaded.size(), 2) << loaded.join(QLatin1Char(' ')).toStdString();

    QString title, question;
    QStringList buttons, answers;
    ModalDriver driver;
    driver
        .then<QFileDialog>([&](QFileDialog& d) {
            title = d.windowTitle();
            if (auto* box = d.findChild<QDialogButtonBox*>())
                buttons = texts(box->buttons());
            d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QStringLiteral("neu.jpg"));
            static_cast<QDialog&>(d).accept();
        })
        .then<QMessageBox>([&](QMessageBox& box) {
            question = box.text();
            answers = texts(box.buttons());
            box.button(QMessageBox::No)->click();
        })
        .then<QFileDialog>([&](QFileDialog& d) { d.reject(); });
    driver.start();
    QtDialogs dialogs;
    const QString path = Module1::ShowSaveDialog(
        dialogs, nullptr, QStringLiteral("JPEG Image (*.jpg)|*.jpg"),
        QCoreApplication::translate("Save", "Save Image"), tmp.path(), QStringLiteral("Imag.jpg"));
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(path.isEmpty());
    EXPECT_EQ(title.toStdString(), "Bild speichern");
    EXPECT_TRUE(buttons.contains(QStringLiteral("Speichern"))) << buttons.join(' ').toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Abbrechen"))) << buttons.join(' ').toStdString();
    EXPECT_EQ(question.toStdString(), "neu.jpg existiert nicht.\nSoll die Datei erstellt werden?");
    EXPECT_TRUE(answers.contains(QStringLiteral("Ja"))) << answers.join(' ').toStdString();
    EXPECT_TRUE(answers.contains(QStringLiteral("Nein"))) << answers.join(' ').toStdString();
}
