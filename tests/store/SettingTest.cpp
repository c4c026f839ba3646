#include <cstring>
#include <string>

#include "store/SettingClass.h"
#include "tests/store/StoreTestUtil.h"
#include "store/md5.h"

using namespace storetest;

namespace {

class SettingTest : public DataTest {
protected:
    // Stores a login through a fresh object, as the first-run wizard does.
    void StoreLogin(const char* pszName, const char* pszPassword) {
        SettingClass st;
        strcpy(st.set_user, pszName);
        strcpy(st.set_pwd, pszPassword);
        ASSERT_EQ(0, st.cst_SetLogin());
    }
    int Check(const char* pszPassword, SettingClass& st) {
        strcpy(st.set_pwd, pszPassword);
        EXPECT_EQ(0, st.cst_CheckLogin());
        return st.m_iCategory;
    }
};

TEST_F(SettingTest, FirstRunFlag) {
    SettingClass st;
    st.set_init = 5;
    ASSERT_EQ(0, st.cst_GetInit());
    EXPECT_EQ(0, st.set_init);
    st.set_init = 1;
    ASSERT_EQ(0, st.cst_SetInit());
    SettingClass other;
    ASSERT_EQ(0, other.cst_GetInit());
    EXPECT_EQ(1, other.set_init);
}

TEST_F(SettingTest, LoginCheckAgainstTheStoredDigest) {
    StoreLogin("张三", "abc");
    EXPECT_EQ("900150983cd24fb0d6963f7d28e17f72", Value("SELECT set_loginpwd FROM setting"));
    EXPECT_EQ(U("张三"), Value("SELECT set_loginname FROM setting"));

    SettingClass st;
    EXPECT_EQ(1, Check("abc", st));
    EXPECT_STREQ("张三", st.set_user);
    EXPECT_STREQ("900150983cd24fb0d6963f7d28e17f72", st.set_pwd);
    EXPECT_EQ(0, Check("ABC", st));
    EXPECT_STREQ("张三", st.set_user);
    EXPECT_EQ(0, Check("", st));
    EXPECT_EQ(0, Check("abcd", st));

    StoreLogin("empty", "");
    EXPECT_EQ("d41d8cd98f00b204e9800998ecf8427e", Value("SELECT set_loginpwd FROM setting"));
    EXPECT_EQ(1, Check("", st));
    EXPECT_EQ(0, Check("a", st));

    SettingClass name;
    ASSERT_EQ(0, name.cst_GetLoginName());
    EXPECT_STREQ("empty", name.set_user);
}

TEST_F(SettingTest, RfcDigestsMatchAndUpperCaseDigestsNever) {
    for (const char* p :
         {"a", "message digest", "abcdefghijklmnopqrstuvwxyz", "1234567890123456789012345678901234567890123456789"}) {
        StoreLogin("u", p);
        SettingClass st;
        EXPECT_EQ(1, Check(p, st)) << p;
    }
    Exec("UPDATE setting SET set_loginpwd='900150983CD24FB0D6963F7D28E17F72'");
    SettingClass st;
    EXPECT_EQ(0, Check("abc", st));
}

TEST_F(SettingTest, NoSettingsRowNeverAcceptsAPassword) {
    StoreLogin("u", "abc");
    SettingClass st;
    EXPECT_EQ(1, Check("abc", st));
    Exec("DELETE FROM setting");
    strcpy(st.set_pwd, "abc");
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, st.cst_CheckLogin());  // no row to read is a failure
    EXPECT_EQ(0, st.m_iCategory);        // a stale 1 is not kept
    EXPECT_EQ(-1, st.cst_SetLogin());    // a store that writes nothing is no success
    EXPECT_EQ(2u, Boxes().size());
}

TEST_F(SettingTest, LoginNameWithQuotesStoresNameAndDigest) {
    StoreLogin("abc' --", "pw");
    EXPECT_EQ("abc' --", Value("SELECT set_loginname FROM setting"));
    char szDigest[33];
    MD5DigestText("pw", szDigest);
    EXPECT_EQ(szDigest, Value("SELECT set_loginpwd FROM setting"));
    SettingClass st;
    EXPECT_EQ(1, Check("pw", st));
    EXPECT_STREQ("abc' --", st.set_user);
}

TEST_F(SettingTest, MailSettingsRoundTripIncludingQuotes) {
    SettingClass st;
    strcpy(st.set_emailaddress, "me@example.com");
    strcpy(st.set_smtpserver, "smtp.example.com");
    strcpy(st.set_user, "me");
    strcpy(st.set_pwd, "p'w");
    strcpy(st.set_port, "465");
    st.set_esmtp = 1;
    st.set_ssl = 1;
    // A signature with a quote is stored whole (the quote is doubled in the statement).
    strcpy(st.set_sign, "王五's 签名");
    strcpy(st.set_name, "王五");
    st.set_againtime = 3;
    ASSERT_EQ(0, st.cst_SaveMailSetting());

    SettingClass back;
    ASSERT_EQ(0, back.cst_GetMailSetting());
    EXPECT_STREQ("me@example.com", back.set_emailaddress);
    EXPECT_STREQ("smtp.example.com", back.set_smtpserver);
    EXPECT_STREQ("me", back.set_user);
    EXPECT_STREQ("p'w", back.set_pwd);
    EXPECT_STREQ("465", back.set_port);
    EXPECT_EQ(1, back.set_esmtp);
    EXPECT_EQ(1, back.set_ssl);
    EXPECT_STREQ("王五's 签名", back.set_sign);
    EXPECT_STREQ("王五", back.set_name);
    EXPECT_EQ(3, back.set_againtime);
    EXPECT_EQ(0, Number("SELECT set_init FROM setting"));

    // A NULL column read into a reused object gives "", not the old text.
    Exec("UPDATE setting SET set_sign=NULL, set_againtime=NULL");
    ASSERT_EQ(0, back.cst_GetMailSetting());
    EXPECT_STREQ("", back.set_sign);
    EXPECT_EQ(0, back.set_againtime);
}

TEST_F(SettingTest, LookupListsOfEveryCategory) {
    SettingClass st;
    st.cst_GetImportant();
    ASSERT_NE(nullptr, st.m_pCategoryHead);
    EXPECT_STREQ("高", st.m_pCategoryHead->description);
    int n = 0;
    for (st.m_pCurrent = st.m_pCategoryHead; st.m_pCurrent; st.cst_NextNode()) ++n;
    EXPECT_EQ(3, n);
    st.cst_GetPhase();
    EXPECT_STREQ("初步接触", st.m_pCategoryHead->description);
    EXPECT_STREQ("10", st.m_pCategoryHead->probability);
    st.cst_GetProvince();
    EXPECT_STREQ("北京", st.m_pCategoryHead->description);
    st.cst_GetType();
    EXPECT_STREQ("最终用户", st.m_pCategoryHead->description);

    Exec("DELETE FROM industry");
    ASSERT_EQ(0, g_ODBC.co_FormatSQL("%s", "SELECT * FROM Industry"));
    EXPECT_EQ(0, st.cst_LoadCategoryList());
    EXPECT_STREQ("", st.m_pCategoryHead->description);
    EXPECT_EQ(nullptr, st.m_pCategoryHead->next);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingTest, AddRenameDeleteAffectOnlyTheNamedValues) {
    const char* kTables[6][2] = {{"important", "imp_description"}, {"relation", "rel_description"},
                                 {"province", "pro_description"},  {"phase", "pha_description"},
                                 {"industry", "ind_description"},  {"type", "typ_description"}};
    for (int c = 0; c < 6; ++c) {
        std::string t = kTables[c][0], col = kTables[c][1];
        int nBefore = Number("SELECT COUNT(*) FROM " + t);
        SettingClass st;
        st.m_iCategory = c;
        strcpy(st.m_szNewDescription, "a'),('b");
        strcpy(st.m_szProbability, " 50");
        ASSERT_EQ(0, st.cst_AddCategory()) << t;
        EXPECT_EQ(nBefore + 1, Number("SELECT COUNT(*) FROM " + t)) << t;
        EXPECT_EQ(1, Number("SELECT COUNT(*) FROM " + t + " WHERE " + col + "='a''),(''b'")) << t;

        strcpy(st.m_szOldDescription, "a'),('b");
        strcpy(st.m_szNewDescription, "z' --");
        strcpy(st.m_szProbability, "70");
        ASSERT_EQ(0, st.cst_UpdateCategory()) << t;
        EXPECT_EQ(1, Number("SELECT COUNT(*) FROM " + t + " WHERE " + col + "='z'' --'")) << t;
        EXPECT_EQ(nBefore + 1, Number("SELECT COUNT(DISTINCT " + col + ") FROM " + t)) << t;

        strcpy(st.m_szOldDescription, "z' --");
        ASSERT_EQ(0, st.cst_DeleteCategory()) << t;
        EXPECT_EQ(nBefore, Number("SELECT COUNT(*) FROM " + t)) << t;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingTest, PhaseProbabilityIsWrittenAsANumber) {
    SettingClass st;
    st.m_iCategory = 3;
    strcpy(st.m_szNewDescription, "new");
    strcpy(st.m_szProbability, "50");
    ASSERT_EQ(0, st.cst_AddCategory());
    EXPECT_EQ("integer", Value("SELECT typeof(pha_succeed_probability) FROM phase WHERE pha_description='new'"));
    EXPECT_EQ(50, Number("SELECT pha_succeed_probability FROM phase WHERE pha_description='new'"));
    strcpy(st.m_szOldDescription, "new");
    strcpy(st.m_szProbability, "x");
    ASSERT_EQ(0, st.cst_UpdateCategory());
    EXPECT_EQ(0, Number("SELECT pha_succeed_probability FROM phase WHERE pha_description='new'"));
}

TEST_F(SettingTest, CategoryOutsideTheSixRunsNothing) {
    SettingClass st;
    st.m_iCategory = 0;
    strcpy(st.m_szNewDescription, "once");
    ASSERT_EQ(0, st.cst_AddCategory());
    for (int c : {-1, 6, 99}) {
        st.m_iCategory = c;
        EXPECT_EQ(-1, st.cst_AddCategory());
        EXPECT_EQ(-1, st.cst_UpdateCategory());
        EXPECT_EQ(-1, st.cst_DeleteCategory());
    }
    EXPECT_EQ(1, Number("SELECT COUNT(*) FROM important WHERE imp_description='once'"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(SettingTest, FailuresShowTheirMessages) {
    Exec("DROP TABLE setting");
    SettingClass st;
    EXPECT_EQ(-1, st.cst_GetMailSetting());
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    EXPECT_EQ(-1, st.cst_SaveMailSetting());
    EXPECT_EQ("Opp_DetailClass.cpp 66: co_ExecSQL Error.", Boxes().back());
    testsupport::ClearMessageBoxes();
    st.m_iCategory = 1;
    strcpy(st.set_pwd, "abc");
    EXPECT_EQ(-1, st.cst_CheckLogin());
    EXPECT_EQ(0, st.m_iCategory);
    EXPECT_EQ("Opp_DetailClass.cpp 277: co_ExecSQL Error.", Boxes().back());
}

}  // namespace
