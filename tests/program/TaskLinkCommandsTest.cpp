// The task form's 关联 commands (menu "IDM_POP_MENU", submenu 1): each opens
// the dialog that makes or chooses the record a new task is linked to; the
// record's name becomes the task's subject, and saving the task writes the
// link into the file.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "resources/shell_ids.h"
#include "resources/tasks_ids.h"
#include "tests/support/ProgramTest.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_Navigation.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class TaskLinkCommands : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        GotoTas_DetailNew();
        ASSERT_EQ(g_pCurrentDialog, &form);
    }
    // The command as the menu sends it.
    void Command(int nID) { SendMessageA(form.m_hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
    // Saves the new task; its id.
    unsigned Save() {
        Click(form, IDC_TASD_SAVE);
        EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
        return (unsigned)form.m_ulRecordID;
    }
    static long long Links(const std::string& table, const std::string& column, unsigned id, unsigned tas) {
        return QueryInt("SELECT COUNT(*) FROM " + table + " WHERE " + column + "=" + std::to_string(id) +
                        " AND tas_id=" + std::to_string(tas));
    }
    static DialogScript::Step PickRow0() {
        return [](HWND hDlg) {
            ClickRow(hDlg, IDC_PICK_LIST, 0);
            PressButton(hDlg, IDC_PICK_OK);
        };
    }
    Tas_DetailDialogClass& form = g_Tas_Detail;
};

TEST_F(TaskLinkCommands, TheFormLoadsTheRelationSubmenu) {
    ASSERT_NE(form.m_hRelationMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(form.m_hRelationMenu), 4);
    EXPECT_EQ(GetMenuItemID(form.m_hRelationMenu, 0), (UINT)IDM_NORELATION);
}

TEST_F(TaskLinkCommands, NewOpportunityIsMadeAndLinkedOnSave) {
    DialogScript script;
    script.Then(IDD_NEW_OPPORTUNITY, [](HWND hDlg) {
        SetText(hDlg, IDC_NEWOPP_SUBJECT, "光纤项目");
        PressButton(hDlg, IDC_NEWRECORD_OK);
    });
    Command(IDM_NEWOPP_LINK);
    EXPECT_TRUE(script.Finished());
    const unsigned opp = (unsigned)QueryInt("SELECT MAX(opp_id) FROM opportunities");
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(opp)), "光纤项目");
    EXPECT_EQ(Text(form.m_hSubject), "光纤项目");
    const unsigned tas = Save();
    EXPECT_EQ(Links("opportunities_tasks", "opp_id", opp, tas), 1);
}

TEST_F(TaskLinkCommands, AChosenOpportunityIsLinkedOnSave) {
    const unsigned opp = AddOpp({.subject = "已有机会"});
    DialogScript script;
    script.Then(IDD_SELECT_OBJECT, PickRow0());
    Command(IDM_SELECTOPP_LINK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Text(form.m_hSubject), "已有机会");
    const unsigned tas = Save();
    EXPECT_EQ(Links("opportunities_tasks", "opp_id", opp, tas), 1);
}

TEST_F(TaskLinkCommands, NewAccountIsMadeAndLinkedOnSave) {
    DialogScript script;
    script.Then(IDD_NEW_ACCOUNT, [](HWND hDlg) {
        SetText(hDlg, IDC_NEWACC_NAME, "新客户");
        PressButton(hDlg, IDC_NEWRECORD_OK);
    });
    Command(IDM_NEWACCOUNT_LINK);
    EXPECT_TRUE(script.Finished());
    const unsigned acc = (unsigned)QueryInt("SELECT MAX(acc_id) FROM accounts");
    EXPECT_EQ(QueryText("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(acc)), "新客户");
    EXPECT_EQ(Text(form.m_hSubject), "新客户");
    const unsigned tas = Save();
    EXPECT_EQ(Links("accounts_tasks", "acc_id", acc, tas), 1);
}

TEST_F(TaskLinkCommands, AChosenAccountIsLinkedOnSave) {
    const unsigned acc = AddAccount({.name = "已有客户"});
    DialogScript script;
    script.Then(IDD_SELECT_OBJECT, PickRow0());
    Command(IDM_SELECTACCOUNT_LINK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Text(form.m_hSubject), "已有客户");
    const unsigned tas = Save();
    EXPECT_EQ(Links("accounts_tasks", "acc_id", acc, tas), 1);
}

TEST_F(TaskLinkCommands, NewContactIsMadeAndLinkedOnSave) {
    DialogScript script;
    script.Then(IDD_NEW_CONTACT, [](HWND hDlg) {
        SetText(hDlg, IDC_NEWCONTACT_NAME, "新联系人");
        PressButton(hDlg, IDC_NEWRECORD_OK);
    });
    Command(IDM_NEWCONTACT_LINK);
    EXPECT_TRUE(script.Finished());
    const unsigned con = (unsigned)QueryInt("SELECT MAX(con_id) FROM contacts");
    EXPECT_EQ(QueryText("SELECT con_name FROM contacts WHERE con_id=" + std::to_string(con)), "新联系人");
    EXPECT_EQ(Text(form.m_hSubject), "新联系人");
    const unsigned tas = Save();
    EXPECT_EQ(Links("contacts_tasks", "con_id", con, tas), 1);
}

TEST_F(TaskLinkCommands, AChosenContactIsLinkedOnSave) {
    const unsigned con = AddContact({.name = "已有联系人"});
    DialogScript script;
    script.Then(IDD_SELECT_OBJECT, PickRow0());
    Command(IDM_SELECTCONTACT_LINK);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(Text(form.m_hSubject), "已有联系人");
    const unsigned tas = Save();
    EXPECT_EQ(Links("contacts_tasks", "con_id", con, tas), 1);
}

// Each command starts from no pending link: the last choice is the one
// linked, and 没有任何关联 links nothing.
TEST_F(TaskLinkCommands, EachCommandForgetsTheLinksChosenBefore) {
    const unsigned acc = AddAccount({.name = "先选的客户"});
    const unsigned con = AddContact({.name = "后选的联系人"});
    DialogScript script;
    script.Then(IDD_SELECT_OBJECT, PickRow0()).Then(IDD_SELECT_OBJECT, PickRow0());
    Command(IDM_SELECTACCOUNT_LINK);
    Command(IDM_SELECTCONTACT_LINK);
    EXPECT_TRUE(script.Finished());
    unsigned tas = Save();
    EXPECT_EQ(Links("accounts_tasks", "acc_id", acc, tas), 0);
    EXPECT_EQ(Links("contacts_tasks", "con_id", con, tas), 1);

    GotoTas_DetailNew();
    DialogScript again;
    again.Then(IDD_SELECT_OBJECT, PickRow0());
    Command(IDM_SELECTACCOUNT_LINK);
    Command(IDM_NORELATION);
    EXPECT_TRUE(again.Finished());
    tas = Save();
    EXPECT_EQ(Links("accounts_tasks", "acc_id", acc, tas), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM contacts_tasks WHERE tas_id=" + std::to_string(tas)), 0);
}

}  // namespace
