// The new-opportunity dialog: what 确定 stores, the phase's probability, the
// amounts whatever the locale, the links each member makes, what cancelling
// and a failed insert leave behind, and the font of one opening.
#include <gtest/gtest.h>

#include "tests/dialogs/DialogTestSupport.h"

#include "dialogs/NewRecordDialogs.h"
#include "shell/RecordFormClass.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

using namespace programtest;
using namespace dialogtest;

namespace {

std::string S(long long n) { return std::to_string(n); }

class NewOpportunityDialog : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        m_a = AddAccount({.name = "甲公司"});
        m_c = AddContact({.name = "张三"});
        m_t = AddTask({.subject = "显示的日志"});
        Exec("DELETE FROM phase");
        Exec("INSERT INTO phase VALUES('初期', 10)");
        Exec("INSERT INTO phase VALUES('谈判', 30)");
        Exec("INSERT INTO phase VALUES('签约', 90)");
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
    }
    void TearDown() override {
        g_ulRelatingID = 0;
        g_ulRelatingAccID = 0;
        g_Tas_Detail.m_ulLinkOppID = 0;
    }
    long long Opportunities() { return QueryInt("SELECT COUNT(*) FROM opportunities"); }
    long long Newest() { return QueryInt("SELECT MAX(opp_id) FROM opportunities"); }
    std::vector<std::string> Stored(const std::string& columns) {
        auto rows = Database().Query("SELECT " + columns + " FROM opportunities WHERE opp_id=" + S(Newest()));
        return rows.empty() ? std::vector<std::string>{} : rows[0];
    }
    void Show(RecordFormClass& form, unsigned id) {
        const ULONG ul = id;
        HandOverToForm(&form, &ul, 1, 0, "");
        ASSERT_EQ(g_ulRelatingID, id);
    }
    unsigned m_a = 0, m_c = 0, m_t = 0;
};

TEST_F(NewOpportunityDialog, AnUntouchedFormStoresAnEmptyOpportunityLinkedToTheShownAccount) {
    Show(g_Acc_Detail, m_a);
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [](HWND h) { PressButton(h, IDC_NEWRECORD_OK); });
    EXPECT_EQ(Stored("opp_subject, opp_description, opp_important, opp_phase, opp_succeed_probability, "
                     "opp_estimate_sale, opp_sale, opp_create_date, opp_die_date, opp_recent_contact_date, "
                     "opp_private"),
              (std::vector<std::string>{"", "", "", "", "0", "0.0", "0.0", Today(), Today(), Today(), "0"}));
    EXPECT_EQ(QueryInt("SELECT opp_id FROM opportunities_accounts WHERE acc_id=" + S(m_a)), Newest());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_contacts"), 0);
    EXPECT_EQ(g_Acc_Detail.m_ulRecordID, m_a);
}

TEST_F(NewOpportunityDialog, ALongSubjectIsCutOnACharacterBoundaryAndALongDescriptionIsKeptWhole) {
    Show(g_Acc_Detail, m_a);
    std::string subject = "a";
    for (int i = 0; i < 150; ++i) subject += "项";  // 301 GBK bytes
    std::string description(7000, 'y');
    description += "'尾";
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [&](HWND h) {
        SetText(h, IDC_NEWOPP_SUBJECT, subject);
        SetText(h, IDC_NEWOPP_DESCRIPTION, description);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    // 254 bytes at most: 'a' and 126 characters.
    EXPECT_EQ(QueryText("SELECT opp_subject FROM opportunities WHERE opp_id=" + S(Newest())), subject.substr(0, 253));
    // Read back whole (UTF-8): 7000 y, the quote and one character.
    EXPECT_EQ(Stored("length(opp_description), substr(opp_description, 6995)"),
              (std::vector<std::string>{"7002", "yyyyyy'\xE5\xB0\xBE"}));
}

TEST_F(NewOpportunityDialog, AChosenPhaseShowsAndStoresItsProbability) {
    Show(g_Acc_Detail, m_a);
    std::string shown, unchosen;
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [&](HWND h) {
        // A selection change without a chosen entry changes nothing.
        SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_NEWOPP_PHASE, CBN_SELCHANGE),
                     (LPARAM)GetDlgItem(h, IDC_NEWOPP_PHASE));
        unchosen = GetText(h, IDC_NEWOPP_PROBABILITY);
        w32test::SelectComboItem(GetDlgItem(h, IDC_NEWOPP_PHASE), 1);
        shown = GetText(h, IDC_NEWOPP_PROBABILITY);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(unchosen, "");
    EXPECT_EQ(shown, "30%");
    EXPECT_EQ(QueryText("SELECT opp_phase FROM opportunities WHERE opp_id=" + S(Newest())), "谈判");
    EXPECT_EQ(Stored("opp_succeed_probability"), (std::vector<std::string>{"30"}));

    // The task's opportunities page shows it without the percent sign.
    Show(g_Tas_Detail, m_t);
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_TasDetailOpportunities, [&](HWND h) {
        w32test::SelectComboItem(GetDlgItem(h, IDC_NEWOPP_PHASE), 2);
        shown = GetText(h, IDC_NEWOPP_PROBABILITY);
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(shown, "90");
    EXPECT_EQ(QueryText("SELECT opp_phase FROM opportunities WHERE opp_id=" + S(Newest())), "签约");
    EXPECT_EQ(Stored("opp_succeed_probability"), (std::vector<std::string>{"90"}));
    EXPECT_EQ(QueryInt("SELECT opp_id FROM opportunities_tasks WHERE tas_id=" + S(m_t)), Newest());
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, m_t);
}

TEST_F(NewOpportunityDialog, LookupBoxesKeepTheTableOrderAndHoldNoMoreThanTheirCapacity) {
    Exec("DELETE FROM important");
    for (const char* psz : {"c", "a", "b"}) Exec(std::string("INSERT INTO important VALUES('") + psz + "')");
    for (int i = 0; i < 60; ++i) Exec("INSERT INTO phase VALUES('阶段" + S(i) + "', " + S(i) + ")");
    Show(g_Acc_Detail, m_a);
    std::vector<std::string> important;
    int nPhases = 0;
    std::string last;
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [&](HWND h) {
        HWND hBox = GetDlgItem(h, IDC_NEWOPP_IMPORTANT);
        for (int i = 0; i < (int)SendMessageA(hBox, CB_GETCOUNT, 0, 0); ++i) {
            char sz[64] = {};
            SendMessageA(hBox, CB_GETLBTEXT, i, (LPARAM)sz);
            important.push_back(sz);
        }
        nPhases = (int)SendDlgItemMessageA(h, IDC_NEWOPP_PHASE, CB_GETCOUNT, 0, 0);
        w32test::SelectComboItem(GetDlgItem(h, IDC_NEWOPP_PHASE), nPhases - 1);
        last = GetText(h, IDC_NEWOPP_PROBABILITY);
        PressButton(h, IDCANCEL);
    });
    EXPECT_EQ(important, (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(nPhases, 50);  // the three, then 阶段0 to 阶段46
    EXPECT_EQ(last, "46%");
}

// '.' is the decimal point also where the locale writes a comma, and a
// comma is no part of an amount.
TEST_F(NewOpportunityDialog, AmountsAreReadTheSameInEveryLocale) {
    const char* pszLocale = setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (!pszLocale) {
        const std::string dir = OutputFolder() + "locale";
        const std::string cmd =
            "mkdir -p '" + dir + "' && localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (system(cmd.c_str()) == 0) setenv("LOCPATH", dir.c_str(), 1);
        pszLocale = setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    struct Restore {
        ~Restore() { setlocale(LC_NUMERIC, "C"); }
    } restore;
    if (pszLocale) {
        ASSERT_STREQ(localeconv()->decimal_point, ",");
    }
    Show(g_Acc_Detail, m_a);
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [](HWND h) {
        SetText(h, IDC_NEWOPP_ESTIMATE, "12.5");
        SetText(h, IDC_NEWOPP_SALE, "");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(Stored("opp_estimate_sale, opp_sale"), (std::vector<std::string>{"12.5", "0.0"}));
    // A number beyond a double, or text not wholly a number, is refused with
    // the dialog kept open.
    const long long n = Opportunities();
    for (const char* typed : {"1e999", "1,200", "abc"}) {
        EXPECT_TRUE(TypeAndPressOk(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, IDC_NEWOPP_SALE, typed).bOpen);
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"“实际销售额”不是有效的金额，请输入一个有限的数字。"}) << typed;
    }
    EXPECT_EQ(Opportunities(), n);
}

TEST_F(NewOpportunityDialog, CancelEscAndTheCloseBoxStoreNothing) {
    Show(g_Acc_Detail, m_a);
    const long long n = Opportunities();
    const std::vector<std::function<void(HWND)>> closes = {
        [](HWND h) { PressButton(h, IDCANCEL); },
        [](HWND h) { w32test::PressKey(VK_ESCAPE, false, false, GetDlgItem(h, IDC_NEWOPP_SUBJECT)); },
        [](HWND h) { SendMessageA(h, WM_CLOSE, 0, 0); },
    };
    for (const auto& close : closes) {
        RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [&](HWND h) {
            SetText(h, IDC_NEWOPP_SUBJECT, "不要");
            close(h);
        });
    }
    EXPECT_EQ(Opportunities(), n);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts"), 0);
}

TEST_F(NewOpportunityDialog, OnAContactThePageLinksTheContactWithItsAccount) {
    Show(g_Con_Detail, m_c);
    g_ulRelatingAccID = m_a;  // the contact's account, as its form set it
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_ConDetail, [](HWND h) {
        SetText(h, IDC_NEWOPP_SUBJECT, "有客户");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    const std::string o = S(QueryInt("SELECT opp_id FROM opportunities WHERE opp_subject='有客户'"));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE con_id=" + S(m_c) + " AND opp_id=" + o), m_a);
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_accounts WHERE opp_id=" + o), m_a);
    EXPECT_EQ(g_Con_Detail.m_ulRecordID, m_c);

    g_ulRelatingAccID = 0;  // a contact without an account
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_ConDetail, [](HWND h) {
        SetText(h, IDC_NEWOPP_SUBJECT, "无客户");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    const std::string p = S(QueryInt("SELECT opp_id FROM opportunities WHERE opp_subject='无客户'"));
    EXPECT_EQ(QueryInt("SELECT acc_id FROM opportunities_contacts WHERE con_id=" + S(m_c) + " AND opp_id=" + p), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE opp_id=" + p), 0);
}

TEST_F(NewOpportunityDialog, TheTaskFormGetsTheSubjectAndIdOfTheNewOpportunity) {
    HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");  // a blank task form
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_TasDetail, [](HWND h) {
        SetText(h, IDC_NEWOPP_SUBJECT, "给日志");
        PressButton(h, IDC_NEWRECORD_OK);
    });
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "给日志");
    EXPECT_EQ((long long)g_Tas_Detail.m_ulLinkOppID,
              QueryInt("SELECT opp_id FROM opportunities WHERE opp_subject='给日志'"));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_tasks"), 0);
}

TEST_F(NewOpportunityDialog, AFailedInsertKeepsTheDialogOpenAndHandsBackOrLinksNothing) {
    HandOverToForm(&g_Tas_Detail, nullptr, 0, -1, "");
    SetText(g_Tas_Detail.m_hSubject, "原标题");
    AddOpp({.subject = "旧机会"});  // the highest id is not the one typed
    FailInsertsInto("opportunities");
    const AfterOk seen =
        TypeAndPressOk(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_TasDetail, IDC_NEWOPP_SUBJECT, "失败");
    EXPECT_TRUE(seen.bOpen);
    EXPECT_EQ(seen.typed, "失败");
    EXPECT_EQ(Text(g_Tas_Detail.m_hSubject), "原标题");
    EXPECT_EQ(g_Tas_Detail.m_ulLinkOppID, 0u);
    auto boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.");
    Exec("DROP TRIGGER fail_opportunities");

    // A refused link stores no opportunity, and the form is not told.
    const unsigned other = AddTask({.subject = "另一个"});
    Show(g_Tas_Detail, other);
    g_ulRelatingID = m_t;  // told to show m_t again, the form would show it
    const long long n = Opportunities();
    FailInsertsInto("opportunities_tasks");
    EXPECT_TRUE(
        TypeAndPressOk(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_TasDetailOpportunities, IDC_NEWOPP_SUBJECT, "也失败")
            .bOpen);
    EXPECT_EQ(Opportunities(), n);
    EXPECT_EQ(g_Tas_Detail.m_ulRecordID, other);
}

TEST_F(NewOpportunityDialog, EachOpeningReleasesItsFont) {
    Show(g_Acc_Detail, m_a);
    std::vector<HFONT> fonts;
    for (int i = 0; i < 3; ++i)
        RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [&](HWND h) {
            fonts.push_back((HFONT)SendDlgItemMessageA(h, IDC_NEWOPP_SUBJECT, WM_GETFONT, 0, 0));
            PressButton(h, IDCANCEL);
        });
    ASSERT_EQ(fonts.size(), 3u);
    for (HFONT hFont : fonts) {
        LOGFONTA lf;
        EXPECT_NE(hFont, nullptr);
        EXPECT_EQ(GetObjectA(hFont, sizeof lf, &lf), 0);
    }
}

}  // namespace
