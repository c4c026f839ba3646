// What the mail page and the lookup-category editor show: the recipient's
// mark drawn red on screen, as the page's help text says, and the failure
// texts in the program's one form ("<file>.cpp <line>: ... Error.").
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mail/MailDialogClass.h"
#include "resources/shell_ids.h"
#include "settings/SettingNavigation.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

void SetStateImage(HWND hList, int nRow, int nImage) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(nImage);
    SendMessageA(hList, LVM_SETITEMSTATE, (WPARAM)nRow, (LPARAM)&item);
    PumpMessages();
}

bool Reddish(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; }

// Red pixels on screen in the left 24 pixels of a row of the list.
int RedInRowStart(HWND hList, int nRow) {
    RECT rc = {};
    rc.left = LVIR_BOUNDS;
    if (!SendMessageA(hList, LVM_GETITEMRECT, (WPARAM)nRow, (LPARAM)&rc)) return -1;
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.left + 24; x++) n += Reddish(w32test::PixelAt(hList, x, y)) ? 1 : 0;
    return n;
}

TEST(MailPageLook, ASelectedRecipientIsMarkedRed) {
    StartFresh();
    AddContact({.name = "收件人", .email = "a@example.com"});
    SendMessageA(g_hMainWnd, WM_COMMAND, IDC_TB_MAIL, 0);
    ASSERT_EQ(g_pCurrentDialog, &g_Mail);
    HWND hList = g_Mail.m_RecipientList.m_hListView;
    ASSERT_EQ(RowCount(g_Mail.m_RecipientList), 1);
    PumpMessages();

    SetStateImage(hList, 0, 1);  // selected
    EXPECT_GT(RedInRowStart(hList, 0), 20);
    SetStateImage(hList, 0, 2);  // not selected
    EXPECT_EQ(RedInRowStart(hList, 0), 0);
}

TEST(MailPageLook, AFailedLoadOfTheContactsShowsTheTextInTheProgramsForm) {
    StartFresh();
    Database().Exec("PRAGMA legacy_alter_table=ON; ALTER TABLE contacts RENAME TO gone");
    TakeBoxes();
    SendMessageA(g_hMainWnd, WM_COMMAND, IDC_TB_MAIL, 0);
    const std::vector<std::string> boxes = TakeBoxes();
    Database().Exec("PRAGMA legacy_alter_table=ON; ALTER TABLE gone RENAME TO contacts");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.");
}

TEST(MailPageLook, TheCategoryEditorWithoutItsListShowsTheTextInTheProgramsForm) {
    StartFresh();
    Database().Exec("PRAGMA legacy_alter_table=ON; ALTER TABLE relation RENAME TO gone");
    TakeBoxes();
    GotoOptionSetting_Relation();
    const std::vector<std::string> boxes = TakeBoxes();
    Database().Exec("PRAGMA legacy_alter_table=ON; ALTER TABLE gone RENAME TO relation");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.");
}

}  // namespace
