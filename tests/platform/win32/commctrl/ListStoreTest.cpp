// The list view's row store on its own: order, cells, states, memory.
#include <gtest/gtest.h>

#include <string>

#include "commctrl/ListStore.h"

using w32::cc::ListStore;

TEST(ListStore, InsertAtZeroPushesRowsDownWithTheirCellsAndStates) {
    ListStore s;
    EXPECT_EQ(s.Insert(0, "r1"), 0);
    ASSERT_TRUE(s.SetText(0, 1, "r1b"));
    ASSERT_TRUE(s.SetState(0, 0x2000, 0xF000));
    EXPECT_EQ(s.Insert(0, "r2"), 0);
    EXPECT_EQ(s.Insert(0, "r3"), 0);
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.Text(0, 0), "r3");
    EXPECT_EQ(s.Text(1, 0), "r2");
    EXPECT_EQ(s.Text(2, 0), "r1");
    EXPECT_EQ(s.Text(2, 1), "r1b");
    EXPECT_EQ(s.State(2), 0x2000u);
    EXPECT_EQ(s.State(0), 0u);
}

TEST(ListStore, InsertInTheMiddleAndBeyondTheEnd) {
    ListStore s;
    s.Insert(0, "a");
    s.Insert(1, "c");
    EXPECT_EQ(s.Insert(1, "b"), 1);
    EXPECT_EQ(s.Insert(99, "d"), 3);  // clamped to the end
    EXPECT_EQ(s.Text(0, 0), "a");
    EXPECT_EQ(s.Text(1, 0), "b");
    EXPECT_EQ(s.Text(2, 0), "c");
    EXPECT_EQ(s.Text(3, 0), "d");
}

TEST(ListStore, CellsSetInAnyOrderKeepTheirNeighbours) {
    ListStore s;
    s.Insert(0, "zero");
    ASSERT_TRUE(s.SetText(0, 5, "five"));
    EXPECT_EQ(s.CellCount(0), 6);
    EXPECT_EQ(s.Text(0, 3), "");
    ASSERT_TRUE(s.SetText(0, 2, "two"));
    ASSERT_TRUE(s.SetText(0, 0, "a much longer first cell than before"));
    ASSERT_TRUE(s.SetText(0, 5, ""));
    EXPECT_EQ(s.Text(0, 0), "a much longer first cell than before");
    EXPECT_EQ(s.Text(0, 2), "two");
    EXPECT_EQ(s.Text(0, 5), "");
    EXPECT_EQ(s.Text(0, 9), "");
    // Embedded bytes of GBK text are kept as they are.
    ASSERT_TRUE(s.SetText(0, 1, "\xC1\xAA\xCF\xB5\xC8\xCB"));
    EXPECT_EQ(s.Text(0, 1), "\xC1\xAA\xCF\xB5\xC8\xCB");
}

TEST(ListStore, MissingRowsReadEmptyAndRefuseChanges) {
    ListStore s;
    s.Insert(0, "x");
    EXPECT_EQ(s.Text(1, 0), "");
    EXPECT_EQ(s.Text(-1, 0), "");
    EXPECT_FALSE(s.SetText(1, 0, "y"));
    EXPECT_FALSE(s.SetText(0, -1, "y"));
    EXPECT_FALSE(s.SetState(3, 1, 1));
    EXPECT_EQ(s.State(3), 0u);
    EXPECT_FALSE(s.Erase(1));
}

TEST(ListStore, StateMaskChangesOnlyMaskedBits) {
    ListStore s;
    s.Insert(0, "x", 0x1002);
    s.SetState(0, 0x2000, 0xF000);
    EXPECT_EQ(s.State(0), 0x2002u);
    s.SetState(0, 0, 0);  // mask 0 changes nothing
    EXPECT_EQ(s.State(0), 0x2002u);
    s.SetState(0, 0, 0x0002);
    EXPECT_EQ(s.State(0), 0x2000u);
}

TEST(ListStore, EraseAndClear) {
    ListStore s;
    for (int i = 0; i < 5; ++i) s.Insert(0, std::to_string(i));
    EXPECT_TRUE(s.Erase(0));
    EXPECT_EQ(s.Text(0, 0), "3");
    EXPECT_TRUE(s.Erase(3));
    EXPECT_EQ(s.Count(), 3);
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.HeapBytes(), 0u);
}

TEST(ListStore, MemoryIsTheTextsPlusASmallConstantPerCell) {
    ListStore s;
    const int rows = 2000, cols = 8;
    const std::string cell = "\xC1\xAA\xCF\xB5\xC8\xCB\xC1\xAA";  // 8 bytes
    for (int r = 0; r < rows; ++r) {
        s.Insert(0, cell);
        for (int c = 1; c < cols; ++c) s.SetText(0, c, cell);
    }
    const size_t text = static_cast<size_t>(rows) * cols * cell.size();
    const size_t perCell = (s.HeapBytes() - text) / (static_cast<size_t>(rows) * cols);
    EXPECT_LE(perCell, 8u) << "bytes of overhead per cell";
}

TEST(ListStore, CellsRewrittenInPlaceKeepEveryOtherCell) {
    ListStore s;
    s.Insert(0, "r1");
    s.Insert(0, "r0");
    for (int c = 1; c < 8; ++c) ASSERT_TRUE(s.SetText(0, c, std::string(static_cast<size_t>(c), char('a' + c))));
    // Shorter, longer, empty and back, in the middle and at both ends.
    ASSERT_TRUE(s.SetText(0, 3, "X"));
    ASSERT_TRUE(s.SetText(0, 4, "a much longer text than any cell in the row"));
    ASSERT_TRUE(s.SetText(0, 0, ""));
    ASSERT_TRUE(s.SetText(0, 7, "end"));
    ASSERT_TRUE(s.SetText(0, 0, "start"));
    const char* const want[] = {"start", "b",      "cc", "X", "a much longer text than any cell in the row",
                                "fffff", "gggggg", "end"};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(s.Text(0, c), want[c]) << "cell " << c;
    EXPECT_EQ(s.CellCount(0), 8);
    EXPECT_EQ(s.Text(1, 0), "r1");
    EXPECT_EQ(s.CellCount(1), 1);
}

TEST(ListStore, ManyCellsAndATextTakenFromTheSameRow) {
    ListStore s;
    s.Insert(0, "c0");
    for (int c = 1; c < 40; ++c) ASSERT_TRUE(s.SetText(0, c, "c" + std::to_string(c)));
    for (int c = 0; c < 40; ++c) EXPECT_EQ(s.Text(0, c), "c" + std::to_string(c));
    // The row's own cell as the new text of another (growing the row meanwhile).
    ASSERT_TRUE(s.SetText(0, 1, s.Text(0, 39)));
    ASSERT_TRUE(s.SetText(0, 60, s.Text(0, 2)));
    ASSERT_TRUE(s.SetText(0, 2, s.Text(0, 2)));
    EXPECT_EQ(s.Text(0, 1), "c39");
    EXPECT_EQ(s.Text(0, 2), "c2");
    EXPECT_EQ(s.Text(0, 60), "c2");
    EXPECT_EQ(s.Text(0, 50), "");
    EXPECT_EQ(s.Text(0, 39), "c39");
}

// Rows made with room for the columns and the row before: rows of other sizes
// and cell counts, filled at row 0 or elsewhere, keep their own cells, and
// the room a row did not use goes back once the next row comes.
TEST(ListStore, RowsMadeWithRoomForTheColumnsKeepTheirCellsAndGiveBackTheRest) {
    ListStore s;
    s.SetCellHint(8);
    const int rows = 1000;
    auto textOf = [](int r, int c) {
        return std::string(static_cast<size_t>((r * 7 + c) % 13 + (r % 2) * 20), 'a' + c);
    };
    auto cellsOf = [](int r) { return r % 3 == 0 ? 2 : 8; };
    size_t text = 0;
    for (int r = 0; r < rows; ++r) {
        ASSERT_EQ(s.Insert(0, textOf(r, 0)), 0);
        text += textOf(r, 0).size();
        for (int c = 1; c < cellsOf(r); ++c) {
            ASSERT_TRUE(s.SetText(0, c, textOf(r, c)));
            text += textOf(r, c).size();
        }
    }
    // A row inserted in the middle, filled after a later insertion at the end.
    ASSERT_EQ(s.Insert(500, "middle"), 500);
    ASSERT_EQ(s.Insert(s.Count(), "last"), rows + 1);
    ASSERT_TRUE(s.SetText(500, 7, "seven"));
    ASSERT_TRUE(s.SetText(rows + 1, 3, "three"));
    for (int r = 0; r < rows; ++r) {
        const int at = rows - 1 - r < 500 ? rows - 1 - r : rows - r;
        ASSERT_EQ(s.CellCount(at), cellsOf(r)) << "row " << r;
        for (int c = 0; c < cellsOf(r); ++c) ASSERT_EQ(s.Text(at, c), textOf(r, c)) << "row " << r << " cell " << c;
    }
    EXPECT_EQ(s.Text(500, 0), "middle");
    EXPECT_EQ(s.Text(500, 7), "seven");
    EXPECT_EQ(s.Text(500, 3), "");
    EXPECT_EQ(s.Text(rows + 1, 0), "last");
    EXPECT_EQ(s.Text(rows + 1, 3), "three");
    // Every row but the last two was fitted: a few bytes per cell beyond the texts.
    const size_t cells = static_cast<size_t>(rows / 3 + 1) * 2 + static_cast<size_t>(rows - rows / 3 - 1) * 8;
    EXPECT_LE((s.HeapBytes() - text) / cells, 12u) << "bytes of overhead per cell";
}
