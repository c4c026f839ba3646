// The new-contact dialog: what 确定 stores, the links each member makes, the
// account given by the opener or chosen through "...", what cancelling and a
// failed insert leave behind, and the resources of one opening.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "resources/shell_ids.h"
#include "shell/RecordFormClass.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <string>
#include <vector>

using namespace programtest;
using namespace dialogtest;

namespace {

std::string S(long long n) { return std::to_string(n); }

class NewContactDialog : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        m_o = AddOpp({.subject = "显示的机会"});
        m_t = AddTask({.subject = "显示的日志"});
        m_a = AddAccount({.name = "甲公司"});
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
    }
    void TearDown() override {
        w32test::ClearHooks();
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
        g_Tas_Detail.m_ulLinkConID = 0;
    }
    long long Contacts() { return QueryInt("SELECT COUNT(*) FROM contacts"); }
    long long Newest() { return QueryInt("SELECT MAX(con_id) FROM contacts"); }
    // Shows a record in its form, as the form on screen when a page opens a
    // member; g_ulRelatingID is then that record.
    void Show(RecordFormClass& form, unsigned id) {
        const ULONG ul = id;
        HandOverToForm(&form, &ul, 1, 0, "");
        ASSERT_EQ(g_ulRelatingID, id);
    }
    unsigned m_o = 0, m_t = 0, m_a = 0;
};

TEST_F(NewContactDialog, AnUntouchedFormOnAContactsPageStoresAnEmptyContactLinkedToTheShownRecord) {
    Show(g_Opp_Detail, m_o);
    g_ulRelatingAccID = 55;  // left by an accounts page: the empty field is no account
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, [](HWND h) { PressButton(h, IDC_NEWRECORD_OK); });
    const long long c = Newest();
    auto rows = Database().Query(
        "SELECT con_name, con_nickname, con_important, con_province, con_create_date, con_recent_contact_date, "
        "con_private, con_description FROM contacts WHERE con_id=" +
        S(c));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"", "", "", "", Today(), Today(), "0", ""}));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE opp_id=" + S(m_o) + " AND con_id=" + S(c)), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts"), 0);
    // The form showed its record again, so its page lists the contact.
    EXPECT_EQ(g_Opp_Detail.m_ulRecordID, m_o);
    EXPECT_EQ(g_ulRelatingID, m_o);

    Show(g_Tas_Detail, m_t);
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_TasDetailContacts, [](HWND h) { PressButton(h, IDC_NEWRECORD_OK); });
    EXPECT_EQ(QueryInt("SELECT con_id FROM contacts_tasks WHERE tas_id=" + S(m_t)), Newest());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_contacts WHERE con_id=" + S(Newest())), 0);
}

TEST_F(NewContactDialog, TextsAreCutOnACharacterBoundaryAndALongDescriptionIsKeptWhole) {
    Show(g_Opp_Detail, m_o);
    std::string name = "a";
    for (int i = 0; i < 12; ++i) name += "张";  // 25 GBK bytes
    std::string department;
    for (int i = 0; i < 30; ++i) department += "部";  // 60 GBK bytes
    std::string description(5000, 'x');
    description += "'尾\r\n第二行";
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, [&](HWND h) {
        SetText(h, IDC_NEWCONTACT_NAME, name);
        SetText(h, IDC_NEWCONTACT_NICKNAME, name);
        SetText(h, IDC_NEWCONTACT_DEPARTMENT, department);
        SetText(h, IDC_NEWCONTACT_EMAIL, std::string(70, 'e'));
        SetText(h, IDC_NEWCONTACT_DESCRIPTION, description);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    const std::string c = S(Newest());
    // 19 bytes at most: the first 'a' and nine characters.
    EXPECT_EQ(QueryText("SELECT con_name FROM contacts WHERE con_id=" + c), name.substr(0, 19));
    EXPECT_EQ(QueryText("SELECT con_nickname FROM contacts WHERE con_id=" + c), name.substr(0, 19));
    // 49 bytes at most, never half a character: 24 characters.
    EXPECT_EQ(QueryText("SELECT con_department_title FROM contacts WHERE con_id=" + c), department.substr(0, 48));
    EXPECT_EQ(QueryText("SELECT con_email FROM contacts WHERE con_id=" + c), std::string(49, 'e'));
    // Read back whole (UTF-8): 5000 x, the quote, one character, the line break and three characters.
    auto rows = Database().Query(
        "SELECT length(con_description), substr(con_description, 4995) FROM contacts "
        "WHERE con_id=" +
        c);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "5007");
    EXPECT_EQ(rows[0][1], "xxxxxx'\xE5\xB0\xBE\r\n\xE7\xAC\xAC\xE4\xBA\x8C\xE8\xA1\x8C");
}

TEST_F(NewContactDialog, TheNicknameFollowsTheNameOnThePagesButNotOnTheTaskForm) {
    Show(g_Opp_Detail, m_o);
    std::string nickname;
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, [&](HWND h) {
        SetText(h, IDC_NEWCONTACT_NICKNAME, "手写");
        w32test::TypeText("王五", GetDlgItem(h, IDC_NEWCONTACT_NAME));
        nickname = GetText(h, IDC_NEWCONTACT_NICKNAME);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(nickname, "王五");
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_TasDetail, [&](HWND h) {
        SetText(h, IDC_NEWCONTACT_NICKNAME, "手写");
        w32test::TypeText("王五", GetDlgItem(h, IDC_NEWCONTACT_NAME));
        nickname = GetText(h, IDC_NEWCONTACT_NICKNAME);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(nickname, "手写");
}

TEST_F(NewContactDialog, LookupBoxesKeepTheTableOrderAndHoldNoMoreThanTheirCapacity) {
    Exec("DELETE FROM relation");
    for (const char* psz : {"c", "a", "b"}) Exec(std::string("INSERT INTO relation VALUES('") + psz + "')");
    Exec("DELETE FROM important");
    for (int i = 0; i < 15; ++i) Exec("INSERT INTO important VALUES('级" + S(i) + "')");
    Exec("DELETE FROM province");
    for (int i = 0; i < 130; ++i) Exec("INSERT INTO province VALUES('省" + S(i) + "')");
    Show(g_Opp_Detail, m_o);
    std::vector<std::string> relation;
    int nImportant = 0, nProvince = 0;
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, [&](HWND h) {
        HWND hBox = GetDlgItem(h, IDC_NEWCONTACT_RELATION);
        for (int i = 0; i < (int)SendMessageA(hBox, CB_GETCOUNT, 0, 0); ++i) {
            char sz[64] = {};
            SendMessageA(hBox, CB_GETLBTEXT, i, (LPARAM)sz);
            relation.push_back(sz);
        }
        nImportant = (int)SendDlgItemMessageA(h, IDC_NEWCONTACT_IMPORTANT, CB_GETCOUNT, 0, 0);
        nProvince = (int)SendDlgItemMessageA(h, IDC_NEWCONTACT_PROVINCE, CB_GETCOUNT, 0, 0);
        SendDlgItemMessageA(h, IDC_NEWCONTACT_IMPORTANT, CB_SETCURSEL, 9, 0);
        SendDlgItemMessageA(h, IDC_NEWCONTACT_PROVINCE, CB_SETCURSEL, 99, 0);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(relation, (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(nImportant, 10);
    EXPECT_EQ(nProvince, 100);
    EXPECT_EQ(QueryText("SELECT con_important FROM contacts WHERE con_id=" + S(Newest())), "级9");
    EXPECT_EQ(QueryText("SELECT con_province FROM contacts WHERE con_id=" + S(Newest())), "省99");
}

TEST_F(NewContactDialog, CancelEscAndTheCloseBoxStoreNothing) {
    Show(g_Opp_Detail, m_o);
    const long long n = Contacts();
    const std::vector<std::function<void(HWND)>> closes = {
        [](HWND h) { PressButton(h, IDCANCEL); },
        [](HWND h) { w32test::PressKey(VK_ESCAPE, false, false, GetDlgItem(h, IDC_NEWCONTACT_NAME)); },
        [](HWND h) { SendMessageA(h, WM_CLOSE, 0, 0); },
    };
    for (const auto& close : closes) {
        RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, [&](HWND h) {
            SetText(h, IDC_NEWCONTACT_NAME, "不要");
            close(h);
        });
    }
    EXPECT_EQ(Contacts(), n);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_contacts"), 0);
    EXPECT_EQ(g_hNewContactAccountEdit, nullptr);
}

TEST_F(NewContactDialog, AnAccountGivenByTheOpenerIsShownFixedAndLinked) {
    // The opportunity's accounts page with an account clicked.
    Show(g_Opp_Detail, m_o);
    g_ulRelatingAccID = m_a;
    SetRelatingName(g_szRelatingAccName, "甲公司");
    std::string shown;
    bool bMenu = true;
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailAccounts, [&](HWND h) {
        shown = GetText(h, IDC_NEWCONTACT_ACCOUNT);
        bMenu = Enabled(GetDlgItem(h, IDC_NEWCONTACT_ACCOUNTMENU));
        SetText(h, IDC_NEWCONTACT_NAME, "李四");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(shown, "甲公司");
    EXPECT_FALSE(bMenu);
    const std::string c = S(QueryInt("SELECT con_id FROM contacts WHERE con_name='李四'"));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE opp_id=" + S(m_o) + " AND con_id=" + c), m_a);
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_contacts WHERE con_id=" + c), m_a);

    // The task's accounts page without a clicked account: no account.
    Show(g_Tas_Detail, m_t);
    g_ulRelatingAccID = 0;
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_TasDetailAccounts, [&](HWND h) {
        shown = GetText(h, IDC_NEWCONTACT_ACCOUNT);
        SetText(h, IDC_NEWCONTACT_NAME, "赵六");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(shown, "");
    const std::string d = S(QueryInt("SELECT con_id FROM contacts WHERE con_name='赵六'"));
    EXPECT_EQ(QueryInt("SELECT tas_id FROM contacts_tasks WHERE con_id=" + d), m_t);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts WHERE con_id=" + d), 0);

    // The account form's contacts page: the shown account.
    Show(g_Acc_Detail, m_a);
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_AccDetail, [&](HWND h) {
        shown = GetText(h, IDC_NEWCONTACT_ACCOUNT);
        bMenu = Enabled(GetDlgItem(h, IDC_NEWCONTACT_ACCOUNTMENU));
        SetText(h, IDC_NEWCONTACT_NAME, "钱七");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(shown, "甲公司");
    EXPECT_FALSE(bMenu);
    const std::string e = S(QueryInt("SELECT con_id FROM contacts WHERE con_name='钱七'"));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_contacts WHERE con_id=" + e), m_a);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_contacts WHERE con_id=" + e), 0);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, m_a);
}

TEST_F(NewContactDialog, TheTaskFormGetsTheNameAndIdOfTheNewContact) {
    HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");  // a blank task form
    g_ulRelatingAccID = m_a;                            // no account until "..." chooses one
    RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_TasDetail, [](HWND h) {
        SetText(h, IDC_NEWCONTACT_NAME, "孙八");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "孙八");
    EXPECT_EQ((long long)g_Tas_Detail.m_ulLinkConID, QueryInt("SELECT con_id FROM contacts WHERE con_name='孙八'"));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts_contacts"), 0);
}

TEST_F(NewContactDialog, AFailedInsertKeepsTheDialogOpenAndHandsBackOrLinksNothing) {
    HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");
    SetText(g_Tas_Detail.m_hSubject, "原标题");
    g_Tas_Detail.m_ulLinkConID = 0;
    AddContact({.name = "旧联系人"});  // the highest id is not the one typed
    FailInsertsInto("contacts");
    const AfterOk seen = TypeAndPressOk(IDD_NEW_CONTACT, NewContactDlgProc_TasDetail, IDC_NEWCONTACT_NAME, "失败");
    EXPECT_TRUE(seen.bOpen);
    EXPECT_EQ(seen.typed, "失败");
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "原标题");
    EXPECT_EQ(g_Tas_Detail.m_ulLinkConID, 0u);
    auto boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.");
    Exec("DROP TRIGGER fail_contacts");

    // A refused link stores no contact either, and the page's form is not
    // told of one.
    const unsigned other = AddOpp({.subject = "另一个"});
    Show(g_Opp_Detail, other);
    g_ulRelatingID = m_o;  // told to show m_o again, the form would show it
    const long long n = Contacts();
    FailInsertsInto("opportunities_contacts");
    EXPECT_TRUE(
        TypeAndPressOk(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, IDC_NEWCONTACT_NAME, "也失败").bOpen);
    EXPECT_EQ(Contacts(), n);
    EXPECT_EQ(g_Opp_Detail.m_ulRecordID, other);
    boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.");
}

// The opportunity's contacts page: a new account made through "..." is
// linked to the opportunity at once and stays so when the contact is not
// made; a contact made after it joins it.
TEST_F(NewContactDialog, ANewAccountMadeThroughTheMenuStaysLinkedWhenTheContactIsCancelled) {
    Show(g_Opp_Detail, m_o);
    std::vector<std::string> items;
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& call) -> UINT {
        items = call.items;
        return IDM_NEWACCOUNT;
    });
    const long long nContacts = Contacts();
    std::string shown;
    programtest::DialogScript script;
    script
        .Then(IDD_NEW_CONTACT,
              [&](HWND h) {
                  SetText(h, IDC_NEWCONTACT_NAME, "不存");
                  PressButton(h, IDC_NEWCONTACT_ACCOUNTMENU);
                  w32test::WaitFor([&] { return GetText(h, IDC_NEWCONTACT_ACCOUNT) == "新客户"; });
                  shown = GetText(h, IDC_NEWCONTACT_ACCOUNT);
                  PressButton(h, IDCANCEL);
              })
        .Then(IDD_NEW_ACCOUNT, [](HWND h) {
            SetText(h, IDC_NEWACC_NAME, "新客户");
            PressButton(h, IDC_NEWRECORD_OK);
        });
    DialogBoxParamA(g_hInstance, IDD_NEW_CONTACT, g_hMainWnd, NewContactDlgProc_OppDetailContacts, 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(items, (std::vector<std::string>{"新建客户", "选择客户"}));
    EXPECT_EQ(shown, "新客户");
    const long long a = QueryInt("SELECT acc_id FROM accounts WHERE acc_name='新客户'");
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_accounts WHERE opp_id=" + S(m_o)), a);
    EXPECT_EQ(Contacts(), nContacts);
    EXPECT_EQ((long long)g_ulRelatingAccID, a);

    // Again, and this time the contact is made: it joins the new account.
    programtest::DialogScript again;
    again
        .Then(IDD_NEW_CONTACT,
              [&](HWND h) {
                  SetText(h, IDC_NEWCONTACT_NAME, "周九");
                  PressButton(h, IDC_NEWCONTACT_ACCOUNTMENU);
                  w32test::WaitFor([&] { return GetText(h, IDC_NEWCONTACT_ACCOUNT) == "乙客户"; });
                  PressButton(h, IDC_NEWRECORD_OK);
              })
        .Then(IDD_NEW_ACCOUNT, [](HWND h) {
            SetText(h, IDC_NEWACC_NAME, "乙客户");
            PressButton(h, IDC_NEWRECORD_OK);
        });
    DialogBoxParamA(g_hInstance, IDD_NEW_CONTACT, g_hMainWnd, NewContactDlgProc_OppDetailContacts, 0);
    EXPECT_TRUE(again.Finished());
    const long long b = QueryInt("SELECT acc_id FROM accounts WHERE acc_name='乙客户'");
    const std::string c = S(QueryInt("SELECT con_id FROM contacts WHERE con_name='周九'"));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE con_id=" + c), b);
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_contacts WHERE con_id=" + c), b);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=" + S(m_o)), 2);
}

// The task's contacts page: an account picked through "..." is linked to the
// task at once and stays so when the contact is not made.
TEST_F(NewContactDialog, AnAccountPickedOnAContactsPageStaysLinkedWhenTheContactIsCancelled) {
    Show(g_Tas_Detail, m_t);
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) -> UINT { return IDM_SELECTACCOUNT; });
    const long long nContacts = Contacts();
    programtest::DialogScript script;
    script
        .Then(IDD_NEW_CONTACT,
              [&](HWND h) {
                  PressButton(h, IDC_NEWCONTACT_ACCOUNTMENU);
                  w32test::WaitFor([&] { return GetText(h, IDC_NEWCONTACT_ACCOUNT) == "甲公司"; });
                  PressButton(h, IDCANCEL);
              })
        .Then(IDD_SELECT_OBJECT, [](HWND h) {
            DoubleClickRow(h, IDC_PICK_LIST, 0);
            PressButton(h, IDCANCEL);  // this picker stays open after a double click
        });
    DialogBoxParamA(g_hInstance, IDD_NEW_CONTACT, g_hMainWnd, NewContactDlgProc_TasDetailContacts, 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_tasks WHERE tas_id=" + S(m_t)), m_a);
    EXPECT_EQ(Contacts(), nContacts);
    EXPECT_EQ(g_ulRelatingAccID, m_a);
}

// The task form's member: the picker through "..." hands the account over;
// its menu opens at its fixed place.
TEST_F(NewContactDialog, AnAccountPickedThroughTheMenuJoinsTheContact) {
    HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");
    POINT at = {};
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& call) -> UINT {
        at = {call.x, call.y};
        return IDM_SELECTACCOUNT;
    });
    programtest::DialogScript script;
    script
        .Then(IDD_NEW_CONTACT,
              [&](HWND h) {
                  SetText(h, IDC_NEWCONTACT_NAME, "吴十");
                  PressButton(h, IDC_NEWCONTACT_ACCOUNTMENU);
                  w32test::WaitFor([&] { return GetText(h, IDC_NEWCONTACT_ACCOUNT) == "甲公司"; });
                  PressButton(h, IDC_NEWRECORD_OK);
              })
        .Then(IDD_SELECT_OBJECT, [](HWND h) {
            DoubleClickRow(h, IDC_PICK_LIST, 0);  // closes this picker
        });
    DialogBoxParamA(g_hInstance, IDD_NEW_CONTACT, g_hMainWnd, NewContactDlgProc_TasDetail, 0);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(at.x, 400);
    EXPECT_EQ(at.y, 125);
    const std::string c = S(QueryInt("SELECT con_id FROM contacts WHERE con_name='吴十'"));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM accounts_contacts WHERE con_id=" + c), m_a);
}

TEST_F(NewContactDialog, EachOpeningReleasesItsFontAndMenu) {
    Show(g_Opp_Detail, m_o);
    std::vector<HMENU> menus;
    w32test::SetPopupMenuHook([&](const w32test::PopupMenuCall& call) -> UINT {
        menus.push_back(call.menu);
        return 0;
    });
    std::vector<HFONT> fonts;
    for (int i = 0; i < 3; ++i) {
        RunDialog(IDD_NEW_CONTACT, NewContactDlgProc_OppDetailContacts, [&](HWND h) {
            fonts.push_back((HFONT)SendDlgItemMessageA(h, IDC_NEWCONTACT_NAME, WM_GETFONT, 0, 0));
            PressButton(h, IDC_NEWCONTACT_ACCOUNTMENU);
            w32test::WaitFor([&] { return menus.size() == fonts.size(); });
            PressButton(h, IDCANCEL);
        });
    }
    ASSERT_EQ(menus.size(), 3u);
    ASSERT_EQ(fonts.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        LOGFONTA lf;
        EXPECT_NE(fonts[i], nullptr);
        EXPECT_EQ(GetObjectA(fonts[i], sizeof lf, &lf), 0) << i;
        EXPECT_EQ(GetMenuItemCount(menus[i]), -1) << i;
    }
    EXPECT_EQ(g_hNewContactAccountEdit, nullptr);
}

}  // namespace
