#include "Opp_CategoryStatClass.h"

#include <cstdio>

#include "ToolbarClass.h"
#include "gbk.h"

Opp_CategoryStatClass::Opp_CategoryStatClass(const OppCategoryPageDef& def)
    : Opp_ListPageClass(0), m_nCategory(0), m_Def(def) {}

int Opp_CategoryStatClass::CategoryCount() const {
    const int n = m_Def.bPhase ? m_Opp.m_nPhase : m_Opp.m_nImportant;
    const int nMax = m_Def.bPhase ? (int)Opp_DetailClass::MAX_PHASE : (int)Opp_DetailClass::MAX_IMPORTANT;
    const int nCap = nMax < (int)Opp_DetailClass::MAX_CATEGORY ? nMax : (int)Opp_DetailClass::MAX_CATEGORY;
    return n < 0 ? 0 : (n > nCap ? nCap : n);
}

const char* Opp_CategoryStatClass::CategoryName(int i) const {
    if (i < 0 || i >= CategoryCount()) return "";
    return m_Def.bPhase ? m_Opp.m_szPhase[i] : m_Opp.m_szImportant[i];
}

void Opp_CategoryStatClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    MakeOppMenu(m_Links, m_Def.nMenuIDs);
    CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.pfnSearchEditProc, m_Def.ppfnOldSearchEdit,
                        m_Links, 5, m_Def.nHelpID);

    m_CategoryList.Create(m_hInstance, hWnd, 167, 40, 850, 150,
                          WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, m_Def.nCategoryListID);
    m_CategoryList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    m_CategoryList.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
    m_CategoryList.InsertColumn(m_Def.pszCategoryCaption, 150);
    m_CategoryList.InsertColumn("销售机会数量", 150);
    m_CategoryList.InsertColumn("预计销售额", m_Def.nSumWidth);
    SendMessageA(m_CategoryList.m_hListView, WM_SETFONT, (WPARAM)m_hFont, 0);
    m_CategoryList.InitItem();

    CreateExportButton(hWnd, m_Def.nExportID, 198, m_hFont);
    CreateOppRecordList(hWnd, m_Def.nRecordListID, 220, 390, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
    LoadExportMenu();
    m_bHover = 0;
}

void Opp_CategoryStatClass::HandOverTitle(char* pszBuf, int nSize) {
    snprintf(pszBuf, (size_t)nSize, m_Def.pszTitleFormat, CategoryName(m_nCategory));
}

int Opp_CategoryStatClass::CountCategories() {
    const int nResult = m_Def.bPhase ? m_Opp.cod_CountByPhase() : m_Opp.cod_CountByImportant();
    if (nResult == -1) MessageBoxA(nullptr, g_szOppQueryError, TARVEL_CAPTION, MB_OK);
    return nResult;
}

void Opp_CategoryStatClass::FillCategoryList() {
    char szCell[64];
    const int n = CategoryCount();
    for (int i = 0; i < n; i++) {
        m_CategoryList.InsertItem(0, CategoryName(i));
        snprintf(szCell, sizeof(szCell), "%d", m_Opp.m_iCount[i]);
        m_CategoryList.SetItemText(0, 1, szCell);
        snprintf(szCell, sizeof(szCell), "%.2f", (double)m_Opp.m_fSum[i]);
        m_CategoryList.SetItemText(0, 2, szCell);
    }
}

void Opp_CategoryStatClass::ListCategory() {
    if (m_nCategory < 0 || m_nCategory >= CategoryCount()) {
        EmptyRecordList();
        return;
    }
    const char* pszName = CategoryName(m_nCategory);
    const int nResult = m_Def.bPhase ? m_Opp.cod_GetByPhase(pszName) : m_Opp.cod_GetByImportant(pszName);
    ShowQueryResult(nResult, g_szOppQueryError);
    m_Opp.cod_FreeList();
}

LRESULT Opp_CategoryStatClass::OnOpen() {
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    if (!m_bInit) return 0;
    AppendHistoryNode();
    m_CategoryList.DeleteAllItems();
    EmptyRecordList();
    m_Opp.cod_FreeList();
    CountCategories();
    SetWindowTextA(m_hSearchEdit, "");
    FillCategoryList();
    return 0;
}

void Opp_CategoryStatClass::OnCategoryClick(int nRow) {
    if (nRow < 0) return;
    const int n = CategoryCount();
    if (nRow >= n) return;
    m_Opp.cod_FreeList();
    EmptyRecordList();
    m_nCategory = n - 1 - nRow;
    if (HistoryNode* pNode = OwnHistoryNode()) {
        pNode->m_nKind = 1;
        pNode->m_nParam = m_nCategory;
    }
    ListCategory();
}

LRESULT Opp_CategoryStatClass::OnSortList(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1) m_Opp.m_bDesc = !m_Opp.m_bDesc;
    m_Opp.m_iSortColumn = (int)lParam;
    m_Opp.cod_FreeList();
    if (m_nCategory < 0 || m_nCategory >= CategoryCount()) return 0;
    m_Opp.m_iQueryMode = 2;
    ListCategory();
    return 0;
}

LRESULT Opp_CategoryStatClass::OnRestoreView() {
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    m_CategoryList.DeleteAllItems();
    EmptyRecordList();
    m_Opp.cod_FreeList();
    CountCategories();
    FillCategoryList();
    HistoryNode* pNode = OwnHistoryNode();
    if (pNode && pNode->m_nKind == 1) {
        // The lookup table may have changed since: an index past today's
        // categories lists nothing.
        m_nCategory = pNode->m_nParam;
        ListCategory();
    }
    return 0;
}

void Opp_CategoryStatClass::OnPaint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    PaintLeftPanel(hdc);
    PaintText(hdc, 166, 16, m_Def.pszTopLine);
    PaintText(hdc, 166, 200, "用鼠标双击下面的记录可显示详细内容，点击列表标题栏，可重新排序。");
    EndPaint(hWnd, &ps);
}

LRESULT Opp_CategoryStatClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == m_Def.uOpenMessage) return OnOpen();
    switch (uMsg) {
    case UM_RESTOREVIEW: return OnRestoreView();
    case UM_SORTLIST: return OnSortList(wParam, lParam);
    case WM_PAINT: OnPaint(hWnd); return 0;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->hwndFrom == m_CategoryList.m_hListView) {
            LeaveHover();
            if (pHdr->code == NM_CUSTOMDRAW) return m_CategoryList.OnCustomDraw((NMLVCUSTOMDRAW*)lParam);
            if (pHdr->code == NM_CLICK) OnCategoryClick(((const NMITEMACTIVATE*)lParam)->iItem);
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        if ((int)wParam == m_Def.nSearchID) {
            SearchOnOppHomepage();
            return 0;
        }
        break;
    default: break;
    }
    LRESULT lResult = 0;
    if (ListFrameMessage(hWnd, uMsg, wParam, lParam, &lResult)) return lResult;
    if (uMsg == WM_COMMAND) return 0;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
