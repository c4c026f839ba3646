// An executable given no resource scripts has an empty table.
#include <gtest/gtest.h>

#include "res/resdata.h"
#include "win32.h"

TEST(EmptyResourceTable, LookupsFindNothing) {
    EXPECT_EQ(w32res::ProgramTable().count, 0u);
    EXPECT_EQ(w32res::FindDialog("ID_DLG_LOGIN"), nullptr);
    EXPECT_EQ(w32res::FindMenu(MAKEINTRESOURCEA(1)), nullptr);
    char buf[4] = "abc";
    EXPECT_EQ(LoadStringA(nullptr, 1, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
}
