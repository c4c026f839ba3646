#include "views/RecordFormDialogClass.h"

#include "views/RelatingGlobals.h"
#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"

#include <cstring>
#include <new>

RecordFormDialogClass::RecordFormDialogClass(const char* pszClassName, int nButton,
                                             const RecordFormLayout& layout)
    : PlaceholderDialogClass(pszClassName, nButton, {}),
      m_szTitle{},
      m_pulID(nullptr),
      m_nIDCount(0),
      m_ulRecordID(0),
      m_nRow(-1),
      m_Layout(layout)
{
}

RecordFormDialogClass::~RecordFormDialogClass()
{
    FreeIDArray();
}

void RecordFormDialogClass::FreeIDArray()
{
    delete[] m_pulID;
    m_pulID = nullptr;
    m_nIDCount = 0;
}

void RecordFormDialogClass::InitDialog(HWND hWnd)
{
    if (m_bInit)
        return;
    BaseDialogClass::InitDialog(hWnd);
    if (m_Tab.Create(m_hInstance, hWnd, m_Layout.x, m_Layout.y, m_Layout.nWidth, m_Layout.nHeight,
                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS) != 0)
        return;
    SendMessageA(m_Tab.m_hTab, WM_SETFONT, (WPARAM)m_hFont, TRUE);
    for (int i = 0; i < m_Layout.nTabs; i++)
        m_Tab.AddPage(i, m_Layout.pTabs[i].pszCaption, "ID_DLG_RELATING", m_Layout.pTabs[i].pfnPageProc);
    m_Tab.SetCurSel(0);
    m_Tab.OnSelChange();
}

void RecordFormDialogClass::ReloadRelated()
{
    g_ulRelatingID = m_ulRecordID;
    // No page when its template could not be made.
    if (m_Tab.m_hPage)
        SendMessageA(m_Tab.m_hPage, UM_RELOADRELATED, 0, 0);
}

void RecordFormDialogClass::OnShowRecord(int nRow, ULONG ulID)
{
    CheckOwnButton();
    // The sender's title may end in half a character.
    m_szTitle[gbk::SafeCut(m_szTitle, strnlen(m_szTitle, sizeof m_szTitle), sizeof m_szTitle - 1)] = '\0';
    if (nRow >= 0)
        m_nRow = HasRow(nRow) ? nRow : -1;
    m_ulRecordID = ulID;

    HistoryNode* pNode = nullptr;
    if (g_History.IsCurrentOf(this))
        pNode = g_History.m_pCurrent;
    else if ((pNode = g_History.OpenEntry(this)) != nullptr) {
        g_History.SetTitle(m_szTitle);
        g_History.SetIDArray(m_pulID, m_nIDCount);
    }
    if (pNode) {
        pNode->m_nRecordID = m_ulRecordID;
        pNode->m_nParam = m_nRow;
    }
    ReloadRelated();
    Repaint();
}

void RecordFormDialogClass::OnNewRecord()
{
    CheckOwnButton();
    if (!g_History.IsCurrentOf(this))
        g_History.OpenEntry(this);
    m_ulRecordID = 0;
    ReloadRelated();
    Repaint();
}

void RecordFormDialogClass::OnRestore()
{
    if (g_History.IsCurrentOf(this)) {
        const HistoryNode* pNode = g_History.m_pCurrent;
        FreeIDArray();
        if (pNode->m_pulID && pNode->m_nIDCount > 0) {
            m_pulID = new (std::nothrow) ULONG[pNode->m_nIDCount];
            if (m_pulID) {
                memcpy(m_pulID, pNode->m_pulID, sizeof(ULONG) * pNode->m_nIDCount);
                m_nIDCount = pNode->m_nIDCount;
            }
        }
        gbk::CopyCut(m_szTitle, sizeof m_szTitle, pNode->m_pszTitle ? pNode->m_pszTitle : "");
        m_ulRecordID = pNode->m_nRecordID;
        m_nRow = HasRow(pNode->m_nParam) ? pNode->m_nParam : -1;
        ReloadRelated();
    }
    PlaceholderDialogClass::OnRestore();
}

LRESULT RecordFormDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case UM_SHOWRECORD:
        OnShowRecord((int)wParam, (ULONG)lParam);
        return 0;
    case UM_NEWRECORD:
        OnNewRecord();
        return 0;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->hwndFrom == m_Tab.m_hTab && pHdr->code == TCN_SELCHANGE) {
            m_Tab.OnSelChange();
            return 0;
        }
        break;
    }
    }
    return PlaceholderDialogClass::DialogProc(hWnd, uMsg, wParam, lParam);
}
