#include "shell/ListViewClass.h"

#include <cstring>
#include <string>

#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

ListViewClass::ListViewClass() : m_hListView(nullptr), m_lvItem{}, m_lvColumn{}, m_nColumns(0) {}

ListViewClass::~ListViewClass() {}

int ListViewClass::Create(HINSTANCE hInstance, HWND hParent, int x, int y, int nWidth, int nHeight, DWORD dwStyle,
                          int nID) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&icc);
    m_nColumns = 0;  // a new list has no columns, whatever a list made before had
    m_hListView = CreateWindowExA(0, WC_LISTVIEWA, "", dwStyle, x, y, nWidth, nHeight, hParent, (HMENU)(INT_PTR)nID,
                                  hInstance, nullptr);
    if (!m_hListView) {
        ReportError(msg::kListCreate);
        return -1;
    }
    return 0;
}

void ListViewClass::SetExtendedStyle(DWORD dwExStyle) {
    SendMessageA(m_hListView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)dwExStyle);
}

void ListViewClass::InitColumn(UINT uMask) {
    m_lvColumn.mask = uMask;
    m_lvColumn.fmt = LVCFMT_LEFT;
}

int ListViewClass::InsertColumn(LPCSTR pszCaption, int nWidth) {
    m_lvColumn.cx = nWidth;
    m_lvColumn.pszText = (LPSTR)pszCaption;
    const LRESULT r = SendMessageA(m_hListView, LVM_INSERTCOLUMNA, (WPARAM)m_nColumns, (LPARAM)&m_lvColumn);
    ++m_nColumns;
    if (r == -1) {
        ReportError(msg::kListInsertColumn);
        return -1;
    }
    return 0;
}

void ListViewClass::InitItem() {
    m_lvItem.mask = LVIF_TEXT | LVIF_STATE;
    m_lvItem.state = 0;
    m_lvItem.stateMask = 0;
}

int ListViewClass::InsertItem(int nRow, LPCSTR pszText) {
    m_lvItem.iItem = nRow;
    m_lvItem.iSubItem = 0;
    m_lvItem.pszText = (LPSTR)pszText;
    return (int)SendMessageA(m_hListView, LVM_INSERTITEMA, 0, (LPARAM)&m_lvItem);
}

int ListViewClass::SetItemText(int nRow, int nColumn, LPCSTR pszText) {
    m_lvItem.iItem = nRow;
    m_lvItem.iSubItem = nColumn;
    m_lvItem.pszText = (LPSTR)pszText;
    if (!SendMessageA(m_hListView, LVM_SETITEMA, 0, (LPARAM)&m_lvItem)) {
        ReportError(msg::kListSetItem);
        return -1;
    }
    return 0;
}

int ListViewClass::GetItemText(int nRow, int nColumn, LPSTR pszBuffer, int nSize) {
    if (!pszBuffer || nSize <= 0) return 0;
    pszBuffer[0] = '\0';
    // Read the whole cell, then cut it on a character boundary.
    std::string cell(1024, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = nColumn;
        item.pszText = cell.data();
        item.cchTextMax = (int)cell.size();
        const int n = (int)SendMessageA(m_hListView, LVM_GETITEMTEXTA, (WPARAM)nRow, (LPARAM)&item);
        if (n < (int)cell.size() - 1 || cell.size() >= (1u << 20)) {
            cell.resize(std::strlen(cell.c_str()));
            break;
        }
        cell.assign(cell.size() * 4, '\0');
    }
    return (int)gbk::CopyCut(pszBuffer, (size_t)nSize, cell);
}

LRESULT ListViewClass::GetColumn(int nColumn, LVCOLUMNA* pColumn) {
    return SendMessageA(m_hListView, LVM_GETCOLUMNA, (WPARAM)nColumn, (LPARAM)pColumn);
}

LRESULT ListViewClass::SetColumn(int nColumn, LVCOLUMNA* pColumn) {
    return SendMessageA(m_hListView, LVM_SETCOLUMNA, (WPARAM)nColumn, (LPARAM)pColumn);
}

LRESULT ListViewClass::DeleteAllItems() { return SendMessageA(m_hListView, LVM_DELETEALLITEMS, 0, 0); }

int ListViewClass::GetItemCount() {
    if (!m_hListView) return 0;
    return (int)SendMessageA(m_hListView, LVM_GETITEMCOUNT, 0, 0);
}

int ListViewClass::GetNotifyItem(const NMLISTVIEW* pNotify) { return pNotify ? pNotify->iItem : -1; }

int ListViewClass::GetSelectedItem() {
    if (!m_hListView) return -1;
    return (int)SendMessageA(m_hListView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

BOOL ListViewClass::SelectionMoved(const NMHDR* pHdr, int* pRow) {
    if (!pHdr || pHdr->code != LVN_ITEMCHANGED) return FALSE;
    const NMLISTVIEW* p = (const NMLISTVIEW*)pHdr;
    if (!(p->uChanged & LVIF_STATE) || !((p->uOldState ^ p->uNewState) & LVIS_SELECTED)) return FALSE;
    *pRow = GetSelectedItem();
    return TRUE;
}

HIMAGELIST ListViewClass::SetImageList(HIMAGELIST hImageList, int nWhich) {
    return (HIMAGELIST)SendMessageA(m_hListView, LVM_SETIMAGELIST, (WPARAM)nWhich, (LPARAM)hImageList);
}

int ListViewClass::GetCheck(int nRow) {
    const UINT uState = (UINT)SendMessageA(m_hListView, LVM_GETITEMSTATE, (WPARAM)nRow, (LPARAM)LVIS_STATEIMAGEMASK);
    return (int)((uState & LVIS_STATEIMAGEMASK) >> 12) - 1;
}

void ListViewClass::SetCheck(int nRow, int nImage) {
    LVITEMA item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = (UINT)((nImage + 1) << 12);
    SendMessageA(m_hListView, LVM_SETITEMSTATE, (WPARAM)nRow, (LPARAM)&item);
}

LRESULT ListViewClass::OnCustomDraw(NMLVCUSTOMDRAW* pDraw) {
    if (!pDraw) return 0;
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        pDraw->clrTextBk = (pDraw->nmcd.dwItemSpec % 2) ? kOddRowColour : kEvenRowColour;
        return CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
    }
}
