#include "app/form_capture.h"
#include "fakes/fake_platform.h"
#include "gallery/key_dispatch.h"

#include <gtest/gtest.h>

namespace {

struct FormFixture : ::testing::Test {
    FakePlatform fake;
    FakeMainWindow window;
    FakeViewerHost viewers;
    formCapture form{window, fake.platform, viewers};

    void fill(int n) {
        for (int i = 0; i < n; ++i)
            form.gallery().AddImage(solidPicture(4, 4, 0xff000000u + i));
    }
};

} // namespace

TEST_F(FormFixture, LettersActWithCtrlAloneOtherKeysWithAnyModifiers) {
    EXPECT_EQ(dispatchKey(keys::S, keys::CtrlMask).action, KeyAction::RunCommand);
    EXPECT_EQ(dispatchKey(keys::S, 0).action, KeyAction::None);
    EXPECT_EQ(dispatchKey(keys::S, keys::ShiftMask).action, KeyAction::None);
    EXPECT_EQ(dispatchKey(keys::S, keys::CtrlMask | keys::ShiftMask).action, KeyAction::None);
    EXPECT_EQ(dispatchKey(keys::Delete, keys::ShiftMask), (KeyDispatch{KeyAction::RunCommand, Command::Delete}));
    EXPECT_EQ(dispatchKey(keys::F8, keys::CtrlMask), (KeyDispatch{KeyAction::RunCommand, Command::Clear}));
    EXPECT_EQ(dispatchKey(keys::B, keys::CtrlMask).command, Command::Browse);
    EXPECT_EQ(dispatchKey(keys::O, keys::CtrlMask).command, Command::Open);
    EXPECT_EQ(dispatchKey(keys::P, keys::CtrlMask).command, Command::Print);
    EXPECT_EQ(dispatchKey(keys::C, keys::CtrlMask).command, Command::Copy);
    EXPECT_EQ(dispatchKey(keys::Esc, keys::AltMask).action, KeyAction::StopLoading);
    EXPECT_EQ(dispatchKey(90, keys::CtrlMask).action, KeyAction::None);
}

TEST_F(FormFixture, ArrowsStepByIndexAndByRowAndNeverWrap) {
    fill(12); // 8 per row at the design size: entries 0..11
    form.Form_Resize();
    EXPECT_EQ(form.gallery().ThumbsPerRow, 8);
    form.Form_KeyDown(keys::Left, 0);
    EXPECT_FALSE(form.gallery().shpSelected.visible) << "Left on entry 0 does nothing";
    form.gallery().SelectImage(3);
    form.Form_KeyDown(keys::Down, keys::ShiftMask);
    EXPECT_EQ(form.gallery().SelectedIndex, 11);
    form.Form_KeyDown(keys::Right, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 11) << "Right on the top entry does nothing";
    form.Form_KeyDown(keys::Up, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 3);
    form.Form_KeyDown(keys::Up, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 3) << "Up in the first row does nothing";
    form.gallery().SelectImage(8);
    form.Form_KeyDown(keys::Up, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 0) << "the second row's first entry steps up to 0";
    form.gallery().SelectImage(3);
    form.Form_KeyDown(keys::Right, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 4);

    form.gallery().SelectImage(3);
    form.gallery().destroyTopEntry(); // top index 10
    form.Form_KeyDown(keys::Down, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 3) << "3 + 8 is beyond the top index";
}

TEST_F(FormFixture, UpAndDownInOneRowReselectAndShowTheFrame) {
    fill(3);
    form.Form_Resize();
    ASSERT_EQ(form.gallery().ThumbsPerRow, 0);
    form.gallery().SelectedIndex = 2;
    form.Form_KeyDown(keys::Down, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 2);
    EXPECT_TRUE(form.gallery().shpSelected.visible);
    EXPECT_EQ(form.gallery().shpSelected.left, form.gallery().imgView(2).left - 30);
}

TEST_F(FormFixture, MouseOnThumbnailsAndBackground) {
    fill(2);
    form.imgView_MouseUp(1, 2, 0, 0, 0);
    EXPECT_EQ(form.gallery().SelectedIndex, 1);
    EXPECT_EQ(window.menusShown, 1);
    EXPECT_TRUE(viewers.zooms.empty());

    form.Form_MouseUp(1, 0, 5, 5);
    form.Form_MouseUp(4, 0, 5, 5);
    EXPECT_EQ(window.menusShown, 1) << "left and middle on the background do nothing";
    form.Form_MouseUp(2, 0, 5, 5);
    EXPECT_EQ(window.menusShown, 2);
    EXPECT_EQ(form.gallery().SelectedIndex, 1);

    form.imgView_MouseUp(0, 1, keys::CtrlMask, 0, 0);
    ASSERT_EQ(viewers.zooms.size(), 1u);
    EXPECT_EQ(viewers.zooms[0].caption, QStringLiteral("Image 1")) << "no name: its number";
    EXPECT_EQ(viewers.zooms[0].shift, keys::CtrlMask);
    EXPECT_EQ(form.gallery().SelectedIndex, 0);

    form.imgView_DblClick(1);
    EXPECT_EQ(viewers.fullScreens.size(), 1u);
    EXPECT_EQ(viewers.fullScreenNames, QStringList{QStringLiteral("Image 2")});
    EXPECT_EQ(form.gallery().SelectedIndex, 0) << "a double click alone selects nothing";
}

TEST_F(FormFixture, EnterOnAnEmptyEntryOpensAndSecondBrowseIsIgnored) {
    fake.dialogs.answers.push_back(QString()); // the open dialog is cancelled
    form.Form_KeyDown(keys::Enter, 0);
    ASSERT_EQ(fake.dialogs.calls.size(), 1u);
    EXPECT_EQ(fake.dialogs.calls[0].kind, QStringLiteral("open"));
    EXPECT_TRUE(viewers.zooms.empty());

    window.setMenuEnabled(Command::Browse, false); // a Browse is loading
    form.Form_KeyDown(keys::B, keys::CtrlMask);
    EXPECT_EQ(fake.dialogs.calls.size(), 1u) << "Ctrl+B inside a Browse does nothing";
}

TEST_F(FormFixture, MenuKeyAndShiftF10OpenTheMenuAtTheSelectedThumbnail) {
    fill(10);
    form.Form_Resize();
    form.Form_KeyDown(keys::F10, keys::ShiftMask); // nothing selected yet: the window's centre
    form.gallery().SelectImage(9);
    form.Form_KeyDown(keys::Menu, keys::CtrlMask);
    form.Form_KeyDown(keys::F10, 0);
    form.Form_KeyDown(keys::F10, keys::ShiftMask | keys::CtrlMask);
    ASSERT_EQ(window.keyboardMenus.size(), 2u) << "F10 without Shift alone opens nothing";
    EXPECT_FALSE(window.keyboardMenus[0]);
    // Entry 9 stands at Left 1200, Top 975.
    EXPECT_EQ(window.keyboardMenus[1], QPoint(1200 + 555, 975 + 435));
    EXPECT_EQ(form.gallery().SelectedIndex, 9) << "the menu keys leave the selection";
    EXPECT_EQ(window.menusShown, 0);

    form.menuCommand(Command::Clear);
    form.Form_KeyDown(keys::Menu, 0);
    ASSERT_EQ(window.keyboardMenus.size(), 3u);
    EXPECT_FALSE(window.keyboardMenus[2]) << "after Clear nothing is selected";
}
