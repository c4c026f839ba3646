// Values at the edges of what the opportunity form can save: amounts that are
// no finite number, and the first and last dates of the date pickers.
#include <gtest/gtest.h>

#include "resources/opportunities_ids.h"
#include "tests/support/ProgramTest.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "win32_testhooks.h"

using namespace programtest;

namespace {

class OppFormValues : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        id = AddOpp({.subject = "甲项目", .important = "高", .estimate = 300});
        GotoOpp_Homepage();
        DoubleClickRow(g_Opp_Homepage, g_Opp_Homepage.m_ListView, 0);
        Click(form, IDC_OPPD_EDIT);
    }
    std::string Stored(const char* column) {
        return QueryText(std::string("SELECT ") + column + " FROM opportunities WHERE opp_id=" + std::to_string(id));
    }
    static void SetDate(HWND h, WORD y, WORD m, WORD d) {
        SYSTEMTIME st = {};
        st.wYear = y;
        st.wMonth = m;
        st.wDay = d;
        SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    }
    unsigned id = 0;
    Opp_DetailDialogClass& form = g_Opp_Detail;
};

// Each spelling, a number beyond any double, and text that is not wholly a
// number: one box naming the field, the form stays in edit mode with the
// input, and nothing is written.
TEST_F(OppFormValues, AnAmountThatIsNotWhollyAFiniteNumberIsRefusedOnceWithTheFieldsName) {
    for (const char* typed : {"nan", "inf", "-inf", "1e309", "NaN", "1,200", "12万"}) {
        SetText(form.m_hEstimateSale, typed);
        AnswerBoxes(IDOK);
        Click(form, IDC_OPPD_SAVE);
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"“预计销售额”不是有效的金额，请输入一个有限的数字。"}) << typed;
        EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit) << typed;
        EXPECT_EQ(Text(form.m_hEstimateSale), typed);
        EXPECT_EQ(Stored("opp_estimate_sale"), "300") << typed;
    }
    SetText(form.m_hEstimateSale, "12");
    SetText(form.m_hSale, "inf");
    AnswerBoxes(IDOK);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"“实际销售额”不是有效的金额，请输入一个有限的数字。"});
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kEdit);

    // A number too small to hold is 0, and saves.
    SetText(form.m_hSale, "1e-400");
    Click(form, IDC_OPPD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(Stored("opp_estimate_sale"), "12");
    EXPECT_EQ(Stored("opp_sale"), "0");
}

TEST_F(OppFormValues, TheDatePickersTakeTheirRangeAndTheStoreKeepsBothEnds) {
    SYSTEMTIME range[2] = {};
    SendMessageA(form.m_hDieDate, DTM_GETRANGE, 0, (LPARAM)range);
    EXPECT_EQ(range[0].wYear, 1601);
    EXPECT_EQ(range[0].wMonth, 1);
    EXPECT_EQ(range[0].wDay, 1);
    EXPECT_EQ(range[1].wYear, 9999);
    EXPECT_EQ(range[1].wMonth, 12);
    EXPECT_EQ(range[1].wDay, 31);

    // A year the store could not keep is not taken.
    SetDate(form.m_hDieDate, 99, 6, 1);
    SYSTEMTIME st = {};
    SendMessageA(form.m_hDieDate, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
    EXPECT_GE(st.wYear, 1601);

    SetDate(form.m_hDieDate, 9999, 12, 31);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Stored("opp_die_date"), "9999-12-31");
    Click(form, IDC_OPPD_EDIT);
    SetDate(form.m_hDieDate, 1601, 1, 1);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(Stored("opp_die_date"), "1601-01-01");
    // Shown again as stored.
    SendMessageA(form.m_hDieDate, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
    EXPECT_EQ(st.wYear, 1601);
    EXPECT_EQ(st.wMonth, 1);
    EXPECT_EQ(st.wDay, 1);
}

TEST_F(OppFormValues, DatesBeforeTheFirstPickerDateAreWrittenBackAsRead) {
    Database().Exec(
        "UPDATE opportunities SET opp_create_date='1500-06-01', opp_die_date='0100-01-01', "
        "opp_recent_contact_date='1600-12-31' WHERE opp_id=" +
        std::to_string(id));
    GotoOpp_Homepage();
    DoubleClickRow(g_Opp_Homepage, g_Opp_Homepage.m_ListView, 0);
    Click(form, IDC_OPPD_EDIT);
    SetText(form.m_hSubject, "乙项目");
    Click(form, IDC_OPPD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(Stored("opp_subject"), "乙项目");
    EXPECT_EQ(Stored("opp_create_date"), "1500-06-01");
    EXPECT_EQ(Stored("opp_die_date"), "0100-01-01");
    EXPECT_EQ(Stored("opp_recent_contact_date"), "1600-12-31");

    // Saved again, and then with a date the user changed: that one is taken.
    Click(form, IDC_OPPD_EDIT);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(Stored("opp_create_date"), "1500-06-01");
    Click(form, IDC_OPPD_EDIT);
    SetDate(form.m_hDieDate, 2030, 2, 3);
    Click(form, IDC_OPPD_SAVE);
    EXPECT_EQ(Stored("opp_die_date"), "2030-02-03");
    EXPECT_EQ(Stored("opp_create_date"), "1500-06-01");
}

}  // namespace
