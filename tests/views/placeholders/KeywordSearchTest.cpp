// Keyword hand-over from another page's search box to the list pages.
#include <gtest/gtest.h>

#include "tests/support/ProgramTest.h"

#include "views/KeywordListDialogClass.h"
#include "program/HomepageDialogClass.h"

#include <cstring>

using namespace programtest;

// Test names show the page, not its address.
void PrintTo(KeywordListDialogClass* p, std::ostream* os) { *os << ViewClassName(p); }

namespace {

class KeywordSearch : public ::testing::TestWithParam<KeywordListDialogClass*> {
protected:
    void SetUp() override {
        EnsureProgram();
        ResetToStartPage();
    }

    void Search(const char* pszKeyword) {
        KeywordListDialogClass* pPage = GetParam();
        strncpy(pPage->m_szKeyword, pszKeyword, sizeof pPage->m_szKeyword - 1);
        SwitchViewAfterSend(pPage, UM_KEYWORDSEARCH);
    }
};

}  // namespace

TEST_P(KeywordSearch, BuildsANeverShownPageBeforeItSearches) {
    KeywordListDialogClass* pPage = GetParam();
    // The controls of a page that was never shown exist by the time the
    // message is handled, although the page is shown only afterwards.
    if (!pPage->m_bInit) {
        SendMessageA(pPage->m_hWnd, UM_KEYWORDSEARCH, 0, 0);
        EXPECT_TRUE(pPage->m_bInit);
        EXPECT_FALSE(IsWindowVisible(pPage->m_hWnd));
        ResetToStartPage();
    }
    Search("张");
    EXPECT_EQ(g_pCurrentDialog, pPage);
    EXPECT_TRUE(IsButtonChecked(pPage->GetButton()));
    ASSERT_EQ(g_History.m_pCurrent->m_pView, pPage);
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 1);
    ASSERT_NE(g_History.m_pCurrent->m_pszKeyword, nullptr);
    EXPECT_STREQ(g_History.m_pCurrent->m_pszKeyword, "张");
    EXPECT_STREQ(pPage->m_szSearch, "张");
}

TEST_P(KeywordSearch, BackToAKeywordEntrySearchesItsKeywordAgain) {
    KeywordListDialogClass* pPage = GetParam();
    Search("alpha");
    Search("beta");
    EXPECT_EQ(g_History.Count(), 3);
    EXPECT_EQ(VisibleViewCount(), 1);
    g_Toolbar.OnBack(NULL, 0, 0, 0);
    EXPECT_EQ(g_pCurrentDialog, pPage);
    EXPECT_STREQ(pPage->m_szSearch, "alpha");
    // Opening the page normally lists all records again.
    SendMessageA(pPage->m_hWnd, UM_OPENVIEW, 0, 0);
    EXPECT_STREQ(pPage->m_szSearch, "");
    EXPECT_EQ(g_History.m_pCurrent->m_nKind, 0);
    EXPECT_EQ(g_History.m_pCurrent->m_pszKeyword, nullptr);
}

TEST_P(KeywordSearch, AKeywordCutInsideACharacterLosesOnlyThatCharacter) {
    KeywordListDialogClass* pPage = GetParam();
    // 48 ASCII bytes then the lead byte of a two-byte character, as a sender
    // that copies 49 bytes leaves it.
    char sz[50];
    memset(sz, 'a', 48);
    sz[48] = (char)0xD5;
    sz[49] = '\0';
    memcpy(pPage->m_szKeyword, sz, sizeof sz);
    SwitchViewAfterSend(pPage, UM_KEYWORDSEARCH);
    EXPECT_EQ(strlen(pPage->m_szSearch), 48u);
    ASSERT_NE(g_History.m_pCurrent->m_pszKeyword, nullptr);
    EXPECT_EQ(strlen(g_History.m_pCurrent->m_pszKeyword), 48u);
}

TEST_P(KeywordSearch, ASearchBeforeTheHistoryHasAHeadAddsNoEntry) {
    KeywordListDialogClass* pPage = GetParam();
    g_History.FreeAll();
    strcpy(pPage->m_szKeyword, "x");
    SendMessageA(pPage->m_hWnd, UM_KEYWORDSEARCH, 0, 0);
    EXPECT_EQ(g_History.Count(), 0);
    EXPECT_STREQ(pPage->m_szSearch, "x");
}

// Every list page of the program now searches through its frame (covered by
// the frames' and the modules' tests); the placeholder page has no user left.
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(KeywordSearch);
