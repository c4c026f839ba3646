// Small pages built on the view framework alone, with their records in
// memory, for the frames' contract tests: a list page with keyword search, a
// category page, a date page, a start page and a record form, in a test main
// window of their own. No page of the program takes part.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "shell/CategoryStatPage.h"
#include "shell/DateStatPage.h"
#include "shell/KeywordListPage.h"
#include "shell/RecordFormClass.h"
#include "shell/StartPageClass.h"

namespace frametest {

struct Row {
    ULONG id;
    std::string name;   // column 0 (GBK)
    std::string group;  // column 1: the category
    int day;            // column 2: a day number the date page queries by
};

// The records and the query switches the pages share: an in-memory data
// object. A query leaves its result in `result`, in query order.
struct Store {
    std::map<ULONG, Row> rows;
    ULONG nextID = 1;
    std::vector<Row> result;
    char keyword[50] = "";
    int sortColumn = 0;
    bool desc = false;
    bool failNext = false;  // the next query returns -1
    int queries = 0;

    ULONG Add(const std::string& name, const std::string& group, int day);
    // All rows (or those whose name holds the keyword) sorted; -1 when failNext.
    int Query(bool bKeyword);
    int QueryGroup(const std::string& group);
    int QueryDays(int from, int to);

private:
    int Finish();
};
extern Store g_Store;

// Control ids of the test pages (one window each, so they may repeat).
enum {
    kSearchEdit = 100,
    kSearch,
    kHelp,
    kList,
    kExport,
    kCategories,
    kMenu0,
    kMail = 150,
    kRow1From = 200,
    kRow1To,
    kRow1Find,
    kRow2From,
    kRow2Find,
    kSave = 300,
    kCancel,
    kEdit,
    kDelete,
    kFirst,
    kPrev,
    kNext,
    kLast,
    kName,
    kNote,
    kPrivate,
    kCreated,
    kGroup,
    kTime,
    kKind,
    kLink,    // a fixed field that answers double clicks
    kAction,  // a push-button field
};

// The module base of the test pages.
class TestListBase : public ListPageClass {
public:
    explicit TestListBase(int nLastSortColumn) : ListPageClass(nLastSortColumn) {}
    using ListPageClass::HandOver;
    int mailHandOvers = 0;   // clicks on 邮件群发
    BOOL keepTitle = FALSE;  // a double click hands over no title
    BOOL sortable = TRUE;    // what Sortable answers

protected:
    BOOL FirstRow() override;
    BOOL NextRow() override;
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    RecordFormClass* RecordForm() override;
    const ListPageTexts& Texts() const override;
    int ModuleButton() const override { return TB_OPPORTUNITIES; }
    void SearchOnModuleListPage(HWND hEdit) override;
    void FreeRows() override { m_nCursor = -1; }
    void HandOverToMail() override { mailHandOvers++; }
    BOOL KeepsFormTitle() const override { return keepTitle; }
    BOOL Sortable() const override { return sortable; }
    void CreateTestList(HWND hWnd, int nID, int y, int h, int nBlankWidth = 0);

    int m_nCursor = -1;
};

class TestListPage : public KeywordListPage<TestListBase> {
public:
    TestListPage();

protected:
    // With a blank last column.
    void CreateKeywordRecordList(HWND hWnd, int nID) override { CreateTestList(hWnd, nID, 40, 500, 60); }
    char* DataKeyword() override { return g_Store.keyword; }
    int QueryList(int nMode) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;

    int m_nLastMode = 0;
};

class TestCategoryPage : public CategoryStatPage<TestListBase> {
public:
    // bKeepRows: the record rows stay from one opening to the next.
    explicit TestCategoryPage(BOOL bKeepRows = FALSE);
    std::vector<std::string> categories = {"甲", "乙"};
    bool failCount = false;  // the counting query fails
    using ListPageClass::m_bListEndsHover;
    int CategoryCount() const override { return (int)categories.size(); }
    const char* CategoryName(int i) const override { return categories[(size_t)i].c_str(); }

protected:
    void CreateCategoryRecordList(HWND hWnd, int nID) override { CreateTestList(hWnd, nID, 220, 300); }
    int CountCategories() override { return failCount ? -1 : 0; }
    void CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const override;
    int QueryCategory(const char* pszName) override { return g_Store.QueryGroup(pszName); }
    void PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) override;
};

class TestDatePage : public DateStatPage<TestListBase> {
public:
    TestDatePage();

protected:
    void CreateDateRecordList(HWND hWnd, int nID, int y, int h) override { CreateTestList(hWnd, nID, y, h); }
    int QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) override;
    void PrepareSort(BOOL bToggle, int nColumn) override;
};

class TestStartPage : public StartPageClass {
public:
    TestStartPage();
};

class TestForm : public RecordFormClass {
public:
    TestForm();
    void InitDialog(HWND hWnd) override;
    using RecordFormClass::OnFieldCommand;

    HWND m_hName = nullptr, m_hNote = nullptr, m_hPrivate = nullptr, m_hCreated = nullptr, m_hGroup = nullptr;
    HWND m_hTime = nullptr, m_hKind = nullptr;
    bool failAdd = false;
    int loads = 0;
    int refills = 0;                // RefillLookups calls
    std::vector<int> doubleClicks;  // ids of the fields double-clicked
    BOOL lastRelating = FALSE;      // the bRelating of the latest load

protected:
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    int FormToRecord() override;
    int AddRecord(ULONG* pulNewID) override;
    int ChangeRecord(ULONG ulID) override;
    int DeleteRecord(ULONG ulID) override;
    void RefillLookups() override { refills++; }
    void OnFieldDoubleClick(int nID) override { doubleClicks.push_back(nID); }

    std::string m_strPending;
};

// A page with the left menu alone (no quick search), its own answer to the
// help link and a field table of an edit, a memo and a push button.
class TestMenuPage : public PageFrameClass {
public:
    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    int helpClicks = 0;
    HWND m_hFields[3] = {};

protected:
    void OnHelpLink() override { helpClicks++; }
};

extern TestListPage g_List;
extern TestCategoryPage g_Categories;
extern TestCategoryPage g_KeepCategories;  // opened by UM_OPEN_INDUSTRY
extern TestDatePage g_Dates;
extern TestStartPage g_Start;
extern TestForm g_Form;
extern TestMenuPage g_MenuPage;
// A list page in the view table whose window no page switch makes: its tests
// make and destroy it.
extern TestListPage g_SpareList;
// The menu page's fields, in Tab order.
extern const FormFieldDef kMenuPageFields[3];

// Makes the test main window and the pages once; every call empties the
// store, resets the pages' state, shows the start page with one history
// entry and clears the message boxes.
void StartFresh();
HWND MainWindow();

// A fresh start with three records in the store: alpha (甲, 3), beta (乙, 5)
// and gamma (甲, 9), added in that order.
class ThreeRecords : public ::testing::Test {
protected:
    void SetUp() override {
        StartFresh();
        a = g_Store.Add("alpha", "甲", 3);
        b = g_Store.Add("beta", "乙", 5);
        c = g_Store.Add("gamma", "甲", 9);
    }
    ULONG a = 0, b = 0, c = 0;
};

// Helpers that drive a page as its controls would.
int RowCount(ListViewClass& list);
std::string Cell(ListViewClass& list, int row, int column);
std::vector<ULONG> IDs(const IDListOwner& owner);
void ClickColumn(BaseDialogClass& page, ListViewClass& list, int column);
void DoubleClickRow(BaseDialogClass& page, ListViewClass& list, int row);
void ClickRow(BaseDialogClass& page, ListViewClass& list, int row);
void Click(BaseDialogClass& page, int id);
void PressEnter(HWND hEdit);
std::string Text(HWND h);
void SetText(HWND h, const std::string& text);
bool Enabled(HWND h);
void Back();
void Forward();
std::vector<std::string> TakeBoxes();

}  // namespace frametest
