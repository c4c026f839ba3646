#include "tests/shell/frames/FramePages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/gbk/gbk.h"
#include "shell/HistoryClass.h"
#include "shell/ViewSwitch.h"
#include "win32_testhooks.h"

namespace frametest {

Store g_Store;
TestListPage g_List;
TestCategoryPage g_Categories;
TestCategoryPage g_KeepCategories(TRUE);
TestDatePage g_Dates;
TestStartPage g_Start;
TestForm g_Form;
TestMenuPage g_MenuPage;
TestListPage g_SpareList;

const FormFieldDef kMenuPageFields[3] = {
    {kFieldEdit, kName, 300, 100, 200, 20, WS_BORDER, 9, nullptr, kFieldInTabCycle},
    {kFieldMemo, kNote, 300, 130, 200, 60, WS_BORDER | ES_MULTILINE, 0, nullptr, kFieldInTabCycle},
    {kFieldButton, kSave, 300, 200, 60, 20, 0, 0, "保存", kFieldInTabCycle},
};

namespace {

// The spare list page is in the view table, its window made by its tests.
BaseDialogClass* const kViews[] = {&g_Start, &g_List,           &g_Categories, &g_Dates,
                                   &g_Form,  &g_KeepCategories, &g_MenuPage,   &g_SpareList};
const char* const kClasses[] = {"FrameTestStart", "FrameTestList",           "FrameTestCategories", "FrameTestDates",
                                "FrameTestForm",  "FrameTestKeepCategories", "FrameTestMenu"};
constexpr int kViewCount = 8;
constexpr int kMadeViews = 7;
HWND s_hMain = nullptr;

int GoToList() { return SwitchViewAlways(&g_List, UM_OPENVIEW); }
int GoToCategories() { return SwitchViewGuarded(&g_Categories, UM_OPEN_IMPORTANT); }
int GoToNew() { return SwitchViewAlways(&g_Form, UM_NEWRECORD); }

PageMenu Menu() {
    static const PageLinkDef kLinks[3] = {
        {kMenu0, "新记录", GoToNew}, {kMenu0 + 1, "全部", GoToList}, {kMenu0 + 2, "分类", GoToCategories}};
    return MakePageMenu(kLinks, 3, nullptr);
}

const ListColumnDef kColumns[3] = {{"名称", 150}, {"分类", 100}, {"日", 80}};

const ListPageTexts kTexts = {"ids failed", "no rows"};

KeywordPageDef ListDef() {
    return {kSearchEdit,
            kSearch,
            kList,
            kExport,
            kHelp,
            Menu(),
            "共%d条",
            "关键字=\"%s\"共%d条",
            "list failed",
            "全部记录",
            LVCF_FMT | LVCF_WIDTH | LVCF_TEXT,
            FALSE};
}

CategoryPageDef CategoryDef(BOOL bKeepRows) {
    CategoryPageDef def = {};
    def.uOpenMessage = bKeepRows ? UM_OPEN_INDUSTRY : UM_OPEN_IMPORTANT;
    def.bKeepRows = bKeepRows;
    def.nSearchEditID = kSearchEdit;
    def.nSearchID = kSearch;
    def.nCategoryListID = kCategories;
    def.nExportID = kExport;
    def.nRecordListID = kList;
    def.nHelpID = kHelp;
    def.menu = Menu();
    def.categoryColumns[0] = {"分类", 150};
    def.categoryColumns[1] = {"数量", 100};
    def.nCategoryColumns = 2;
    def.pszTopLine = "按分类";
    def.pszTitleFormat = "分类=\"%s\"";
    def.pszQueryError = "category failed";
    def.pszCountError = "count failed";
    def.pExportFont = &BaseDialogClass::m_hFont;
    return def;
}

const DateRowDef kDateRows[2] = {
    {kRow1From, kRow1To, kRow1Find, 45, "之间", "days failed"},
    {kRow2From, 0, kRow2Find, 75, "以后", "since failed"},
};

DatePageDef DateDef() {
    return {UM_OPEN_DATE, kSearchEdit, kSearch, kList, kExport, kHelp, Menu(),    kDateRows, 2,
            "按日期",     "双击记录",  110,     108,   130,     300,   "日期查询"};
}

StartPageDef StartDef() {
    return {TB_HOMEPAGE, kSearchEdit, kSearch, kHelp, Menu(), "", 0, 0, 0, 0, nullptr, 0, &g_List, g_List.m_szKeyword};
}

const FormFieldDef kFields[] = {
    {kFieldEdit, kName, 240, 65, 300, 20, kEditFieldStyle, 19, nullptr, kFieldInTabCycle},
    {kFieldCheck, kPrivate, 560, 65, 60, 20, kCheckFieldStyle, 0, "私有", kFieldInTabCycle},
    {kFieldMemo, kNote, 240, 90, 400, 80, kMemoFieldStyle, 0, nullptr, kFieldInTabCycle},
    {kFieldDate, kCreated, 240, 180, 105, 20, WS_TABSTOP, 0, nullptr, kFieldInTabCycle | kFieldCreation},
    {kFieldEdit, kGroup, 400, 180, 100, 20, WS_BORDER, 0, nullptr, kFieldFixed},
    {kFieldTime, kTime, 520, 180, 100, 20, kTimeFieldStyle, 0, nullptr, 0},
    {kFieldCombo, kKind, 640, 180, 100, 200, kComboFieldStyle, 0, nullptr, 0},
    {kFieldEdit, kLink, 240, 210, 100, 20, WS_BORDER, 0, nullptr, kFieldFixed | kFieldDoubleClick},
    {kFieldButton, kAction, 360, 210, 40, 20, 0, 0, "...", 0},
};
const FormLabelDef kLabels[] = {{166, 67, "名称:"}};

RecordFormDef FormDef() {
    RecordFormDef def = {};
    def.nButton = TB_OPPORTUNITIES;
    def.nSearchEditID = kSearchEdit;
    def.nSearchID = kSearch;
    def.nHelpID = kHelp;
    def.menu = Menu();
    def.ids = {kSave, kCancel, kEdit, kDelete, kFirst, kPrev, kNext, kLast};
    def.pFields = kFields;
    def.nFields = (int)(sizeof(kFields) / sizeof(kFields[0]));
    def.pLabels = kLabels;
    def.nLabels = 1;
    def.texts = {"load failed", "add failed", "change failed", "ids failed"};
    def.pListPage = &g_List;
    def.pszListKeyword = g_List.m_szKeyword;
    return def;
}

LRESULT CALLBACK MainProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

void MakeWindow() {
    HINSTANCE hInst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = hInst;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "FrameTestMain";
    RegisterClassA(&wc);
    s_hMain = CreateWindowExA(0, "FrameTestMain", "frames", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 900, nullptr, nullptr,
                              hInst, nullptr);
    ASSERT_NE(s_hMain, nullptr);
    BaseDialogClass::SetViewTable(kViews, kViewCount);
    for (int i = 0; i < kMadeViews; i++) ASSERT_EQ(kViews[i]->CreateDialog(hInst, s_hMain, kClasses[i], 0), 0);
    ShowWindow(s_hMain, SW_SHOW);
    for (int i = 0; i < kMadeViews; i++) kViews[i]->ResizeDialog(s_hMain);
}

}  // namespace

// --- the in-memory data object -------------------------------------------

ULONG Store::Add(const std::string& name, const std::string& group, int day) {
    const ULONG id = nextID++;
    rows[id] = {id, name, group, day};
    return id;
}

int Store::Finish() {
    queries++;
    if (failNext) {
        failNext = false;
        result.clear();
        return -1;
    }
    std::stable_sort(result.begin(), result.end(), [this](const Row& a, const Row& b) {
        const int c = sortColumn == 0   ? a.name.compare(b.name)
                      : sortColumn == 1 ? a.group.compare(b.group)
                                        : a.day - b.day;
        return desc ? c > 0 : c < 0;
    });
    return (int)result.size();
}

int Store::Query(bool bKeyword) {
    result.clear();
    for (const auto& [id, r] : rows)
        if (!bKeyword || r.name.find(keyword) != std::string::npos) result.push_back(r);
    return Finish();
}

int Store::QueryGroup(const std::string& group) {
    result.clear();
    for (const auto& [id, r] : rows)
        if (r.group == group) result.push_back(r);
    return Finish();
}

int Store::QueryDays(int from, int to) {
    result.clear();
    for (const auto& [id, r] : rows)
        if (r.day >= from && r.day <= to) result.push_back(r);
    return Finish();
}

// --- the pages ----------------------------------------------------------------

BOOL TestListBase::FirstRow() {
    m_nCursor = g_Store.result.empty() ? -1 : 0;
    return m_nCursor >= 0;
}

BOOL TestListBase::NextRow() {
    if (m_nCursor >= 0 && ++m_nCursor >= (int)g_Store.result.size()) m_nCursor = -1;
    return m_nCursor >= 0;
}

ULONG TestListBase::RowID() { return m_nCursor >= 0 ? g_Store.result[(size_t)m_nCursor].id : 0; }

void TestListBase::RowText(int nColumn, char* pszBuf, int nSize) {
    const Row& r = g_Store.result[(size_t)m_nCursor];
    const std::string s = nColumn == 0 ? r.name : nColumn == 1 ? r.group : std::to_string(r.day);
    gbk::CopyCut(pszBuf, (size_t)nSize, s.c_str());
}

RecordFormClass* TestListBase::RecordForm() { return &g_Form; }
const ListPageTexts& TestListBase::Texts() const { return kTexts; }

void TestListBase::SearchOnModuleListPage(HWND hEdit) { SearchOnListPage(&g_List, g_List.m_szKeyword, hEdit); }

void TestListBase::CreateTestList(HWND hWnd, int nID, int y, int h, int nBlankWidth) {
    CreateRecordList(hWnd, nID, 167, y, 850, h, kColumns, 3, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, nBlankWidth);
    CreateMailButton(hWnd, kMail, y - 22, m_hFontArial);
}

TestListPage::TestListPage() : KeywordListPage<TestListBase>(ListDef()) {}

int TestListPage::QueryList(int nMode) {
    if (nMode != 2) m_nLastMode = nMode;
    return g_Store.Query(m_nLastMode == 1);
}

void TestListPage::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) g_Store.desc = !g_Store.desc;
    g_Store.sortColumn = nColumn;
}

TestCategoryPage::TestCategoryPage(BOOL bKeepRows) : CategoryStatPage<TestListBase>(CategoryDef(bKeepRows)) {}

void TestCategoryPage::CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const {
    int n = 0;
    for (const auto& [id, r] : g_Store.rows) n += r.group == categories[(size_t)i] ? 1 : 0;
    snprintf(pszBuf, (size_t)nSize, "%d", n);
}

void TestCategoryPage::PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) {
    if (bToggle) g_Store.desc = !g_Store.desc;
    g_Store.sortColumn = nColumn;
}

TestDatePage::TestDatePage() : DateStatPage<TestListBase>(DateDef()) {}

int TestDatePage::QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return nKind == 1 ? g_Store.QueryDays(stFrom.wDay, stTo.wDay) : g_Store.QueryDays(stFrom.wDay, 99);
}

void TestDatePage::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) g_Store.desc = !g_Store.desc;
    g_Store.sortColumn = nColumn;
}

TestStartPage::TestStartPage() : StartPageClass(StartDef()) {}

void TestMenuPage::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    CreateMenuControls(hWnd, Menu(), 300, kHelp);
    for (int i = 0; i < 3; i++) m_hFields[i] = MakeField(hWnd, m_hInstance, m_hFont, kMenuPageFields[i]);
}

LRESULT TestMenuPage::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == UM_OPENVIEW) {
        AppendHistoryNode();
        return 0;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}

TestForm::TestForm() : RecordFormClass(FormDef()) {}

void TestForm::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    RecordFormClass::InitDialog(hWnd);
    m_hName = Field(kName);
    m_hNote = Field(kNote);
    m_hPrivate = Field(kPrivate);
    m_hCreated = Field(kCreated);
    m_hGroup = Field(kGroup);
    m_hTime = Field(kTime);
    m_hKind = Field(kKind);
}

int TestForm::LoadRecord(ULONG ulID, BOOL bRelating) {
    loads++;
    lastRelating = bRelating;
    auto it = g_Store.rows.find(ulID);
    if (it == g_Store.rows.end()) return -1;
    SetWindowTextA(m_hName, it->second.name.c_str());
    SetWindowTextA(m_hGroup, it->second.group.c_str());
    return 0;
}

int TestForm::FormToRecord() {
    char sz[64];
    ReadText(m_hName, sz, sizeof(sz));
    m_strPending = sz;
    return 0;
}

int TestForm::AddRecord(ULONG* pulNewID) {
    if (failAdd) return -1;
    *pulNewID = g_Store.Add(m_strPending, "甲", 1);
    return 0;
}

int TestForm::ChangeRecord(ULONG ulID) {
    auto it = g_Store.rows.find(ulID);
    if (it == g_Store.rows.end()) return -100;
    it->second.name = m_strPending;
    return 0;
}

int TestForm::DeleteRecord(ULONG ulID) { return g_Store.rows.erase(ulID) ? 0 : -1; }

// --- the window and the helpers ---------------------------------------------------

HWND MainWindow() { return s_hMain; }

void StartFresh() {
    w32test::ClearHooks();
    if (!s_hMain) MakeWindow();
    g_Store = Store();
    g_Form.failAdd = false;
    g_MenuPage.helpClicks = 0;
    g_Form.refills = 0;
    g_Form.doubleClicks.clear();
    g_List.m_nLastSortColumn = -1;
    g_List.sortable = TRUE;
    g_Dates.m_nLastSortColumn = 0;
    g_Dates.m_nKind = 0;
    for (TestCategoryPage* p : {&g_Categories, &g_KeepCategories}) {
        p->m_nLastSortColumn = 0;
        p->m_nCategory = 0;
        p->categories = {"甲", "乙"};
        p->failCount = false;
    }
    for (TestListBase* p : {(TestListBase*)&g_List, (TestListBase*)&g_Categories, (TestListBase*)&g_Dates,
                            (TestListBase*)&g_KeepCategories}) {
        p->mailHandOvers = 0;
        p->keepTitle = FALSE;
        if (p->m_bInit) p->EmptyRecordList();
    }
    for (BaseDialogClass* p : kViews)
        if (p != &g_Start && IsWindowVisible(p->m_hWnd)) p->HideDialog();
    g_Start.ShowDialog();
    g_pCurrentDialog = &g_Start;
    g_History.FreeAll();
    g_History.AllocHead();
    g_History.m_pHead->m_pView = &g_Start;
    w32test::ClearMessageBoxes();
}

int RowCount(ListViewClass& list) { return list.GetItemCount(); }

std::string Cell(ListViewClass& list, int row, int column) {
    char sz[256] = "";
    list.GetItemText(row, column, sz, sizeof(sz));
    return sz;
}

std::vector<ULONG> IDs(const IDListOwner& owner) {
    return owner.m_pulID ? std::vector<ULONG>(owner.m_pulID, owner.m_pulID + owner.m_nIDCount) : std::vector<ULONG>();
}

void ClickColumn(BaseDialogClass& page, ListViewClass& list, int column) {
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = list.m_hListView;
    nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(list.m_hListView);
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = column;
    SendMessageA(page.m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

static void SendRowNotify(BaseDialogClass& page, ListViewClass& list, int row, UINT code) {
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = list.m_hListView;
    nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID(list.m_hListView);
    nm.hdr.code = code;
    nm.iItem = row;
    SendMessageA(page.m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void DoubleClickRow(BaseDialogClass& page, ListViewClass& list, int row) { SendRowNotify(page, list, row, NM_DBLCLK); }
void ClickRow(BaseDialogClass& page, ListViewClass& list, int row) { SendRowNotify(page, list, row, NM_CLICK); }

void Click(BaseDialogClass& page, int id) { SendMessageA(page.m_hWnd, WM_COMMAND, (WPARAM)id, 0); }

void PressEnter(HWND hEdit) { SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 0); }

std::string Text(HWND h) {
    char sz[512] = "";
    GetWindowTextA(h, sz, sizeof(sz));
    return sz;
}

void SetText(HWND h, const std::string& text) { SetWindowTextA(h, text.c_str()); }
bool Enabled(HWND h) { return IsWindowEnabled(h) != FALSE; }
void Back() { MoveInHistory(-1); }
void Forward() { MoveInHistory(+1); }

std::vector<std::string> TakeBoxes() {
    std::vector<std::string> texts;
    for (const auto& b : w32test::MessageBoxes()) texts.push_back(b.text);
    w32test::ClearMessageBoxes();
    return texts;
}

}  // namespace frametest
