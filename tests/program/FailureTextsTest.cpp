// The texts of the boxes each list page and record form of the account,
// contact and task modules shows when something fails, forced one by one: a
// query on a table that is gone, an id array that cannot be had, rows
// counted but none to walk, an add or a change the file refuses. The boxes
// are read through the box hook; id arrays are refused through the test
// program's failing array allocation (FailingArrays.h).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/accounts_ids.h"
#include "resources/contacts_ids.h"
#include "tests/support/FailingArrays.h"
#include "tests/support/ProgramTest.h"
#include "shell/ListPageClass.h"
#include "shell/RecordFormClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"
#include "views/contacts/Con_DateDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_Navigation.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_Navigation.h"

using namespace programtest;

namespace {

constexpr int kRecords = 5;  // of each kind; an id array of this many fails

enum Kind { kAccounts, kContacts, kTasks };

struct PageCase {
    const char* pszName;
    ListPageClass* pPage;
    Kind kind;
    int (*pfnOpen)();
    const char* pszIDArrayError;  // the page's own id array
    const char* pszEmptyError;    // rows counted, none to walk
    // The page's query run (opening the page, or pressing its button) once
    // the table is gone, and the text.
    std::function<void()> fnFailQuery;
    const char* pszQueryError;
    // A second query of the page (a category page's listing, another date
    // row), with its text; null when none.
    std::function<void()> fnFailOther;
    const char* pszOtherError;
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.pszName; }

const char kAccArray[] = "Acc_HomepageDialogClass.cpp 89: m_pulID Error.";
const char kOppArray[] = "Opp_HomepageDialogClass.cpp 89: m_pulID Error.";
const char kAccHead[] = "Acc_HomepageDialogClass.cpp 135: m_pAccHead Error.";
const char kConHead[] = "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.";
const char kOppHead[] = "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.";
const char kAllAccounts[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";
const char kCount[] = "Acc_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
const char kListing[] = "Opp_HomepageDialogClass.cpp 58: cod_InitDetail Error.";
const char kGetAdd[] = "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error.";
const char kNoTrack[] = "Opp_HomepageDialogClass.cpp 58: cod_NoTrack Error.";

// A click on the first category of a category page.
template <class Page>
std::function<void()> ClickFirstCategory(Page& page) {
    return [&page] { ClickRow(page, page.m_CategoryList, 0); };
}
// Opens the page, then presses one of its buttons.
std::function<void()> OpenAndPress(int (*pfnOpen)(), BaseDialogClass& page, int nID) {
    return [pfnOpen, &page, nID] {
        pfnOpen();
        Click(page, nID);
    };
}
std::function<void()> Opening(int (*pfnOpen)()) {
    return [pfnOpen] { pfnOpen(); };
}

PageCase AccCategory(const char* pszName, ListPageClass& page, int (*pfnOpen)(), std::function<void()> fnClick) {
    return {pszName, &page, kAccounts, pfnOpen, kOppArray, kAccHead, Opening(pfnOpen), kCount, fnClick, kListing};
}
PageCase ConCategory(const char* pszName, ListPageClass& page, int (*pfnOpen)(), std::function<void()> fnClick) {
    return {pszName, &page, kContacts, pfnOpen, kOppArray, kConHead, Opening(pfnOpen), kCount, fnClick, kListing};
}

std::vector<PageCase> Cases() {
    return {
        {"Acc_Homepage", &g_Acc_Homepage, kAccounts, GotoAcc_Homepage, kAccArray, kAccHead, Opening(GotoAcc_Homepage),
         kAllAccounts, nullptr, nullptr},
        AccCategory("Acc_ImportantStat", g_Acc_ImportantStat, GotoAcc_ImportantStat,
                    ClickFirstCategory(g_Acc_ImportantStat)),
        AccCategory("Acc_RelationStat", g_Acc_RelationStat, GotoAcc_RelationStat,
                    ClickFirstCategory(g_Acc_RelationStat)),
        AccCategory("Acc_TypeStat", g_Acc_TypeStat, GotoAcc_TypeStat, ClickFirstCategory(g_Acc_TypeStat)),
        AccCategory("Acc_IndustryStat", g_Acc_IndustryStat, GotoAcc_IndustryStat,
                    ClickFirstCategory(g_Acc_IndustryStat)),
        AccCategory("Acc_ProvinceStat", g_Acc_ProvinceStat, GotoAcc_ProvinceStat,
                    ClickFirstCategory(g_Acc_ProvinceStat)),
        AccCategory("Acc_OpportunitiesStat", g_Acc_OpportunitiesStat, GotoAcc_OpportunitiesStat,
                    ClickFirstCategory(g_Acc_OpportunitiesStat)),
        {"Acc_DateStat", &g_Acc_DateStat, kAccounts, GotoAcc_DateStat, kOppArray, kOppHead,
         OpenAndPress(GotoAcc_DateStat, g_Acc_DateStat, IDC_ACCT_ROW1_FIND), kGetAdd,
         OpenAndPress(GotoAcc_DateStat, g_Acc_DateStat, IDC_ACCT_ROW2_FIND), kNoTrack},
        {"Con_Homepage", &g_Con_Homepage, kContacts, GotoCon_Homepage, kAccArray, kConHead, Opening(GotoCon_Homepage),
         kAllAccounts, nullptr, nullptr},
        ConCategory("Con_Important", g_Con_Important, GotoCon_Important, ClickFirstCategory(g_Con_Important)),
        ConCategory("Con_Relation", g_Con_Relation, GotoCon_Relation, ClickFirstCategory(g_Con_Relation)),
        ConCategory("Con_Industry", g_Con_Industry, GotoCon_Industry, ClickFirstCategory(g_Con_Industry)),
        ConCategory("Con_Province", g_Con_Province, GotoCon_Province, ClickFirstCategory(g_Con_Province)),
        ConCategory("Con_Opportunities", g_Con_Opportunities, GotoCon_Opportunities,
                    ClickFirstCategory(g_Con_Opportunities)),
        {"Con_Date", &g_Con_Date, kContacts, GotoCon_Date, kOppArray, kOppHead,
         OpenAndPress(GotoCon_Date, g_Con_Date, IDC_CONT_ROW3_FIND), kGetAdd,
         OpenAndPress(GotoCon_Date, g_Con_Date, IDC_CONT_ROW2_FIND), kNoTrack},
        {"Tas_Homepage", &g_Tas_Homepage, kTasks, GotoTas_Homepage, kAccArray, kConHead, Opening(GotoTas_Homepage),
         kAllAccounts, nullptr, nullptr},
        {"Tas_ListAll", &g_Tas_ListAll, kTasks, GotoTas_ListAll, kAccArray, kConHead, Opening(GotoTas_ListAll),
         kAllAccounts, nullptr, nullptr},
        {"Tas_ClosedStat", &g_Tas_ClosedStat, kTasks, GotoTas_ClosedStat, kOppArray, kConHead,
         Opening(GotoTas_ClosedStat), kListing, ClickFirstCategory(g_Tas_ClosedStat), kListing},
    };
}

const char* TableOf(Kind kind) { return kind == kAccounts ? "accounts" : kind == kContacts ? "contacts" : "tasks"; }

// Takes the table away under another name, leaving the saved queries that
// read it without it; Restore brings it back.
void TakeAway(const std::string& table) {
    Database().Exec("PRAGMA legacy_alter_table=ON; ALTER TABLE " + table + " RENAME TO gone");
}
void Restore(const std::string& table) {
    Database().Exec("PRAGMA legacy_alter_table=ON; ALTER TABLE gone RENAME TO " + table);
}
// The boxes fn shows while the table is taken away.
std::vector<std::string> BoxesWithout(const std::string& table, const std::function<void()>& fn) {
    TakeAway(table);
    fn();
    std::vector<std::string> boxes = TakeBoxes();
    Restore(table);
    return boxes;
}

// Adds kRecords records of the kind; their ids.
std::vector<ULONG> AddRecords(Kind kind) {
    std::vector<ULONG> ids;
    for (int i = 0; i < kRecords; i++) {
        const std::string n = std::to_string(i);
        switch (kind) {
        case kAccounts: ids.push_back(AddAccount({.name = "客户" + n})); break;
        case kContacts: ids.push_back(AddContact({.name = "联系人" + n})); break;
        case kTasks: ids.push_back(AddTask({.subject = "任务" + n})); break;
        }
    }
    return ids;
}

class FailureTexts : public ::testing::TestWithParam<PageCase> {
protected:
    void SetUp() override {
        StartFresh();
        AddRecords(GetParam().kind);
        TakeBoxes();
    }
    void TearDown() override { FailArraysOfBytes(0); }

    // Loads every record of the page's kind into the page's data object, as
    // its own queries do before the page fills its list.
    static void LoadRows(ListPageClass* pPage, Kind kind) {
        int n = 0;
        switch (kind) {
        case kAccounts: n = static_cast<Acc_ListPageClass*>(pPage)->m_Acc.cad_GetAllAccounts(); break;
        case kContacts: n = static_cast<Con_ListPageClass*>(pPage)->m_Contact.ccd_GetAllContacts(); break;
        case kTasks: n = static_cast<Tas_ListPageClass*>(pPage)->m_Tas.ctd_GetAllTasks(); break;
        }
        ASSERT_EQ(n, kRecords);
    }
    static void FreeRows(ListPageClass* pPage, Kind kind) {
        switch (kind) {
        case kAccounts: static_cast<Acc_ListPageClass*>(pPage)->m_Acc.cad_FreeList(); break;
        case kContacts: static_cast<Con_ListPageClass*>(pPage)->m_Contact.ccd_FreeList(); break;
        case kTasks: static_cast<Tas_ListPageClass*>(pPage)->m_Tas.ctd_FreeList(); break;
        }
    }
};

std::string NameOf(const ::testing::TestParamInfo<PageCase>& info) { return info.param.pszName; }

TEST_P(FailureTexts, TheOwnIdArrayAndTheEmptyRowsShowThePagesTexts) {
    const PageCase& c = GetParam();
    ASSERT_EQ(c.pfnOpen(), 0);
    ASSERT_EQ(g_pCurrentDialog, c.pPage);
    TakeBoxes();

    LoadRows(c.pPage, c.kind);
    {
        FailArraysOf fail(kRecords);
        EXPECT_EQ(c.pPage->ShowQueryResult(kRecords, "query"), -1);
    }
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{c.pszIDArrayError});
    EXPECT_EQ(RowCount(c.pPage->m_ListView), 0);
    EXPECT_EQ(c.pPage->m_nIDCount, 0);

    // Rows counted, but the data object holds none.
    FreeRows(c.pPage, c.kind);
    EXPECT_EQ(c.pPage->ShowQueryResult(2, "query"), 0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{c.pszEmptyError});
}

TEST_P(FailureTexts, FailedQueriesShowThePagesTextLast) {
    const PageCase& c = GetParam();
    ASSERT_EQ(c.pfnOpen(), 0);
    TakeBoxes();
    const std::string table = TableOf(c.kind);
    if (c.fnFailOther) {
        const std::vector<std::string> boxes = BoxesWithout(table, c.fnFailOther);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back(), c.pszOtherError);
    }
    GotoTas_Week();
    TakeBoxes();
    const std::vector<std::string> boxes = BoxesWithout(table, c.fnFailQuery);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), c.pszQueryError);
}

INSTANTIATE_TEST_SUITE_P(Pages, FailureTexts, ::testing::ValuesIn(Cases()), NameOf);

// The record forms: a record that cannot be read, an add and a change the
// file refuses, an id list that cannot be had.
struct FormCase {
    const char* pszName;
    RecordFormClass* pForm;
    Kind kind;
    const char* pszAddError;
    const char* pszChangeError;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.pszName; }

class FormFailureTexts : public ::testing::TestWithParam<FormCase> {
protected:
    void SetUp() override {
        StartFresh();
        ids = AddRecords(GetParam().kind);
        TakeBoxes();
    }
    void TearDown() override { FailArraysOfBytes(0); }
    void Refuse(const char* pszWhen) {
        ASSERT_EQ(Exec(std::string("CREATE TRIGGER refuse BEFORE ") + pszWhen + " ON " + TableOf(GetParam().kind) +
                       " BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                  0);
    }
    std::vector<ULONG> ids;
};

const char kLoad[] = "Opp_DetailDialogClass.cpp 260: cod_GetOpportunity Error.";

TEST_P(FormFailureTexts, EachFailureShowsTheFormsText) {
    const FormCase& c = GetParam();
    RecordFormClass* pForm = c.pForm;
    {
        FailArraysOf fail(kRecords);
        ASSERT_EQ(HandOverToForm(pForm, ids.data(), kRecords, 1, "列表"), 0);
    }
    std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    for (const std::string& box : boxes) EXPECT_EQ(box, kOppArray);

    // The record is gone from under the form.
    const std::string table = TableOf(c.kind);
    boxes = BoxesWithout(table, [&] { SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ids[1]); });
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), kLoad);

    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ids[1]);
    Click(*pForm, pForm->Def().ids.nEdit);
    Refuse("UPDATE");
    TakeBoxes();
    Click(*pForm, pForm->Def().ids.nSave);
    boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), c.pszChangeError);
    ASSERT_EQ(Exec("DROP TRIGGER refuse"), 0);

    SendMessageA(pForm->m_hWnd, UM_NEWRECORD, 0, 0);
    Refuse("INSERT");
    TakeBoxes();
    Click(*pForm, pForm->Def().ids.nSave);
    boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back(), c.pszAddError);
    ASSERT_EQ(Exec("DROP TRIGGER refuse"), 0);
}

INSTANTIATE_TEST_SUITE_P(Forms, FormFailureTexts,
                         ::testing::Values(FormCase{"Acc_Detail", &g_Acc_Detail, kAccounts,
                                                    "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.",
                                                    "Acc_DetailDialogClass.cpp 281: cad_ChageAccount Error."},
                                           FormCase{"Con_Detail", &g_Con_Detail, kContacts,
                                                    "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.",
                                                    "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error."},
                                           FormCase{"Tas_Detail", &g_Tas_Detail, kTasks,
                                                    "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.",
                                                    "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error."}),
                         [](const ::testing::TestParamInfo<FormCase>& info) {
                             return std::string(info.param.pszName);
                         });

}  // namespace
