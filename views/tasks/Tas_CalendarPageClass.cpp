#include "views/tasks/Tas_CalendarPageClass.h"

#include <new>

#include "shell/RecordFormClass.h"
#include "views/tasks/Tas_Calendar.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListPageClass.h"
#include "shell/Report.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"

const char g_szTasIDArrayError[] = "Opp_HomepageDialogClass.cpp 89: m_pulID Error.";

Tas_CalendarPageClass::Tas_CalendarPageClass(const CalendarPageDef& def)
    : m_dtDay{}, m_stDate{}, m_hPrevButton(nullptr), m_hNextButton(nullptr), m_nLoadCount(0), m_Def(def) {}

void Tas_CalendarPageClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.menu, m_Def.nHelpID);
    m_hPrevButton = CreateWindowExA(0, "BUTTON", m_Def.pszPrev, WS_CHILD | WS_VISIBLE, m_Def.nPrevX, m_Def.nButtonY, 50,
                                    m_Def.nButtonHeight, hWnd, (HMENU)(INT_PTR)m_Def.nPrevID, m_hInstance, nullptr);
    SendMessageA(m_hPrevButton, WM_SETFONT, (WPARAM)m_hFont, 0);
    m_hNextButton = CreateWindowExA(0, "BUTTON", m_Def.pszNext, WS_CHILD | WS_VISIBLE, m_Def.nNextX, m_Def.nButtonY, 50,
                                    m_Def.nButtonHeight, hWnd, (HMENU)(INT_PTR)m_Def.nNextID, m_hInstance, nullptr);
    SendMessageA(m_hNextButton, WM_SETFONT, (WPARAM)m_hFont, 0);
    for (int i = 0; i < Lists(); i++) {
        const RECT rc = ListRect(i);
        ListViewClass& list = m_DayList[i];
        list.Create(m_hInstance, hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                    WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, m_Def.nFirstListID + i);
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
        list.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
        list.InsertColumn("", m_Def.nCaptionWidth);
        if (m_Def.bTimeColumn) list.InsertColumn("时间", 60);
        SendMessageA(list.m_hListView, WM_SETFONT, (WPARAM)m_hFont, 0);
        list.InitItem();
    }
    m_bHover = 0;
    // The reference date is today until the first opening; nothing is listed.
    GetLocalTime(&m_stDate);
    SetDays();
}

void Tas_CalendarPageClass::SearchOnModuleListPage(HWND hEdit) { SearchOnTaskList(hEdit); }

void Tas_CalendarPageClass::SetListCaption(int i, const char* pszCaption) {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = (LPSTR)pszCaption;
    m_DayList[i].SetColumn(0, &col);
}

void Tas_CalendarPageClass::FillList(int i) {
    ListViewClass& list = m_DayList[i];
    IDListOwner& ids = m_DayIDs[i];
    list.DeleteAllItems();
    ids.FreeIDArray();
    if (m_dtDay[i].year == 0) return;

    int nCount = 0;
    for (const TasNode* p = m_TasDetail.m_pTasHead; p; p = p->next)
        if (calendar::IsSameDate(p->tas_date, m_dtDay[i]) == 0) nCount++;
    if (nCount == 0) return;
    ULONG* pulID = new (std::nothrow) ULONG[(size_t)nCount];
    if (!pulID) {
        ReportError(g_szTasIDArrayError);
        return;
    }
    ids.m_pulID = pulID;
    ids.m_nIDCount = nCount;
    int k = nCount;
    char szTime[16];
    for (const TasNode* p = m_TasDetail.m_pTasHead; p; p = p->next) {
        if (calendar::IsSameDate(p->tas_date, m_dtDay[i]) != 0) continue;
        list.InsertItem(0, p->tas_subject);
        pulID[--k] = p->tas_id;
        if (m_Def.bTimeColumn) {
            TasCellText(p, 1, szTime, sizeof(szTime));
            list.SetItemText(0, 1, szTime);
        }
    }
}

void Tas_CalendarPageClass::Load() {
    SetDays();
    m_TasDetail.ctd_FreeList();
    m_nLoadCount = Query();
    if (m_nLoadCount < 0) ReportError(g_szTasQueryError);
    for (int i = 0; i < Lists(); i++) FillList(i);
    Filled();
    m_TasDetail.ctd_FreeList();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT Tas_CalendarPageClass::OnOpen() {
    if (!m_bInit) InitDialog(m_hWnd);
    g_Toolbar.CheckButton(TB_TASKS, 1);
    SetWindowTextA(m_hSearchEdit, "");
    AppendHistoryNode();
    GetLocalTime(&m_stDate);
    Load();
    return 0;
}

void Tas_CalendarPageClass::OnStep(int nDirection) {
    if (Step(nDirection) != 0) return;
    Load();
}

void Tas_CalendarPageClass::HandOver(int i, int nRow) {
    const IDListOwner& ids = m_DayIDs[i];
    HandOverToForm(&g_Tas_Detail, ids.m_pulID, ids.m_nIDCount, nRow, g_szTasListTitle);
}

LRESULT Tas_CalendarPageClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == m_Def.uOpenMessage) return OnOpen();
    switch (uMsg) {
    case UM_RESTOREVIEW: g_Toolbar.CheckButton(TB_TASKS, 1); return 0;
    case WM_COMMAND:
        if ((int)wParam == m_Def.nPrevID) {
            OnStep(-1);
            return 0;
        }
        if ((int)wParam == m_Def.nNextID) {
            OnStep(1);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        LeaveHover();
        if (!pHdr) return 0;
        for (int i = 0; i < Lists(); i++) {
            if (pHdr->hwndFrom != m_DayList[i].m_hListView) continue;
            if (pHdr->code == NM_DBLCLK) HandOver(i, m_DayList[i].GetNotifyItem((const NMLISTVIEW*)pHdr));
            return 0;
        }
        return 0;
    }
    default: break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
