// The contract of the record-form frame (RecordFormClass and its field
// table), of the one hand-over and of the id lists, run on a small test form.
#include <gtest/gtest.h>

#include "shell/HistoryClass.h"
#include "shell/ListViewClass.h"
#include "tests/shell/frames/FramePages.h"
#include "shell/IDList.h"
#include "win32_testhooks.h"

using namespace frametest;

namespace {

class FormFrame : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        ids = {g_Store.Add("alpha", "甲", 1), g_Store.Add("beta", "乙", 2), g_Store.Add("gamma", "甲", 3)};
    }
    void Open(int nRow) { ASSERT_EQ(HandOverToForm(&g_Form, ids.data(), 3, nRow, "列表"), 0); }
    bool Nav(bool first, bool prev, bool next, bool last) {
        return Enabled(g_Form.m_hFirstButton) == first && Enabled(g_Form.m_hPrevButton) == prev &&
               Enabled(g_Form.m_hNextButton) == next && Enabled(g_Form.m_hLastButton) == last;
    }
    bool ReadOnly(HWND h) { return (GetWindowLongPtrA(h, GWL_STYLE) & ES_READONLY) != 0; }
    std::vector<ULONG> ids;
};

TEST_F(FormFrame, BrowseModeShowsTheRecordReadOnly) {
    Open(1);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(Text(g_Form.m_hName), "beta");
    EXPECT_TRUE(ReadOnly(g_Form.m_hName));
    EXPECT_TRUE(ReadOnly(g_Form.m_hNote));
    EXPECT_FALSE(Enabled(g_Form.m_hPrivate));
    EXPECT_FALSE(Enabled(g_Form.m_hCreated));
    EXPECT_TRUE(Enabled(g_Form.m_hEditButton));
    EXPECT_TRUE(Enabled(g_Form.m_hDeleteButton));
    EXPECT_FALSE(Enabled(g_Form.m_hSaveButton));
    EXPECT_TRUE(Enabled(g_Form.m_hMenuButtons[0])) << "the new-record entry works while browsing";
    EXPECT_TRUE(Nav(true, true, true, true));
}

TEST_F(FormFrame, EditAndNewModesUnlockTheirFields) {
    Open(0);
    Click(g_Form, kEdit);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_FALSE(ReadOnly(g_Form.m_hName));
    EXPECT_TRUE(Enabled(g_Form.m_hPrivate));
    EXPECT_FALSE(Enabled(g_Form.m_hCreated)) << "the creation date is set once";
    EXPECT_TRUE(ReadOnly(g_Form.m_hGroup)) << "a fixed field never opens";
    EXPECT_TRUE(Enabled(g_Form.m_hSaveButton));
    EXPECT_FALSE(Enabled(g_Form.m_hMenuButtons[0]));

    SendMessageA(g_Form.m_hWnd, UM_NEWRECORD, 0, 0);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(g_Form.m_hName), "");
    EXPECT_TRUE(Enabled(g_Form.m_hCreated));
    EXPECT_FALSE(Enabled(g_Form.m_hDeleteButton));
    EXPECT_EQ(g_Form.m_pulID, nullptr);
    EXPECT_EQ(g_Form.m_nIDCount, 0);
    EXPECT_TRUE(Nav(false, false, false, false));
}

TEST_F(FormFrame, SteppingStopsAtBothEndsAndWritesTheEntry) {
    Open(0);
    EXPECT_TRUE(Nav(false, false, true, true));
    Click(g_Form, kLast);
    EXPECT_EQ(g_Form.m_nRow, 2);
    EXPECT_EQ(Text(g_Form.m_hName), "gamma");
    EXPECT_TRUE(Nav(true, true, false, false));
    EXPECT_EQ(g_History.m_pCurrent->m_nParam, 2);
    EXPECT_EQ(g_History.m_pCurrent->m_nRecordID, ids[2]);
    Click(g_Form, kNext);  // nothing past the end
    EXPECT_EQ(g_Form.m_nRow, 2);
    Click(g_Form, kPrev);
    EXPECT_EQ(g_Form.m_ulRecordID, ids[1]);
}

TEST_F(FormFrame, TabMovesThroughTheCycleOfTheFieldTable) {
    Open(0);
    Click(g_Form, kEdit);
    EXPECT_EQ(g_Form.TabTarget(kName, FALSE), g_Form.m_hPrivate);
    EXPECT_EQ(g_Form.TabTarget(kName, TRUE), g_Form.m_hCreated);
    EXPECT_EQ(g_Form.TabTarget(kCreated, FALSE), g_Form.m_hName);
    EXPECT_EQ(g_Form.TabTarget(kGroup, FALSE), nullptr) << "a field outside the cycle";
    SetFocus(g_Form.m_hName);
    SendMessageA(g_Form.m_hName, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), g_Form.m_hPrivate);
    // From a check box the focus moves one field on, not two.
    SendMessageA(g_Form.m_hPrivate, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(GetFocus(), g_Form.m_hNote);
}

TEST_F(FormFrame, SavingAChangeReturnsToBrowse) {
    Open(1);
    Click(g_Form, kEdit);
    SetText(g_Form.m_hName, "beta2");
    Click(g_Form, kSave);
    EXPECT_EQ(g_Store.rows[ids[1]].name, "beta2");
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kBrowse);
    EXPECT_EQ(g_Form.m_nRow, 1);
    EXPECT_EQ(g_Form.m_nIDCount, 3);
}

TEST_F(FormFrame, AChangeToARecordThatIsGoneKeepsTheInput) {
    Open(1);
    Click(g_Form, kEdit);
    SetText(g_Form.m_hName, "lost?");
    g_Store.rows.erase(ids[1]);
    Click(g_Form, kSave);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_FALSE(g_Form.m_bFound);
    EXPECT_EQ(Text(g_Form.m_hName), "lost?");
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{g_szRecordMissing});
}

TEST_F(FormFrame, ASavedNewRecordIsShownWithoutAListInFormAndEntry) {
    Open(0);
    SendMessageA(g_Form.m_hWnd, UM_NEWRECORD, 0, 0);
    const int nEntries = g_History.Count();
    SetText(g_Form.m_hName, "delta");
    Click(g_Form, kSave);
    const ULONG ulNew = g_Form.m_ulRecordID;
    ASSERT_NE(ulNew, 0u);
    EXPECT_EQ(g_Store.rows[ulNew].name, "delta");
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kBrowse);
    // No list, so no position line; never a count without its array.
    EXPECT_EQ(g_Form.m_pulID, nullptr);
    EXPECT_EQ(g_Form.m_nIDCount, 0);
    EXPECT_EQ(g_Form.m_nRow, 0);
    EXPECT_EQ(g_History.Count(), nEntries + 1);
    const HistoryNode* pNode = g_History.m_pCurrent;
    EXPECT_EQ(pNode->m_nRecordID, ulNew);
    EXPECT_EQ(pNode->m_nIDCount, 0);
    EXPECT_EQ(pNode->m_pulID, nullptr);
    EXPECT_TRUE(Nav(false, false, false, false));
    // Stepping and a re-show keep the record, without a list.
    Click(g_Form, kLast);
    SendMessageA(g_Form.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ulNew);
    EXPECT_EQ(g_Form.m_ulRecordID, ulNew);
    EXPECT_EQ(g_Form.m_pulID, nullptr);
    EXPECT_TRUE(Nav(false, false, false, false));

    // Back to the entry current before the save (the form's, still naming the
    // record shown before UM_NEWRECORD) and Forward to the saved record again.
    Back();
    EXPECT_EQ(g_Form.m_ulRecordID, ids[0]);
    EXPECT_EQ(IDs(g_Form), ids);
    Forward();
    EXPECT_EQ(g_Form.m_ulRecordID, ulNew);
    EXPECT_EQ(g_Form.m_pulID, nullptr);
    EXPECT_EQ(Text(g_Form.m_hName), "delta");
}

TEST_F(FormFrame, AFailedAddStaysInTheNewModeWithTheInput) {
    ASSERT_EQ(HandOverToForm(&g_Form, nullptr, 0, -1, ""), 0);
    g_Form.failAdd = true;
    const int nEntries = g_History.Count();
    SetText(g_Form.m_hName, "kept");
    Click(g_Form, kSave);
    EXPECT_EQ(g_Form.CurrentMode(), RecordFormClass::kNew);
    EXPECT_EQ(Text(g_Form.m_hName), "kept");
    EXPECT_EQ(g_History.Count(), nEntries);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"add failed"});
}

TEST_F(FormFrame, ARecordThatCannotBeLoadedIsShownAsMissing) {
    g_Store.rows.erase(ids[2]);
    Open(2);
    EXPECT_FALSE(g_Form.m_bFound);
    EXPECT_FALSE(Enabled(g_Form.m_hEditButton));
    EXPECT_FALSE(Enabled(g_Form.m_hDeleteButton));
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"load failed"});
}

TEST_F(FormFrame, DeletingWithYesGoesBackAndWithNoStays) {
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    Open(0);
    Click(g_Form, kDelete);  // the question's default answer is No
    EXPECT_EQ(g_pCurrentDialog, &g_Form);
    EXPECT_EQ(g_Store.rows.count(ids[0]), 1u);
    w32test::SetMessageBoxHook([](const w32test::MessageBoxCall&) { return IDYES; });
    Click(g_Form, kDelete);
    EXPECT_EQ(g_Store.rows.count(ids[0]), 0u);
    EXPECT_EQ(g_pCurrentDialog, &g_List);
    // The form's entry no longer names the record.
    EXPECT_EQ(g_History.m_pCurrent->m_pNext->m_nRecordID, 0u);
}

TEST_F(FormFrame, AReShowKeepsTheRowAndARecordOutsideTheListIsAListOfOne) {
    Open(1);
    const int nEntries = g_History.Count();
    SendMessageA(g_Form.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ids[1]);
    EXPECT_EQ(g_Form.m_nRow, 1);
    EXPECT_EQ(g_Form.m_nIDCount, 3);
    SendMessageA(g_Form.m_hWnd, UM_SHOWRECORD, (WPARAM)-1, (LPARAM)ids[2]);
    EXPECT_EQ(IDs(g_Form), std::vector<ULONG>{ids[2]});
    EXPECT_EQ(g_Form.m_nRow, 0);
    EXPECT_EQ(g_History.Count(), nEntries);
    EXPECT_EQ(g_History.m_pCurrent->m_nIDCount, 1);
    EXPECT_TRUE(Nav(false, false, false, false));
}

TEST_F(FormFrame, BackRestoresListRowAndTitle) {
    Open(2);
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    g_Form.FreeIDArray();
    g_Form.lastRelating = FALSE;
    Back();
    EXPECT_EQ(g_pCurrentDialog, &g_Form);
    // The restored record names itself again for the relation dialogs.
    EXPECT_TRUE(g_Form.lastRelating);
    EXPECT_EQ(IDs(g_Form), ids);
    EXPECT_EQ(g_Form.m_nRow, 2);
    EXPECT_STREQ(g_Form.m_szTitle, "列表");
    EXPECT_EQ(Text(g_Form.m_hName), "gamma");
}

TEST_F(FormFrame, ARestoreWhoseRowDoesNotNameItsRecordShowsAListOfOne) {
    Open(1);
    HistoryNode* pNode = g_History.m_pCurrent;
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    pNode->m_nParam = 7;  // an entry written by an older form, say
    Back();
    EXPECT_EQ(g_Form.m_ulRecordID, ids[1]);
    EXPECT_EQ(IDs(g_Form), std::vector<ULONG>{ids[1]});
    EXPECT_EQ(g_Form.m_nRow, 0);
    EXPECT_TRUE(Nav(false, false, false, false));
    EXPECT_EQ(pNode->m_nIDCount, 1);

    // An entry without ids: no list, no stepping, the record still shown.
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    g_History.m_pCurrent = pNode;
    g_History.SetIDArray(nullptr, 0);
    g_History.m_pCurrent = pNode->m_pNext;
    Back();
    EXPECT_EQ(g_Form.m_pulID, nullptr);
    EXPECT_EQ(g_Form.m_nIDCount, 0);
    EXPECT_EQ(Text(g_Form.m_hName), "beta");
    EXPECT_TRUE(Nav(false, false, false, false));
    Click(g_Form, kFirst);
    EXPECT_EQ(g_Form.m_ulRecordID, ids[1]);
}

TEST_F(FormFrame, FieldHelpersMoveValuesWithoutLossWhateverTheLocale) {
    Open(0);
    Click(g_Form, kEdit);
    // Times and dates.
    TIME_STRUCT t = {13, 45, 0};
    SetPickerTime(g_Form.m_hTime, t);
    const TIME_STRUCT r = ReadPickerTime(g_Form.m_hTime);
    EXPECT_EQ(r.hour, 13);
    EXPECT_EQ(r.minute, 45);
    DATE_STRUCT d = {2024, 2, 29};
    SetPickerDate(g_Form.m_hCreated, d);
    const DATE_STRUCT e = ReadPickerDate(g_Form.m_hCreated);
    EXPECT_EQ(e.year, 2024);
    EXPECT_EQ(e.month, 2);
    EXPECT_EQ(e.day, 29);
    // Amounts: a whole number, white space around it, two decimals out;
    // nothing but white space is 0.
    double fAmount = -1;
    for (const auto& [text, value] : std::vector<std::pair<std::string, double>>{
             {" +1.5e3 ", 1500.0}, {"\v\f\r 7\t", 7.0}, {"0x1A.8", 26.5}, {"1e-400", 0.0}, {" ", 0.0}}) {
        SetText(g_Form.m_hName, text);
        EXPECT_EQ(ReadAmount(g_Form.m_hName, "x", &fAmount), 0) << text;
        EXPECT_DOUBLE_EQ(fAmount, value) << text;
    }
    for (const char* text :
         {"-inf", "NaN(1)", "infinity", "1e400", "0x1p2000", "1.5e3 元", "abc", "+-5", "0x", ".5.5"}) {
        SetText(g_Form.m_hName, text);
        EXPECT_EQ(ReadAmount(g_Form.m_hName, "x", &fAmount), -1) << text;
    }
    TakeBoxes();
    WriteAmount(g_Form.m_hName, 12.345);
    EXPECT_EQ(Text(g_Form.m_hName), "12.35");
    // Texts are cut on a character boundary.
    SetText(g_Form.m_hName, "ab中文");
    char sz[5];
    ReadText(g_Form.m_hName, sz, sizeof(sz));
    EXPECT_STREQ(sz, "ab中");
    // A lookup combo shows and selects a value its table no longer holds.
    const char names[2][50] = {"高", "低"};
    FillCombo(g_Form.m_hKind, names, 2, "旧值");
    EXPECT_EQ(SendMessageA(g_Form.m_hKind, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Text(g_Form.m_hKind), "旧值");
    FillCombo(g_Form.m_hKind, names, 2, "低");
    EXPECT_EQ(SendMessageA(g_Form.m_hKind, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(g_Form.m_hKind, CB_GETCURSEL, 0, 0), 1);
    // The frame clears every kind of field.
    g_Form.ClearForm();
    EXPECT_EQ(Text(g_Form.m_hName), "");
    EXPECT_EQ(SendMessageA(g_Form.m_hKind, CB_GETCURSEL, 0, 0), -1);
}

TEST(IDLists, FreeAndCopyKeepTheCountZeroWheneverTheArrayIsNull) {
    ULONG* p = nullptr;
    int n = 5;
    FreeIDs(p, n);
    EXPECT_EQ(n, 0);
    const ULONG from[2] = {7, 8};
    ASSERT_EQ(CopyIDs(p, n, from, 2), 0);
    EXPECT_EQ(n, 2);
    EXPECT_NE(p, from);
    EXPECT_EQ(p[1], 8u);
    ASSERT_EQ(CopyIDs(p, n, nullptr, 3), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(n, 0);
    ASSERT_EQ(CopyIDs(p, n, from, -1), 0);
    EXPECT_EQ(n, 0);
    IDListOwner owner;
    owner.CopyIDArray(from, 2);
    EXPECT_TRUE(owner.HasRow(1));
    EXPECT_FALSE(owner.HasRow(2));
    owner.FreeIDArray();
    EXPECT_EQ(owner.m_nIDCount, 0);
    EXPECT_FALSE(owner.HasRow(0));
}

// A data object that holds fewer rows than its query counted.
class ShortSource : public RowSource {
public:
    std::vector<ULONG> rows;
    size_t at = 0;
    BOOL FirstRow() override { return (at = 0) < rows.size(); }
    BOOL NextRow() override { return ++at < rows.size(); }
    ULONG RowID() override { return rows[at]; }
    void RowText(int nColumn, char* pszBuf, int nSize) override {
        snprintf(pszBuf, (size_t)nSize, "r%u", (unsigned)rows[at]);
    }
};

TEST(IDLists, FillingAtTheTopKeepsOnlyTheRowsWritten) {
    StartFresh();
    SwitchViewAlways(&g_List, UM_OPENVIEW);
    ListViewClass& list = g_List.m_ListView;
    ULONG* p = nullptr;
    int n = 0;
    ShortSource src;
    src.rows = {4, 5};
    const FillTexts texts = {"ids", "none"};
    EXPECT_EQ(FillListAtTop(list, 1, p, n, 4, src, texts), 2);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(p[0], 5u);
    EXPECT_EQ(p[1], 4u);
    EXPECT_EQ(RowCount(list), 2);
    EXPECT_EQ(Cell(list, 0, 0), "r5");

    // A count with no rows to walk: empty, with the box.
    src.rows.clear();
    EXPECT_EQ(FillListAtTop(list, 1, p, n, 3, src, texts), 0);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(RowCount(list), 0);
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"none"});
}

}  // namespace
