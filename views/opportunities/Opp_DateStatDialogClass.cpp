#include "Opp_DateStatDialogClass.h"

#include <cstring>

#include "Opp_HomepageDialogClass.h"
#include "ToolbarClass.h"
#include "gbk.h"
#include "resources/opportunities_ids.h"

Opp_DateStatDialogClass g_Opp_DateStat;

namespace {
WNDPROC g_pfnOldSearchEdit_OppDateStat = nullptr;
const int kMenuIDs[5] = {IDC_OPPT_MENU0, IDC_OPPT_MENU1, IDC_OPPT_MENU2, IDC_OPPT_MENU3, IDC_OPPT_MENU4};

struct DateRowDef {
    int nFromID, nToID, nFindID;  // nToID 0: a one-date row
    int y;
    const char* pszError;
};

const DateRowDef kRowDefs[Opp_DateStatDialogClass::kRows] = {
    {IDC_OPPT_ROW1_FROM, IDC_OPPT_ROW1_TO, IDC_OPPT_ROW1_FIND, 45,
     "Opp_HomepageDialogClass.cpp 58: cod_GetEstimateOver Error."},
    {IDC_OPPT_ROW2_FROM, IDC_OPPT_ROW2_TO, IDC_OPPT_ROW2_FIND, 75, "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_OPPT_ROW3_DATE, 0, IDC_OPPT_ROW3_FIND, 105, "Opp_HomepageDialogClass.cpp 58: cod_NoTrack Error."},
    {IDC_OPPT_ROW4_FROM, IDC_OPPT_ROW4_TO, IDC_OPPT_ROW4_FIND, 135, "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_OPPT_ROW5_FROM, IDC_OPPT_ROW5_TO, IDC_OPPT_ROW5_FIND, 165, "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
    {IDC_OPPT_ROW6_FROM, IDC_OPPT_ROW6_TO, IDC_OPPT_ROW6_FIND, 195, "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error."},
};

// Painted row texts: the number, "至" between the dates, and the row's end.
const char* const kRowEnds[Opp_DateStatDialogClass::kRows] = {
    "前结束的销售机会", "间增加的销售机会", "以来没有跟踪过的销售机会",
    "间跟踪过的销售机会", "间成功的销售机会", "间失败的销售机会",
};
const char* const kRowNumbers[Opp_DateStatDialogClass::kRows] = {"1、", "2、", "3、", "4、", "5、", "6、"};

HWND MakePicker(HWND hParent, HINSTANCE hInst, HFONT hFont, int nID, int x, int y) {
    HWND h = CreateWindowExA(0, "SysDateTimePick32", "DateTime", WS_CHILD | WS_VISIBLE, x, y, 105, 20, hParent,
                             (HMENU)(INT_PTR)nID, hInst, nullptr);
    SendMessageA(h, WM_SETFONT, (WPARAM)hFont, 0);
    return h;
}

void ReadPicker(HWND h, SYSTEMTIME* pst) {
    memset(pst, 0, sizeof(*pst));
    if (h) SendMessageA(h, DTM_GETSYSTEMTIME, 0, (LPARAM)pst);
}
}  // namespace

LRESULT CALLBACK SearchEditProc_OppDateStat(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (PageFrameClass::IsEnterInEdit(hWnd, uMsg, wParam, IDC_OPPT_SEARCH_EDIT))
        SearchOnListPage(&g_Opp_Homepage, g_Opp_Homepage.m_szKeyword, hWnd);
    return CallWindowProcA(g_pfnOldSearchEdit_OppDateStat, hWnd, uMsg, wParam, lParam);
}

Opp_DateStatDialogClass::Opp_DateStatDialogClass() : Opp_ListPageClass(0), m_nKind(0), m_stFrom{}, m_stTo{} {
    for (int r = 0; r < kRows; r++) m_hFrom[r] = m_hTo[r] = m_hFind[r] = nullptr;
    m_bListEndsHover = FALSE;
}

void Opp_DateStatDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    MakeOppMenu(m_Links, kMenuIDs);
    CreateFrameControls(hWnd, IDC_OPPT_SEARCH_EDIT, IDC_OPPT_SEARCH, SearchEditProc_OppDateStat,
                        &g_pfnOldSearchEdit_OppDateStat, m_Links, 5, IDC_OPPT_HELP);
    for (int r = 0; r < kRows; r++) {
        const DateRowDef& d = kRowDefs[r];
        m_hFrom[r] = MakePicker(hWnd, m_hInstance, m_hFont, d.nFromID, 200, d.y);
        if (d.nToID) m_hTo[r] = MakePicker(hWnd, m_hInstance, m_hFont, d.nToID, 345, d.y);
        m_hFind[r] = CreateWindowExA(0, "BUTTON", "立刻查找", WS_CHILD | WS_VISIBLE, 620, d.y, 80, 22, hWnd,
                                     (HMENU)(INT_PTR)d.nFindID, m_hInstance, nullptr);
        SendMessageA(m_hFind[r], WM_SETFONT, (WPARAM)m_hFontArial, 0);
    }
    CreateExportButton(hWnd, IDC_OPPT_EXPORT, 238, m_hFontArial);
    CreateOppRecordList(hWnd, IDC_OPPT_LIST, 260, 350, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
    LoadExportMenu();
    m_bHover = 0;
}

void Opp_DateStatDialogClass::HandOverTitle(char* pszBuf, int nSize) {
    gbk::CopyCut(pszBuf, (size_t)nSize, "时间相关查询");
}

int Opp_DateStatDialogClass::RunQuery(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    int nResult;
    switch (nKind) {
    case 1: nResult = m_Opp.cod_GetEstimateOver(stFrom, stTo); break;
    case 2: nResult = m_Opp.cod_GetAdd(stFrom, stTo); break;
    case 3: nResult = m_Opp.cod_NoTrack(stFrom); break;
    case 4: nResult = m_Opp.cod_GetTrack(stFrom, stTo); break;
    case 5: nResult = m_Opp.cod_GetSucceed(stFrom, stTo); break;
    case 6: nResult = m_Opp.cod_GetFail(stFrom, stTo); break;
    default: return 0;
    }
    m_nKind = nKind;
    m_stFrom = stFrom;
    m_stTo = stTo;
    const int nShown = ShowQueryResult(nResult, kRowDefs[nKind - 1].pszError);
    m_Opp.cod_FreeList();
    return nShown;
}

void Opp_DateStatDialogClass::OnRowButton(int nRow) {
    SYSTEMTIME stFrom, stTo;
    ReadPicker(m_hFrom[nRow], &stFrom);
    if (m_hTo[nRow]) ReadPicker(m_hTo[nRow], &stTo);
    else stTo = stFrom;
    const int nKind = nRow + 1;
    if (HistoryNode* pNode = OwnHistoryNode()) {
        pNode->m_nKind = nKind;
        pNode->m_stFrom = stFrom;
        if (m_hTo[nRow]) pNode->m_stTo = stTo;
    }
    m_Opp.cod_FreeList();
    RunQuery(nKind, stFrom, stTo);
}

LRESULT Opp_DateStatDialogClass::OnOpen() {
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    AppendHistoryNode();
    SetWindowTextA(m_hSearchEdit, "");
    EmptyRecordList();
    m_Opp.cod_FreeList();
    m_nKind = 0;
    return 0;
}

LRESULT Opp_DateStatDialogClass::OnRestoreView() {
    m_Opp.cod_FreeList();
    g_Toolbar.CheckButton(TB_OPPORTUNITIES, 1);
    HistoryNode* pNode = OwnHistoryNode();
    const int nKind = pNode ? pNode->m_nKind : 0;
    if (nKind == 0) {
        EmptyRecordList();
        m_nKind = 0;
    } else if (nKind >= 1 && nKind <= kRows) {
        RunQuery(nKind, pNode->m_stFrom, nKind == 3 ? pNode->m_stFrom : pNode->m_stTo);
    }
    return 0;
}

LRESULT Opp_DateStatDialogClass::OnSortList(WPARAM wParam, LPARAM lParam) {
    if (wParam == 1) m_Opp.m_bDesc = !m_Opp.m_bDesc;
    m_Opp.m_iSortColumn = (int)lParam;
    m_Opp.cod_FreeList();
    m_Opp.m_iQueryMode = 2;
    if (m_nKind == 0) {
        // Nothing listed yet: the next query comes sorted.
        EmptyRecordList();
        return 0;
    }
    const SYSTEMTIME stFrom = m_stFrom, stTo = m_stTo;
    RunQuery(m_nKind, stFrom, stTo);
    return 0;
}

void Opp_DateStatDialogClass::OnPaint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    PaintLeftPanel(hdc);
    PaintText(hdc, 166, 16, "所有项目机会按其日期分类统计如下，用鼠标单击按某日期查找，可以显示符合条件的记录。");
    for (int r = 0; r < kRows; r++) {
        const int y = kRowDefs[r].y + 2;
        PaintText(hdc, 166, y, kRowNumbers[r]);
        if (kRowDefs[r].nToID) {
            PaintText(hdc, 320, y, "至");
            PaintText(hdc, 465, y, kRowEnds[r]);
        } else {
            PaintText(hdc, 320, y, kRowEnds[r]);
        }
    }
    PaintText(hdc, 166, 240, "用鼠标双击下面的记录可显示详细内容，点击列表标题栏，可重新排序。");
    EndPaint(hWnd, &ps);
}

LRESULT Opp_DateStatDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPEN_DATE: return OnOpen();
    case UM_RESTOREVIEW: return OnRestoreView();
    case UM_SORTLIST: return OnSortList(wParam, lParam);
    case WM_PAINT: OnPaint(hWnd); return 0;
    case WM_COMMAND:
        if ((int)wParam == IDC_OPPT_SEARCH) {
            SearchOnOppHomepage();
            return 0;
        }
        for (int r = 0; r < kRows; r++) {
            if ((int)wParam == kRowDefs[r].nFindID) {
                OnRowButton(r);
                return 0;
            }
        }
        break;
    default: break;
    }
    LRESULT lResult = 0;
    if (ListFrameMessage(hWnd, uMsg, wParam, lParam, &lResult)) return lResult;
    if (uMsg == WM_COMMAND) return 0;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
