#include "shell/ListPageClass.h"

#include "shell/RecordFormClass.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

ListPageClass::ListPageClass(int nLastSortColumn)
    : m_nLastSortColumn(nLastSortColumn),
      m_hExportMenu(nullptr),
      m_hExportButton(nullptr),
      m_hMailButton(nullptr),
      m_nRecordListID(0),
      m_nExportButtonID(0),
      m_nMailButtonID(0),
      m_nColumns(0),
      m_bListEndsHover(TRUE),
      m_hPopupMenu(nullptr) {}

void ListPageClass::EmptyRecordList() {
    m_ListView.DeleteAllItems();
    FreeIDArray();
}

void ListPageClass::CreateRecordList(HWND hWnd, int nID, int x, int y, int w, int h, const ListColumnDef* pColumns,
                                     int nColumns, UINT uColumnMask, int nBlankWidth) {
    m_nRecordListID = nID;
    m_ListView.Create(m_hInstance, hWnd, x, y, w, h, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS,
                      nID);
    m_ListView.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    m_ListView.InitColumn(uColumnMask);
    m_nColumns = nColumns < kMaxColumns ? nColumns : kMaxColumns;
    for (int c = 0; c < m_nColumns; c++) m_ListView.InsertColumn(pColumns[c].pszCaption, pColumns[c].nWidth);
    if (nBlankWidth > 0) m_ListView.InsertColumn("", nBlankWidth);
    SendMessageA(m_ListView.m_hListView, WM_SETFONT, (WPARAM)m_hFont, 0);
    m_ListView.InitItem();
}

void ListPageClass::CreateExportButton(HWND hWnd, int nID, int y, HFONT hFont) {
    m_nExportButtonID = nID;
    m_hExportButton = CreateWindowExA(0, "BUTTON", "导出列表", WS_CHILD | WS_VISIBLE, 937, y, 80, 22, hWnd,
                                      (HMENU)(INT_PTR)nID, m_hInstance, nullptr);
    SendMessageA(m_hExportButton, WM_SETFONT, (WPARAM)hFont, 0);
}

void ListPageClass::CreateMailButton(HWND hWnd, int nID, int y, HFONT hFont) {
    m_nMailButtonID = nID;
    m_hMailButton = CreateWindowExA(0, "BUTTON", "邮件群发", WS_CHILD | WS_VISIBLE, 837, y, 80, 22, hWnd,
                                    (HMENU)(INT_PTR)nID, m_hInstance, nullptr);
    SendMessageA(m_hMailButton, WM_SETFONT, (WPARAM)hFont, 0);
}

void ListPageClass::LoadExportMenu() {
    ReleaseExportMenu();
    m_hPopupMenu = LoadMenuA(m_hInstance, "IDM_POP_MENU");
    m_hExportMenu = m_hPopupMenu ? GetSubMenu(m_hPopupMenu, 5) : nullptr;
}

void ListPageClass::ReleaseExportMenu() {
    // Destroying the loaded menu destroys its submenus, the export menu among them.
    if (m_hPopupMenu) DestroyMenu(m_hPopupMenu);
    m_hPopupMenu = nullptr;
    m_hExportMenu = nullptr;
}

int ListPageClass::ShowQueryResult(int nResult, const char* pszQueryError) {
    if (nResult < 0) {
        ReportError(pszQueryError);
        return -1;
    }
    return FillListAtTop(m_ListView, m_nColumns, m_pulID, m_nIDCount, nResult, *this, Texts());
}

BOOL ListPageClass::OnExportCommand(WPARAM wParam) {
    const int nCmd = LOWORD(wParam);
    if (nCmd == IDM_EXPORTTEXT || nCmd == IDM_EXPORTEXCEL) {
        // The exporter writes no more rows than the list shows.
        g_Exporter.Export(m_hWnd, m_nIDCount, m_nColumns, nCmd == IDM_EXPORTEXCEL ? 1 : 0, &m_ListView);
        return TRUE;
    }
    if (m_nExportButtonID && (int)wParam == m_nExportButtonID) {
        RECT rc;
        GetWindowRect(m_hExportButton, &rc);
        if (m_hExportMenu) TrackPopupMenu(m_hExportMenu, TPM_RIGHTBUTTON, rc.left, rc.top, 0, m_hWnd, nullptr);
        return TRUE;
    }
    if (m_nMailButtonID && (int)wParam == m_nMailButtonID) {
        HandOverToMail();
        return TRUE;
    }
    return FALSE;
}

LRESULT ListPageClass::OnRecordListNotify(const NMHDR* pHdr) {
    if (!pHdr || pHdr->hwndFrom != m_ListView.m_hListView) return 0;
    switch (pHdr->code) {
    case LVN_COLUMNCLICK: {
        const int nColumn = ((const NMLISTVIEW*)pHdr)->iSubItem;
        if (!Sortable() || nColumn < 0 || nColumn >= m_nColumns) return 0;
        if (nColumn != m_nLastSortColumn) {
            m_nLastSortColumn = nColumn;
            SendMessageA(m_hWnd, UM_SORTLIST, 0, nColumn);
        } else {
            SendMessageA(m_hWnd, UM_SORTLIST, 1, nColumn);
        }
        return 0;
    }
    case NM_CUSTOMDRAW: return m_ListView.OnCustomDraw((NMLVCUSTOMDRAW*)pHdr);
    case NM_DBLCLK: HandOver(m_ListView.GetNotifyItem((NMLISTVIEW*)pHdr)); return 0;
    default: return 0;
    }
}

void ListPageClass::HandOver(int nRow) {
    char szTitle[128];
    HandOverTitle(szTitle, sizeof(szTitle));
    HandOverToForm(RecordForm(), m_pulID, m_nIDCount, nRow, KeepsFormTitle() ? nullptr : szTitle);
}

BOOL ListPageClass::PageMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    *pResult = 0;
    // The export menu goes with the page's window.
    if (uMsg == WM_DESTROY) ReleaseExportMenu();
    if (uMsg == WM_NOTIFY) {
        if (m_bListEndsHover) LeaveHover();
        *pResult = OnRecordListNotify((const NMHDR*)lParam);
        return TRUE;
    }
    if (uMsg == WM_COMMAND && OnExportCommand(wParam)) return TRUE;
    return FrameMessage(hWnd, uMsg, wParam, lParam, pResult);
}
