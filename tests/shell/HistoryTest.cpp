// The Back/Forward history on its own: linking, cutting, the text and id
// buffers, and the entries Back and Forward may land on.
#include <gtest/gtest.h>

#include <cstring>

#include "shell/BaseDialogClass.h"
#include "shell/HistoryClass.h"

namespace {

class HistoryTest : public ::testing::Test {
protected:
    HistoryClass h;
    BaseDialogClass a, b, c, d;
};

TEST_F(HistoryTest, NothingButTheHeadCanStartTheList) {
    EXPECT_EQ(-1, h.Append());
    EXPECT_EQ(nullptr, h.OpenEntry(&a));
    h.TruncateAfterCurrent();  // on an empty history: no effect, no crash
    h.Back();
    h.Forward();
    h.FreeKeyword();
    EXPECT_EQ(-1, h.AllocKeyword(5));
    EXPECT_EQ(0, h.Count());

    ASSERT_EQ(0, h.AllocHead());
    EXPECT_EQ(-1, h.AllocHead());
    EXPECT_EQ(1, h.Count());
    EXPECT_EQ(h.m_pHead, h.m_pCurrent);
    EXPECT_EQ(h.m_pHead, h.m_pTail);
    // A new entry is all zero.
    HistoryNode zero;
    std::memset(&zero, 0, sizeof(zero));
    EXPECT_EQ(0, std::memcmp(&zero, h.m_pHead, sizeof(zero)));
}

TEST_F(HistoryTest, OpeningAfterBackCutsTheNewerEntries) {
    ASSERT_EQ(0, h.AllocHead());
    h.m_pHead->m_pView = &a;
    HistoryNode* n2 = h.OpenEntry(&b);
    HistoryNode* n3 = h.OpenEntry(&c);
    ASSERT_TRUE(n2 && n3);
    n3->m_pszKeyword = new char[4]{'k', 'e', 'y', '\0'};
    EXPECT_EQ(3, h.Count());
    EXPECT_EQ(n3, h.m_pTail);
    EXPECT_EQ(n2, n3->m_pPrev);

    h.Back();
    h.Back();
    EXPECT_EQ(h.m_pHead, h.m_pCurrent);
    HistoryNode* n4 = h.OpenEntry(&d);
    ASSERT_NE(nullptr, n4);
    EXPECT_EQ(2, h.Count());
    EXPECT_EQ(h.m_pHead->m_pNext, n4);
    EXPECT_EQ(h.m_pHead, n4->m_pPrev);
    EXPECT_EQ(n4, h.m_pTail);
    EXPECT_EQ(nullptr, h.NextWithView());
    h.Forward();  // at the newest entry: stays
    EXPECT_EQ(n4, h.m_pCurrent);
}

TEST_F(HistoryTest, BackAndForwardStopAtTheEnds) {
    ASSERT_EQ(0, h.AllocHead());
    h.Back();
    EXPECT_EQ(h.m_pHead, h.m_pCurrent);
    h.Forward();
    EXPECT_EQ(h.m_pHead, h.m_pCurrent);
}

TEST_F(HistoryTest, KeywordBufferIsRefusedWhenAlreadySetAndReplacedBySetKeyword) {
    ASSERT_EQ(0, h.AllocHead());
    ASSERT_EQ(0, h.AllocKeyword(3));
    std::strcpy(h.m_pCurrent->m_pszKeyword, "abc");
    EXPECT_EQ(-1, h.AllocKeyword(10));
    EXPECT_STREQ("abc", h.m_pCurrent->m_pszKeyword);

    ASSERT_EQ(0, h.SetKeyword("张三"));
    EXPECT_STREQ("张三", h.m_pCurrent->m_pszKeyword);
    ASSERT_EQ(0, h.SetKeyword(""));
    EXPECT_EQ(nullptr, h.m_pCurrent->m_pszKeyword);

    ASSERT_EQ(0, h.AllocTitle(4));
    EXPECT_EQ(-1, h.AllocTitle(4));
    ASSERT_EQ(0, h.SetTitle("所有计划日志"));
    EXPECT_STREQ("所有计划日志", h.m_pCurrent->m_pszTitle);
}

TEST_F(HistoryTest, IdListIsCopiedAndBoundedByItsCount) {
    ASSERT_EQ(0, h.AllocHead());
    ULONG ids[3] = {7, 8, 9};
    ASSERT_EQ(0, h.SetIDArray(ids, 3));
    ids[0] = 100;  // the entry keeps its own copy
    ASSERT_NE(nullptr, h.m_pCurrent->m_pulID);
    EXPECT_EQ(3, h.m_pCurrent->m_nIDCount);
    EXPECT_EQ(7u, h.m_pCurrent->m_pulID[0]);
    EXPECT_EQ(9u, h.m_pCurrent->m_pulID[2]);
    // A negative or zero count, or no array, leaves no list and a count of 0.
    ASSERT_EQ(0, h.SetIDArray(ids, -1));
    EXPECT_EQ(nullptr, h.m_pCurrent->m_pulID);
    EXPECT_EQ(0, h.m_pCurrent->m_nIDCount);
    ASSERT_EQ(0, h.SetIDArray(nullptr, 5));
    EXPECT_EQ(0, h.m_pCurrent->m_nIDCount);
}

TEST_F(HistoryTest, EntriesWithoutAViewAreSkippedAndNotOwnedByAnyPage) {
    ASSERT_EQ(0, h.AllocHead());
    h.m_pHead->m_pView = &a;
    ASSERT_EQ(0, h.Append());  // an entry nobody filled in
    HistoryNode* orphan = h.m_pCurrent;
    ASSERT_NE(nullptr, h.OpenEntry(&b));

    EXPECT_TRUE(h.IsCurrentOf(&b));
    EXPECT_FALSE(h.IsCurrentOf(&a));
    EXPECT_EQ(h.m_pHead, h.PrevWithView());

    h.m_pCurrent = orphan;
    EXPECT_FALSE(h.IsCurrentOf(&a));
    EXPECT_FALSE(h.IsCurrentOf(nullptr));
    EXPECT_EQ(h.m_pHead, h.PrevWithView());
    EXPECT_EQ(&b, h.NextWithView()->m_pView);
}

TEST_F(HistoryTest, FreeAllEmptiesTheList) {
    ASSERT_EQ(0, h.AllocHead());
    h.OpenEntry(&a);
    ASSERT_EQ(0, h.SetKeyword("x"));
    h.FreeAll();
    EXPECT_EQ(nullptr, h.m_pHead);
    EXPECT_EQ(nullptr, h.m_pCurrent);
    EXPECT_EQ(nullptr, h.m_pTail);
    EXPECT_EQ(0, h.AllocHead());  // and can start again
}

}  // namespace
