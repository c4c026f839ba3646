// The node-list primitives every data class has (and the settings store's
// lookup list): a node goes after the cursor and becomes the cursor, zero-
// filled; no node without a head; quote doubling of text values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/Acc_DetailClass.h"
#include "store/Con_DetailClass.h"
#include "store/Opp_DetailClass.h"
#include "store/SettingClass.h"
#include "store/Tas_DetailClass.h"
#include "tests/support/MessageBoxRecorder.h"

namespace {

// One class of the family: its list, its primitives and a text field of a node.
struct Opp {
    using Data = Opp_DetailClass;
    static auto& Head(Data& d) { return d.m_pOppHead; }
    static int AllocHead(Data& d) { return d.cod_AllocHead(); }
    static int AllocNode(Data& d) { return d.cod_AllocNode(); }
    static char* Text(OppNode* p) { return p->opp_subject; }
    static bool Empty(const OppNode* p) { return p->opp_id == 0 && !p->opp_description && !p->opp_subject[0]; }
};
struct Acc {
    using Data = Acc_DetailClass;
    static auto& Head(Data& d) { return d.m_pAccHead; }
    static int AllocHead(Data& d) { return d.cad_AllocHead(); }
    static int AllocNode(Data& d) { return d.cad_AllocNode(); }
    static char* Text(AccNode* p) { return p->acc_name; }
    static bool Empty(const AccNode* p) { return p->acc_id == 0 && !p->acc_description && !p->acc_name[0]; }
};
struct Con {
    using Data = Con_DetailClass;
    static auto& Head(Data& d) { return d.m_pConHead; }
    static int AllocHead(Data& d) { return d.ccd_AllocHead(); }
    static int AllocNode(Data& d) { return d.ccd_AllocNode(); }
    static char* Text(ConNode* p) { return p->con_name; }
    static bool Empty(const ConNode* p) { return p->con_id == 0 && !p->con_description && !p->con_name[0]; }
};
struct Tas {
    using Data = Tas_DetailClass;
    static auto& Head(Data& d) { return d.m_pTasHead; }
    static int AllocHead(Data& d) { return d.ctd_AllocHead(); }
    static int AllocNode(Data& d) { return d.ctd_AllocNode(); }
    static char* Text(TasNode* p) { return p->tas_subject; }
    static bool Empty(const TasNode* p) { return p->tas_id == 0 && !p->tas_description && !p->tas_subject[0]; }
};
struct Setting {
    using Data = SettingClass;
    static auto& Head(Data& d) { return d.m_pCategoryHead; }
    static int AllocHead(Data& d) { return d.cst_AllocHead(); }
    static int AllocNode(Data& d) { return d.cst_AllocNode(); }
    static char* Text(CategoryNode* p) { return p->description; }
    static bool Empty(const CategoryNode* p) { return !p->description[0] && !p->probability[0]; }
};

template <class T>
class ListPrimitives : public ::testing::Test {
protected:
    void SetUp() override { testsupport::ClearMessageBoxes(); }
};
using Classes = ::testing::Types<Opp, Acc, Con, Tas, Setting>;
TYPED_TEST_SUITE(ListPrimitives, Classes);

TYPED_TEST(ListPrimitives, NodeGoesAfterTheCursorZeroFilledAndBecomesTheCursor) {
    using T = TypeParam;
    typename T::Data d;
    EXPECT_EQ(-1, T::AllocNode(d));  // no head: nothing is made
    EXPECT_EQ(nullptr, T::Head(d));
    ASSERT_EQ(0, T::AllocHead(d));
    EXPECT_EQ(-1, T::AllocHead(d));  // a head exists: kept as it is
    auto* pHead = T::Head(d);
    strcpy(T::Text(pHead), "head");
    ASSERT_EQ(0, T::AllocNode(d));
    auto* pLast = d.m_pCurrent;
    EXPECT_NE(pHead, pLast);
    EXPECT_TRUE(T::Empty(pLast));
    strcpy(T::Text(pLast), "last");
    // From the head again: the new node goes between head and last.
    d.m_pCurrent = pHead;
    ASSERT_EQ(0, T::AllocNode(d));
    auto* pMiddle = d.m_pCurrent;
    EXPECT_TRUE(T::Empty(pMiddle));
    EXPECT_EQ(pHead, T::Head(d));
    EXPECT_EQ(pMiddle, pHead->next);
    EXPECT_EQ(pLast, pMiddle->next);
    EXPECT_EQ(nullptr, pLast->next);
    EXPECT_STREQ("head", T::Text(pHead));
    EXPECT_STREQ("last", T::Text(pLast));
    EXPECT_TRUE(testsupport::MessageBoxTexts().empty());
}

// x_EscapeQuotes of the four record classes: every single quote twice, GBK
// text as it stands, the target ended.
TEST(EscapeQuotes, EveryRecordClassDoublesEachQuoteAndEndsTheTarget) {
    const std::string strSource = "O'Neil''s 公司'";
    const std::string strExpected = "O''Neil''''s 公司''";
    auto check = [&](auto escape) {
        std::string strTarget(2 * strSource.size() + 1, '#');
        escape(strSource.c_str(), &strTarget[0]);
        EXPECT_STREQ(strExpected.c_str(), strTarget.c_str());
        strTarget.assign(3, '#');
        escape("", &strTarget[0]);
        EXPECT_EQ('\0', strTarget[0]);
    };
    Opp_DetailClass opp;
    Acc_DetailClass acc;
    Con_DetailClass con;
    Tas_DetailClass tas;
    check([&](const char* s, char* t) { opp.cod_EscapeQuotes(s, t); });
    check([&](const char* s, char* t) { acc.cad_EscapeQuotes(s, t); });
    check([&](const char* s, char* t) { con.ccd_EscapeQuotes(s, t); });
    check([&](const char* s, char* t) { tas.ctd_EscapeQuotes(s, t); });
}

}  // namespace
