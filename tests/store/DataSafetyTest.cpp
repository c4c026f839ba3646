// What a hostile text, a second program on the same file, a damaged file or
// a value at the edge of a column can do to the store.
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "store/Acc_DetailClass.h"
#include "store/Opp_DetailClass.h"
#include "store/RecordList.h"
#include "store/SettingClass.h"
#include "tests/store/StoreTestUtil.h"
#include "store/Tas_DetailClass.h"

using namespace storetest;

namespace {

class DataSafetyTest : public DataTest {
protected:
    // A write by another program, which does not wait for locks.
    int WriteFromOutside() {
        sqlite3* db = nullptr;
        sqlite3_open_v2(DatabasePath().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 0);
        int rc =
            sqlite3_exec(db, "INSERT INTO important(imp_description) VALUES('outside')", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return rc;
    }
    static void FillOpp(OppNode* p, const char* pszSubject) {
        snprintf(p->opp_subject, sizeof p->opp_subject, "%s", pszSubject);
        p->opp_create_date = {2024, 9, 1};
        p->opp_die_date = {2024, 10, 15};
        p->opp_recent_contact_date = {2024, 9, 30};
        snprintf(p->opp_important, sizeof p->opp_important, "%s", "高");
        snprintf(p->opp_phase, sizeof p->opp_phase, "%s", "初步接触");
    }
    ULONG AddOpp(const char* pszSubject) {
        Opp_DetailClass opp;
        EXPECT_EQ(0, opp.cod_AllocHead());
        FillOpp(opp.m_pCurrent, pszSubject);
        EXPECT_EQ(0, opp.cod_AddOpportunity());
        EXPECT_EQ(0, opp.cod_GetLastOpportunityID());
        return opp.m_ulOppID;
    }
};

const char kInvalidText[] = "要保存的文字中有无法识别的字符（不是有效的GBK编码），未写入数据库。";

// ---------------------------------------------------------------------------
// Texts that are not GBK
// ---------------------------------------------------------------------------

TEST_F(DataSafetyTest, ATextWithAnInvalidByteBeforeAQuoteIsRefusedNotRun) {
    int nRows = Number("SELECT COUNT(*) FROM important");
    SettingClass st;
    st.m_iCategory = 0;
    snprintf(st.m_szOldDescription, sizeof st.m_szOldDescription, "%s", "\x81' OR 1=1 OR 1=\x81");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, st.cst_DeleteCategory());
    EXPECT_EQ(std::vector<std::string>{kInvalidText}, Boxes());
    EXPECT_EQ(nRows, Number("SELECT COUNT(*) FROM important"));  // not every row gone

    snprintf(st.m_szNewDescription, sizeof st.m_szNewDescription, "%s",
             "\x81'),((SELECT set_loginpwd FROM setting)),('\x81");
    EXPECT_EQ(-1, st.cst_AddCategory());
    EXPECT_EQ(nRows, Number("SELECT COUNT(*) FROM important"));  // no row, let alone three

    // A login name that would reset the first-run flag.
    Exec("UPDATE setting SET set_init=1");
    snprintf(st.set_user, sizeof st.set_user, "%s", "\x81',set_init=0,set_loginname=\x81");
    snprintf(st.set_pwd, sizeof st.set_pwd, "%s", "pw");
    EXPECT_EQ(-1, st.cst_SetLogin());
    EXPECT_EQ("1", Value("SELECT set_init FROM setting"));

    // Never turned into '?' either.
    snprintf(st.m_szNewDescription, sizeof st.m_szNewDescription, "%s", "a\x81 b");
    EXPECT_EQ(-1, st.cst_AddCategory());
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM important WHERE imp_description LIKE 'a%'"));
}

TEST_F(DataSafetyTest, TheEuroSignSurvivesASaveAndTheNextOne) {
    ULONG id = AddOpp(
        "\x80"
        "500 deal");
    EXPECT_EQ(
        "\xE2\x82\xAC"
        "500 deal",
        Value("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(id)));
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_GetOpportunity(id));
    EXPECT_STREQ(
        "\x80"
        "500 deal",
        opp.m_pOppHead->opp_subject);
    ASSERT_EQ(0, opp.cod_ChageOpportunity(id));  // written back as read
    EXPECT_EQ(
        "\xE2\x82\xAC"
        "500 deal",
        Value("SELECT opp_subject FROM opportunities WHERE opp_id=" + std::to_string(id)));
}

// Random texts through the statement formatter: each formatted statement is
// either refused (not GBK) or is exactly the one statement meant, its literal
// the given text.
TEST_F(DataSafetyTest, QuotingHoldsForArbitraryBytes) {
    std::mt19937 rng(20241207);
    const unsigned char kFavoured[] = {'\'', '\'', ';',  '-',  ' ',  '%',  's',  0x80, 0x81,
                                       0x9D, 0xA1, 0xB0, 0xFE, 0xFF, 0x40, 0x7F, 0x5C};
    int nRefused = 0, nRun = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string s;
        size_t n = rng() % 12;
        for (size_t k = 0; k < n; ++k) {
            unsigned char c = (rng() % 2) ? kFavoured[rng() % sizeof kFavoured] : (unsigned char)(1 + rng() % 255);
            s += char(c);
        }
        testsupport::ClearMessageBoxes();
        if (store::FormatSQL("SELECT '%s' AS v", s.c_str()) == -1) {
            ASSERT_FALSE(gbk::IsValid(s)) << i;
            ASSERT_EQ(std::vector<std::string>{kInvalidText}, Boxes());
            ++nRefused;
            continue;
        }
        ASSERT_TRUE(gbk::IsValid(s)) << i;
        ASSERT_EQ(0, g_ODBC.co_ExecSQL()) << i;
        SQLSMALLINT nCols = 0;
        SQLNumResultCols(g_ODBC.m_hStmt, &nCols);
        ASSERT_EQ(1, nCols) << i;
        ASSERT_EQ(0, g_ODBC.co_GetNextData());
        char buf[64] = {};
        ASSERT_EQ(0, g_ODBC.co_SQLGetData(1, SQL_C_CHAR, buf, sizeof buf));
        ASSERT_EQ(s, std::string(buf)) << i;
        ASSERT_EQ(-1, g_ODBC.co_GetNextData()) << i;  // one row: one statement
        ++nRun;
    }
    EXPECT_GT(nRefused, 100);
    EXPECT_GT(nRun, 100);
}

// ---------------------------------------------------------------------------
// Locks
// ---------------------------------------------------------------------------

TEST_F(DataSafetyTest, SingleRowReadsLeaveTheFileUnlocked) {
    ULONG id = AddOpp("one");
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_GetOpportunity(id));
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
    ASSERT_EQ(0, opp.cod_GetLastOpportunityID());
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
    ASSERT_EQ(0, opp.cod_CountByImportant());
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
    opp.m_ulAccID = 1;
    ASSERT_EQ(0, opp.cod_LinkOpportunity());
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
    SettingClass st;
    ASSERT_EQ(0, st.cst_GetInit());
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
    ASSERT_EQ(0, st.cst_GetMailSetting());
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
    ASSERT_EQ(0, st.cst_GetLoginName());
    EXPECT_EQ(SQLITE_OK, WriteFromOutside());
}

TEST_F(DataSafetyTest, NothingIsLockedWhileAMessageWaitsForTheUser) {
    ULONG id = AddOpp("one");
    Exec("DROP TABLE opportunities_tasks");
    std::vector<int> writes;
    testsupport::ClearMessageBoxes();
    testsupport::SetMessageBoxHook([&] { writes.push_back(WriteFromOutside()); });
    Opp_DetailClass opp;
    EXPECT_EQ(-1, opp.cod_DeleteOpportunity(id));  // fails at its third statement
    ASSERT_FALSE(writes.empty());
    for (int rc : writes) EXPECT_EQ(SQLITE_OK, rc);
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM opportunities WHERE opp_id=" + std::to_string(id)));
}

// ---------------------------------------------------------------------------
// Damaged and foreign files
// ---------------------------------------------------------------------------

TEST_F(DataSafetyTest, AGarbledDataPageIsNamedAndNothingMoreIsWritten) {
    for (int i = 0; i < 40; ++i) AddOpp(std::string(200, 'x').c_str());
    long nRoot = std::stol(Value("SELECT rootpage FROM sqlite_master WHERE name='opportunities'"));
    long nPage = std::stol(Value("PRAGMA page_size"));
    testsupport::ResetGlobalConnection();
    {
        FILE* f = std::fopen(DatabasePath().c_str(), "r+b");
        ASSERT_NE(nullptr, f);
        std::fseek(f, (nRoot - 1) * nPage, SEEK_SET);
        std::string junk(size_t(nPage), '\x5A');
        std::fwrite(junk.data(), 1, junk.size(), f);
        std::fclose(f);
    }
    ASSERT_EQ(0, testsupport::ConnectGlobal(DatabasePath()));
    int nImportant = Number("SELECT COUNT(*) FROM important");
    testsupport::ClearMessageBoxes();
    Opp_DetailClass opp;
    EXPECT_EQ(-1, opp.cod_InitDetail());
    auto texts = Boxes();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_NE(std::string::npos, texts[0].find("已损坏，或者不是本程序的数据库文件")) << texts[0];
    EXPECT_NE(std::string::npos, texts[0].find(DatabasePath()));
    EXPECT_EQ("ODBCClass.cpp 103: SQLExecDirect Error.", texts[1]);

    SettingClass st;
    st.m_iCategory = 0;
    snprintf(st.m_szNewDescription, sizeof st.m_szNewDescription, "%s", "new");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, st.cst_AddCategory());
    EXPECT_NE(std::string::npos, Boxes()[0].find("已损坏"));
    EXPECT_EQ(nImportant, Number("SELECT COUNT(*) FROM important"));
}

TEST_F(DataSafetyTest, ADatabaseOfAnotherProgramIsNamedAtConnect) {
    testsupport::ResetGlobalConnection();
    std::remove(DatabasePath().c_str());
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(DatabasePath().c_str(), &db));
    sqlite3_exec(db, "CREATE TABLE notes(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, testsupport::ConnectGlobal(DatabasePath()));
    auto texts = Boxes();
    ASSERT_EQ(2u, texts.size());
    EXPECT_NE(std::string::npos, texts[0].find("已损坏，或者不是本程序的数据库文件"));
    EXPECT_EQ("ODBCClass.cpp 72: SQLDriverConnect Error.", texts[1]);
}

// ---------------------------------------------------------------------------
// The settings row
// ---------------------------------------------------------------------------

TEST_F(DataSafetyTest, AMissingSettingsRowFailsReadsAndWrites) {
    Exec("DELETE FROM setting");
    SettingClass st;
    st.set_init = 7;
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, st.cst_GetInit());  // start-up ends instead of running the wizard
    EXPECT_EQ(std::vector<std::string>{"数据库文件中没有设置记录，无法读取程序的设置。"}, Boxes());
    EXPECT_EQ(-1, st.cst_GetMailSetting());
    EXPECT_EQ(-1, st.cst_GetLoginName());
    testsupport::ClearMessageBoxes();
    st.set_init = 1;
    EXPECT_EQ(-1, st.cst_SetInit());
    EXPECT_EQ(std::vector<std::string>{"数据库文件中没有设置记录，设置未能保存。"}, Boxes());
    EXPECT_EQ(-1, st.cst_SaveMailSetting());
    EXPECT_EQ(-1, st.cst_SetLogin());
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM setting"));
}

// ---------------------------------------------------------------------------
// Saved queries and links to records that are gone
// ---------------------------------------------------------------------------

TEST_F(DataSafetyTest, ALinkToAMissingOpportunityIsNoOpportunity) {
    ULONG o = AddOpp("real");
    Exec("INSERT INTO accounts(acc_name) VALUES('with'), ('stale'), ('none')");
    Exec("INSERT INTO opportunities_accounts(opp_id, acc_id) VALUES(" + std::to_string(o) + ", 1), (999, 2)");
    Exec("INSERT INTO contacts(con_name) VALUES('with'), ('stale')");
    Exec("INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) VALUES(" + std::to_string(o) +
         ", 1, 0), (999, 2, 0)");
    Acc_DetailClass acc;
    ASSERT_EQ(0, acc.cad_CountByOpportunities());
    EXPECT_EQ(1, acc.m_iCount[0]);
    EXPECT_EQ(2, acc.m_iCount[1]);
    ASSERT_EQ(2, acc.cad_GetByOpportunities(1));  // "stale" is listed among those without
    EXPECT_EQ("1", Value("SELECT COUNT(*) FROM rel_opportunities_contacts WHERE opp_id IS NULL"));
    EXPECT_EQ("1", Value("SELECT COUNT(*) FROM rel_opportunities_contacts WHERE con_id=2"));
}

// ---------------------------------------------------------------------------
// Values at the edges of their columns
// ---------------------------------------------------------------------------

TEST_F(DataSafetyTest, TheDatePickersRangeIsStoredAndReadBackExactly) {
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_AllocHead());
    FillOpp(opp.m_pCurrent, "edges");
    opp.m_pCurrent->opp_create_date = {1601, 1, 1};
    opp.m_pCurrent->opp_die_date = {9999, 12, 31};
    opp.m_pCurrent->opp_recent_contact_date = {1601, 1, 1};
    testsupport::ClearMessageBoxes();
    ASSERT_EQ(0, opp.cod_AddOpportunity());
    ASSERT_EQ(0, opp.cod_GetLastOpportunityID());
    Opp_DetailClass back;
    ASSERT_EQ(0, back.cod_GetOpportunity(opp.m_ulOppID));
    const OppNode* p = back.m_pOppHead;
    EXPECT_EQ(1601, p->opp_create_date.year);
    EXPECT_EQ(1, p->opp_create_date.month);
    EXPECT_EQ(1, p->opp_create_date.day);
    EXPECT_EQ(9999, p->opp_die_date.year);
    EXPECT_EQ(12, p->opp_die_date.month);
    EXPECT_EQ(31, p->opp_die_date.day);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DataSafetyTest, ASubjectTheColumnCannotGiveBackIsRefused) {
    Opp_DetailClass opp;
    ASSERT_EQ(0, opp.cod_AllocHead());
    FillOpp(opp.m_pCurrent, std::string(255, 's').c_str());
    int nBefore = Number("SELECT COUNT(*) FROM opportunities");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, opp.cod_AddOpportunity());
    EXPECT_EQ(std::vector<std::string>{"“主题”太长：最多可保存254个字节（127个汉字），未写入数据库。"}, Boxes());
    EXPECT_EQ(nBefore, Number("SELECT COUNT(*) FROM opportunities"));

    opp.m_pCurrent->opp_subject[254] = '\0';  // 254 bytes: stored and read back whole
    ASSERT_EQ(0, opp.cod_AddOpportunity());
    ASSERT_EQ(0, opp.cod_GetLastOpportunityID());
    Opp_DetailClass back;
    ASSERT_EQ(0, back.cod_GetOpportunity(opp.m_ulOppID));
    EXPECT_EQ(254u, strlen(back.m_pOppHead->opp_subject));
    memset(back.m_pCurrent->opp_subject, 't', 255);
    EXPECT_EQ(-1, back.cod_ChageOpportunity(opp.m_ulOppID));

    Tas_DetailClass tas;
    ASSERT_EQ(0, tas.ctd_AllocHead());
    memset(tas.m_pCurrent->tas_subject, 'x', 255);
    tas.m_pCurrent->tas_date = {2024, 1, 1};
    EXPECT_EQ(-1, tas.ctd_AddTask());
    EXPECT_EQ(0, Number("SELECT COUNT(*) FROM tasks"));
}

}  // namespace
