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
    // A kind of record a task links to: its commands, its new-record box
    // with the field its name goes into, and where it and its links are
    // stored.
    struct LinkKind {
        int nNewCommand, nSelectCommand;
        const char* pszNewDialog;
        int nNameField;
        const char *pszTable, *pszIdColumn, *pszNameColumn, *pszLinkTable;
    };
    static constexpr LinkKind kOpportunity{IDM_NEWOPP_LINK,    IDM_SELECTOPP_LINK,   IDD_NEW_OPPORTUNITY,
                                           IDC_NEWOPP_SUBJECT, "opportunities",      "opp_id",
                                           "opp_subject",      "opportunities_tasks"};
    static constexpr LinkKind kAccount{
        IDM_NEWACCOUNT_LINK, IDM_SELECTACCOUNT_LINK, IDD_NEW_ACCOUNT, IDC_NEWACC_NAME, "accounts", "acc_id",
        "acc_name",          "accounts_tasks"};
    static constexpr LinkKind kContact{
        IDM_NEWCONTACT_LINK, IDM_SELECTCONTACT_LINK, IDD_NEW_CONTACT, IDC_NEWCONTACT_NAME, "contacts", "con_id",
        "con_name",          "contacts_tasks"};

    // The new-record command makes a record named `name`, which becomes the
    // subject and is linked to the task on save.
    void MakeAndLink(const LinkKind& k, const std::string& name) {
        DialogScript script;
        script.Then(k.pszNewDialog, [&](HWND hDlg) {
            SetText(hDlg, k.nNameField, name);
            PressButton(hDlg, IDC_NEWRECORD_OK);
        });
        Command(k.nNewCommand);
        EXPECT_TRUE(script.Finished());
        const unsigned id = (unsigned)QueryInt(std::string("SELECT MAX(") + k.pszIdColumn + ") FROM " + k.pszTable);
        EXPECT_EQ(QueryText(std::string("SELECT ") + k.pszNameColumn + " FROM " + k.pszTable + " WHERE " +
                            k.pszIdColumn + "=" + std::to_string(id)),
                  name);
        EXPECT_EQ(Text(form.m_hSubject), name);
        const unsigned tas = Save();
        EXPECT_EQ(Links(k.pszLinkTable, k.pszIdColumn, id, tas), 1);
    }
    // The select command, its first row picked, makes record `id` named
    // `name` the subject and links it to the task on save.
    void ChooseAndLink(const LinkKind& k, unsigned id, const std::string& name) {
        DialogScript script;
        script.Then(IDD_SELECT_OBJECT, PickRow0());
        Command(k.nSelectCommand);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(Text(form.m_hSubject), name);
        const unsigned tas = Save();
        EXPECT_EQ(Links(k.pszLinkTable, k.pszIdColumn, id, tas), 1);
    }
    Tas_DetailDialogClass& form = g_Tas_Detail;
};

TEST_F(TaskLinkCommands, TheFormLoadsTheRelationSubmenu) {
    ASSERT_NE(form.m_hRelationMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(form.m_hRelationMenu), 4);
    EXPECT_EQ(GetMenuItemID(form.m_hRelationMenu, 0), (UINT)IDM_NORELATION);
}

TEST_F(TaskLinkCommands, NewOpportunityIsMadeAndLinkedOnSave) { MakeAndLink(kOpportunity, "光纤项目"); }

TEST_F(TaskLinkCommands, AChosenOpportunityIsLinkedOnSave) {
    ChooseAndLink(kOpportunity, AddOpp({.subject = "已有机会"}), "已有机会");
}

TEST_F(TaskLinkCommands, NewAccountIsMadeAndLinkedOnSave) { MakeAndLink(kAccount, "新客户"); }

TEST_F(TaskLinkCommands, AChosenAccountIsLinkedOnSave) {
    ChooseAndLink(kAccount, AddAccount({.name = "已有客户"}), "已有客户");
}

TEST_F(TaskLinkCommands, NewContactIsMadeAndLinkedOnSave) { MakeAndLink(kContact, "新联系人"); }

TEST_F(TaskLinkCommands, AChosenContactIsLinkedOnSave) {
    ChooseAndLink(kContact, AddContact({.name = "已有联系人"}), "已有联系人");
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
