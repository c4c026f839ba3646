#include "Opp_HomepageDialogClass.h"

#include <cstdio>
#include <cstring>

#include "ToolbarClass.h"
#include "gbk.h"
#include "resources/opportunities_ids.h"

Opp_HomepageDialogClass g_Opp_Homepage;

namespace {
WNDPROC g_pfnOldSearchEdit_OppHomepage = nullptr;
const int kMenuIDs[5] = {IDC_OPPH_MENU0, IDC_OPPH_MENU1, IDC_OPPH_MENU2, IDC_OPPH_MENU3, IDC_OPPH_MENU4};
}  // namespace

LRESULT CALLBACK SearchEditProc_OppHomepage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (PageFrameClass::IsEnterInEdit(hWnd, uMsg, wParam, IDC_OPPH_SEARCH_EDIT)) {
        g_Opp_Homepage.ReadSearchText(g_Opp_Homepage.m_szKeyword);
        SendMessageA(g_Opp_Homepage.m_hWnd, UM_KEYWORDSEARCH, 0, 0);
    }
    return CallWindowProcA(g_pfnOldSearchEdit_OppHomepage, hWnd, uMsg, wParam, lParam);
}

Opp_HomepageDialogClass::Opp_HomepageDialogClass() : Opp_ListPageClass(-1) {
    m_szKeyword[0] = 0;
    m_szCaption[0] = 0;
    m_rcCaption = {166, 16, 900, 36};
}

void Opp_HomepageDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    MakeOppMenu(m_Links, kMenuIDs);
    CreateFrameControls(hWnd, IDC_OPPH_SEARCH_EDIT, IDC_OPPH_SEARCH, SearchEditProc_OppHomepage,
                        &g_pfnOldSearchEdit_OppHomepage, m_Links, 5, IDC_OPPH_HELP);
    CreateOppRecordList(hWnd, IDC_OPPH_LIST, 40, 573, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
    CreateExportButton(hWnd, IDC_OPPH_EXPORT, 18, m_hFontArial);
    LoadExportMenu();
}

void Opp_HomepageDialogClass::HandOverTitle(char* pszBuf, int nSize) {
    gbk::CopyCut(pszBuf, (size_t)nSize, "所有项目机会");
}

int Opp_HomepageDialogClass::RunQuery(int nMode) {
    m_Opp.cod_FreeList();
    m_Opp.m_iQueryMode = nMode;
    const int nResult = ShowQueryResult(m_Opp.cod_InitDetail(), g_szOppQueryError);
    m_Opp.cod_FreeList();
    return nResult;
}

void Opp_HomepageDialogClass::SetCaption(BOOL bKeyword, int nResult) {
    if (nResult < 0) return;
    if (bKeyword)
        snprintf(m_szCaption, sizeof(m_szCaption), "搜索关键字=\"%s\"的记录共%d条", m_Opp.m_szKeyword, nResult);
    else
        snprintf(m_szCaption, sizeof(m_szCaption),
                 "所有的项目机会共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。", nResult);
    InvalidateRect(m_hWnd, &m_rcCaption, TRUE);
}

LRESULT Opp_HomepageDialogClass::OnOpenView() {
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    AppendHistoryNode();
    const int nResult = RunQuery(0);
    SetWindowTextA(m_hSearchEdit, "");
    SetCaption(FALSE, nResult);
    return 0;
}

LRESULT Opp_HomepageDialogClass::OnLocalSearch() {
    if (!m_bInit) InitDialog(m_hWnd);
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    SetFocus(m_hSearchEdit);
    if (HistoryNode* pNode = OwnHistoryNode()) {
        pNode->m_nKind = 1;
        g_History.SetKeyword(m_Opp.m_szKeyword);
    }
    const int nResult = RunQuery(1);
    SetCaption(TRUE, nResult);
    return 0;
}

LRESULT Opp_HomepageDialogClass::OnKeywordSearch() {
    if (!m_bInit) InitDialog(m_hWnd);
    AppendHistoryNode();
    gbk::CopyCut(m_Opp.m_szKeyword, sizeof(m_Opp.m_szKeyword), m_szKeyword);
    return OnLocalSearch();
}

LRESULT Opp_HomepageDialogClass::OnSortList(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1) m_Opp.m_bDesc = !m_Opp.m_bDesc;
    m_Opp.m_iSortColumn = (int)lParam;
    RunQuery(2);
    return 0;
}

LRESULT Opp_HomepageDialogClass::OnRestoreView() {
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    HistoryNode* pNode = OwnHistoryNode();
    const int nKind = pNode ? pNode->m_nKind : 0;
    if (nKind == 0) {
        SetCaption(FALSE, RunQuery(0));
    } else if (nKind == 1) {
        gbk::CopyCut(m_Opp.m_szKeyword, sizeof(m_Opp.m_szKeyword), pNode->m_pszKeyword ? pNode->m_pszKeyword : "");
        SetCaption(TRUE, RunQuery(1));
    }
    return 0;
}

void Opp_HomepageDialogClass::OnPaint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    PaintLeftPanel(hdc);
    PaintText(hdc, 166, 16, m_szCaption);
    EndPaint(hWnd, &ps);
}

LRESULT Opp_HomepageDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW: return OnOpenView();
    case UM_LOCALSEARCH: return OnLocalSearch();
    case UM_KEYWORDSEARCH: return OnKeywordSearch();
    case UM_SORTLIST: return OnSortList(wParam, lParam);
    case UM_RESTOREVIEW: return OnRestoreView();
    case WM_PAINT: OnPaint(hWnd); return 0;
    case WM_COMMAND:
        if ((int)wParam == IDC_OPPH_SEARCH) {
            ReadSearchText(m_Opp.m_szKeyword);
            SendMessageA(hWnd, UM_LOCALSEARCH, 0, 0);
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
