#include "dialogs/module1.h"
#include "integration/viewer_support.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString kSaveFilter = QStringLiteral("JPEG Image (*.jpg)|*.jpg|Bitmap Image (*.bmp)|*.bmp");
const QString kOpenFilter = QStringLiteral("All Graphics|*.bmp;*.gif;*.jpg;*.rle;*.emf;*.wmf");

QLineEdit* nameEdit(QFileDialog& d) {
    return d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

void type(QFileDialog& d, const QString& text) {
    QLineEdit* edit = nameEdit(d);
    ASSERT_TRUE(edit);
    edit->setText(text);
}

// What the dialog's own button does.
void accept(QFileDialog& d) {
    static_cast<QDialog&>(d).accept();
}

QStringList comboItems(QFileDialog& d) {
    QStringList items;
    if (auto* combo = d.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
    return items;
}

void answer(QMessageBox& box, QMessageBox::StandardButton button) {
    QAbstractButton* b = box.button(button);
    ASSERT_TRUE(b) << box.text().toStdString();
    b->click();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct DialogFixture : ::testing::Test {
    QTemporaryDir tmp;
    QString dir; // a folder with spaces and non-ASCII letters in its path
    QtDialogs dialogs;
    ModalDriver driver;

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path() + QStringLiteral("/Bilder mit Lücken/日本 фото");
        ASSERT_TRUE(QDir().mkpath(dir));
    }
};
} // namespace

TEST_F(DialogFixture, SaveAsksBeforeCreatingAndBeforeReplacingAndAppendsNothing) {
    std::vector<QString> prompts;
    QStringList shownFilters;
    QString selectedFilter, proposed, title;
    driver
        .then<QFileDialog>([&](QFileDialog& d) {
            title = d.windowTitle();
            shownFilters = comboItems(d);
            selectedFilter = d.selectedNameFilter();
            proposed = nameEdit(d)->text();
            type(d, QStringLiteral("neu schön"));
            accept(d);
        })
        .then<QMessageBox>([&](QMessageBox& box) {
            prompts.push_back(box.text());
            answer(box, QMessageBox::No); // back to the dialog
        })
        .then<QFileDialog>([&](QFileDialog& d) { accept(d); })
        .then<QMessageBox>([&](QMessageBox& box) {
            prompts.push_back(box.text());
            answer(box, QMessageBox::Yes);
        });
    driver.start();
    const QString path =
        Module1::ShowSaveDialog(dialogs, nullptr, kSaveFilter, QStringLiteral("Save Image"), dir,
                                QStringLiteral("Bild 1.bmp"));
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(title, QStringLiteral("Save Image"));
    // The descriptions as written, the list on its first pair, the name as proposed.
    EXPECT_EQ(shownFilters, (QStringList{QStringLiteral("JPEG Image (*.jpg)"),
                                         QStringLiteral("Bitmap Image (*.bmp)")}));
    EXPECT_TRUE(selectedFilter.startsWith(QStringLiteral("JPEG Image (*.jpg)")));
    EXPECT_EQ(proposed, QStringLiteral("Bild 1.bmp"));
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_TRUE(prompts[0].contains(QStringLiteral("neu schön"))) << prompts[0].toStdString();
    EXPECT_EQ(path, dir + QStringLiteral("/neu schön")); // no extension added
    EXPECT_FALSE(QFile::exists(path));                   // the dialog writes nothing

    // An existing file: Qt's own question before replacing; a refusal returns to the dialog.
    const QString existing = dir + QStringLiteral("/alt ä.bmp");
    writeFile(existing, "old");
    ModalDriver replace;
    int replacePrompts = 0;
    replace
        .then<QFileDialog>([&](QFileDialog& d) {
            type(d, QStringLiteral("alt ä.bmp"));
            accept(d);
        })
        .then<QMessageBox>([&](QMessageBox& box) {
            ++replacePrompts;
            answer(box, QMessageBox::No);
        })
        .then<QFileDialog>([&](QFileDialog& d) { accept(d); })
        .then<QMessageBox>([&](QMessageBox& box) {
            ++replacePrompts;
            EXPECT_TRUE(box.text().contains(QStringLiteral("alt ä.bmp")));
            answer(box, QMessageBox::Yes);
        });
    replace.start();
    EXPECT_EQ(Module1::ShowSaveDialog(dialogs, nullptr, kSaveFilter, QStringLiteral("Save Image"),
                                      dir, QStringLiteral("x.jpg")),
              existing);
    EXPECT_TRUE(replace.done());
    EXPECT_EQ(replacePrompts, 2);
}

TEST_F(DialogFixture, OpenTakesExistingFilesOnly) {
    const QString existing = dir + QStringLiteral("/ein Bild ü.bmp");
    writeFile(existing, "BM");
    QStringList shownFilters;
    bool warned = false;
    driver
        .then<QFileDialog>([&](QFileDialog& d) {
            shownFilters = d.nameFilters();
            type(d, QStringLiteral("fehlt.bmp"));
            accept(d);
        })
        .then<QMessageBox>([&](QMessageBox& box) {
            warned = true;
            box.accept();
        })
        .then<QFileDialog>([&](QFileDialog& d) {
            type(d, QStringLiteral("ein Bild ü.bmp"));
            accept(d);
        });
    driver.start();
    const QString path =
        Module1::ShowOpenDialog(dialogs, nullptr, kOpenFilter, QStringLiteral("Open Image"), dir);
    EXPECT_TRUE(driver.done());
    EXPECT_TRUE(warned);
    EXPECT_EQ(path, existing);
    ASSERT_EQ(shownFilters.size(), 1);
    EXPECT_TRUE(shownFilters[0].startsWith(QStringLiteral("All Graphics (*.bmp *.gif *.jpg")));
}

TEST_F(DialogFixture, FolderBrowserStartsHomeShowsThePromptAndTakesFoldersOnly) {
    const QString file = dir + QStringLiteral("/kein Ordner.txt");
    writeFile(file, "x");
    QString start, title;
    bool dirsOnly = false;
    bool stayedOnAFile = false;
    driver
        .then<QFileDialog>([&](QFileDialog& d) {
            start = d.directory().absolutePath();
            title = d.windowTitle();
            dirsOnly =
                d.fileMode() == QFileDialog::Directory && d.testOption(QFileDialog::ShowDirsOnly);
            type(d, file);
            accept(d);
            stayedOnAFile = d.isVisible();
            d.reject();
        })
        // A dialog of its own: the list's selection from the first name would
        // otherwise join the second.
        .then<QFileDialog>([&](QFileDialog& d) {
            type(d, dir);
            accept(d);
        });
    driver.start();
    const QString prompt = QStringLiteral("Select the desired folder:");
    EXPECT_EQ(Module1::BrowseForFolder(dialogs, prompt, nullptr), QString());
    const QString chosen = Module1::BrowseForFolder(dialogs, prompt, nullptr);
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(start, QDir::homePath());
    EXPECT_EQ(title, prompt);
    EXPECT_TRUE(dirsOnly);
    EXPECT_TRUE(stayedOnAFile);
    EXPECT_EQ(chosen, dir);
}

TEST_F(DialogFixture, CancelGivesAnEmptyPathEverywhere) {
    for (int i = 0; i < 3; ++i)
        driver.then<QFileDialog>([](QFileDialog& d) { d.reject(); });
    driver.start();
    EXPECT_EQ(Module1::ShowSaveDialog(dialogs, nullptr, kSaveFilter, QStringLiteral("Save Image"),
                                      dir, QStringLiteral("a.bmp")),
              QString());
    EXPECT_EQ(
        Module1::ShowOpenDialog(dialogs, nullptr, kOpenFilter, QStringLiteral("Open Image"), dir),
        QString());
    EXPECT_EQ(Module1::BrowseForFolder(dialogs, QStringLiteral("Select:"), nullptr), QString());
    EXPECT_TRUE(driver.done());
}
