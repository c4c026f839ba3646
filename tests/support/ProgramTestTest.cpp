// The program-test support itself: seeds land in the program's database as
// given, links go to the right table whichever kind comes first, and every
// StartFresh works on a new copy.
#include <gtest/gtest.h>

#include "platform/gbk/gbk.h"
#include "tests/support/ProgramTest.h"

using namespace programtest;

namespace {

std::string One(const std::string& sql) {
    auto rows = Database().Query(sql);
    return rows.empty() || rows[0].empty() ? "<none>" : rows[0][0];
}

TEST(ProgramTestSupport, SeedsEveryKindWithItsFields) {
    StartFresh();
    const unsigned opp = AddOpp({.subject = "甲项目", .estimate = 12.5});
    const unsigned acc = AddAccount({.name = "乙公司", .type = "客户", .province = "北京"});
    const unsigned con = AddContact({.name = "丙", .nickname = "小丙", .email = "c@example.com"});
    const unsigned tas = AddTask({.subject = "拜访", .date = "2024-03-05", .time = "14:30:00", .closed = true});
    ASSERT_GT(opp, 0u);
    ASSERT_GT(acc, 0u);
    ASSERT_GT(con, 0u);
    ASSERT_GT(tas, 0u);
    const std::string id = std::to_string(opp);
    EXPECT_EQ(gbk::ToUtf8("甲项目"), One("SELECT opp_subject FROM opportunities WHERE opp_id=" + id));
    EXPECT_EQ("12.5", One("SELECT opp_estimate_sale FROM opportunities WHERE opp_id=" + id));
    EXPECT_EQ(gbk::ToUtf8("北京"), One("SELECT acc_province FROM accounts WHERE acc_id=" + std::to_string(acc)));
    EXPECT_EQ("c@example.com", One("SELECT con_email FROM contacts WHERE con_id=" + std::to_string(con)));
    EXPECT_EQ(
        "2024-03-05 14:30:00 1",
        One("SELECT tas_date || ' ' || tas_time || ' ' || tas_closed FROM tasks WHERE tas_id=" + std::to_string(tas)));
}

TEST(ProgramTestSupport, LinksGoToTheTableOfBothKindsInEitherOrder) {
    StartFresh();
    const unsigned opp = AddOpp({.subject = "甲"});
    const unsigned acc = AddAccount({.name = "乙"});
    const unsigned con = AddContact({.name = "丙"});
    const unsigned tas = AddTask({.subject = "丁"});
    Link("tasks", tas, "opportunities", opp);
    Link("accounts", acc, "contacts", con);
    Link("contacts", con, "tasks", tas);
    EXPECT_EQ(std::to_string(opp) + " " + std::to_string(tas),
              One("SELECT opp_id || ' ' || tas_id FROM opportunities_tasks"));
    EXPECT_EQ(std::to_string(acc) + " " + std::to_string(con),
              One("SELECT acc_id || ' ' || con_id FROM accounts_contacts"));
    EXPECT_EQ(std::to_string(con) + " " + std::to_string(tas),
              One("SELECT con_id || ' ' || tas_id FROM contacts_tasks"));
}

TEST(ProgramTestSupport, EveryStartIsOnANewCopyAtTheStartPage) {
    StartFresh();
    AddAccount({.name = "留下"});
    const std::string first = Database().Path();
    g_Toolbar.OnAccounts(nullptr, 0, 0, 0);
    StartFresh();
    EXPECT_NE(first, Database().Path());
    EXPECT_EQ("0", One("SELECT COUNT(*) FROM accounts WHERE acc_name='" + gbk::ToUtf8("留下") + "'"));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM accounts"), std::stoll(One("SELECT COUNT(*) FROM accounts")));
    EXPECT_EQ(ViewAt(VIEW_HOMEPAGE), g_pCurrentDialog);
    EXPECT_EQ(1, VisibleViewCount());
    EXPECT_EQ(1, HistoryCount());
    EXPECT_TRUE(IsButtonChecked(IDC_TB_HOMEPAGE));
}

}  // namespace
