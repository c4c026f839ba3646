#include "views/RecordFormClass.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "views/RelatingGlobals.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"

const char g_szRecordMissing[] = "该记录已不存在";

namespace {
const char kCaption[] = TARVEL_CAPTION;

HWND MakeButton(HWND hParent, HINSTANCE hInst, HFONT hFont, const char* pszText, int nID, int x, int y, int w,
                BOOL bEnabled) {
    HWND h = CreateWindowExA(0, "BUTTON", pszText, WS_CHILD | WS_VISIBLE | (bEnabled ? 0 : WS_DISABLED), x, y, w, 22,
                             hParent, (HMENU)(INT_PTR)nID, hInst, nullptr);
    SendMessageA(h, WM_SETFONT, (WPARAM)hFont, 0);
    return h;
}
}  // namespace

RecordFormClass::RecordFormClass()
    : m_pulID(nullptr), m_nIDCount(0), m_hSaveButton(nullptr), m_hCancelButton(nullptr), m_hEditButton(nullptr),
      m_hDeleteButton(nullptr), m_hFirstButton(nullptr), m_hPrevButton(nullptr), m_hNextButton(nullptr),
      m_hLastButton(nullptr), m_ulRecordID(0), m_nRow(0), m_bFound(TRUE), m_IDs{}, m_Mode(kBrowse) {
    m_szTitle[0] = 0;
    m_rcCaption = {166, 16, 700, 36};
}

RecordFormClass::~RecordFormClass() { FreeIDArray(); }

void RecordFormClass::FreeIDArray() {
    delete[] m_pulID;
    m_pulID = nullptr;
}

int RecordFormClass::TakeIDList(const ULONG* pulID, int nCount, const char* pszTitle) {
    FreeIDArray();
    m_nIDCount = 0;
    gbk::CopyCut(m_szTitle, sizeof(m_szTitle), pszTitle ? pszTitle : "");
    if (!pulID || nCount <= 0) return 0;
    m_pulID = new (std::nothrow) ULONG[(size_t)nCount];
    if (!m_pulID) return -1;
    memcpy(m_pulID, pulID, sizeof(ULONG) * (size_t)nCount);
    m_nIDCount = nCount;
    return 0;
}

void RecordFormClass::CreateFormButtons(HWND hWnd, const RecordFormIDs& ids) {
    m_IDs = ids;
    m_hFirstButton = MakeButton(hWnd, m_hInstance, m_hFont, "第一个", ids.nFirst, 166, 35, 60, TRUE);
    m_hPrevButton = MakeButton(hWnd, m_hInstance, m_hFont, "上一个", ids.nPrev, 236, 35, 60, TRUE);
    m_hNextButton = MakeButton(hWnd, m_hInstance, m_hFont, "下一个", ids.nNext, 306, 35, 60, TRUE);
    m_hLastButton = MakeButton(hWnd, m_hInstance, m_hFont, "末一个", ids.nLast, 376, 35, 60, TRUE);
    m_hEditButton = MakeButton(hWnd, m_hInstance, m_hFont, "修改", ids.nEdit, 830, 35, 40, FALSE);
    m_hDeleteButton = MakeButton(hWnd, m_hInstance, m_hFont, "删除", ids.nDelete, 880, 35, 40, FALSE);
    m_hSaveButton = MakeButton(hWnd, m_hInstance, m_hFont, "确定", ids.nSave, 930, 35, 40, TRUE);
    m_hCancelButton = MakeButton(hWnd, m_hInstance, m_hFont, "取消", ids.nCancel, 980, 35, 40, TRUE);
}

void RecordFormClass::CreateRelationTabs(HWND hWnd, int x, int y, int w, int h, const char* const* ppszCaptions,
                                         const DLGPROC* pProcs, int nTabs) {
    m_Tab.Create(m_hInstance, hWnd, x, y, w, h, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    if (m_Tab.m_hTab) SendMessageA(m_Tab.m_hTab, WM_SETFONT, (WPARAM)m_hFont, 0);
    for (int i = 0; i < nTabs; i++) m_Tab.AddPage(i, ppszCaptions[i], "ID_DLG_RELATING", pProcs[i]);
    m_Tab.SetCurSel(0);
    m_Tab.OnSelChange();
}

void RecordFormClass::SetNavButtons() {
    if (!m_pulID || m_nIDCount <= 0 || m_nRow < 0 || m_nRow >= m_nIDCount) {
        DisableNavButtons();
        return;
    }
    const BOOL bFirst = m_nRow == 0;
    const BOOL bLast = m_nRow == m_nIDCount - 1;
    EnableWindow(m_hFirstButton, !bFirst);
    EnableWindow(m_hPrevButton, !bFirst);
    EnableWindow(m_hNextButton, !bLast);
    EnableWindow(m_hLastButton, !bLast);
}

void RecordFormClass::DisableNavButtons() {
    EnableWindow(m_hFirstButton, FALSE);
    EnableWindow(m_hPrevButton, FALSE);
    EnableWindow(m_hNextButton, FALSE);
    EnableWindow(m_hLastButton, FALSE);
}

void RecordFormClass::SetModeButtons(Mode mode) {
    m_Mode = mode;
    EnableWindow(m_hSaveButton, mode != kBrowse);
    EnableWindow(m_hCancelButton, TRUE);
    // A record that could not be loaded cannot be changed or deleted.
    EnableWindow(m_hEditButton, mode == kBrowse && m_bFound);
    EnableWindow(m_hDeleteButton, mode != kNew && m_bFound);
    EnableWindow(NewRecordEntry(), mode == kBrowse);
    EnableCreationDate(mode == kNew);
}

void RecordFormClass::ReloadRelated(ULONG ulID) {
    g_ulRelatingID = ulID;
    if (m_Tab.m_hPage) SendMessageA(m_Tab.m_hPage, UM_RELOADRELATED, 0, 0);
}

void RecordFormClass::FillHistoryNode(HistoryNode* pNode) {
    pNode->m_nRecordID = m_ulRecordID;
    pNode->m_nParam = m_nRow;
    g_History.SetTitle(m_szTitle);
    if (g_History.SetIDArray(m_pulID, m_pulID ? m_nIDCount : 0) != 0)
        MessageBoxA(nullptr, FormTexts().pszIDArrayError, kCaption, MB_OK);
    pNode->m_nIDCount = m_pulID ? m_nIDCount : 0;
}

void RecordFormClass::BrowseRecord(BOOL bRelating) {
    m_bFound = LoadRecord(m_ulRecordID, bRelating) == 0;
    if (!m_bFound) MessageBoxA(nullptr, FormTexts().pszLoadError, kCaption, MB_OK);
    SetModeButtons(kBrowse);
    SetReadOnly(1);
    DropRecord();
}

void RecordFormClass::EnterNewMode() {
    m_ulRecordID = 0;
    DisableNavButtons();
    SetReadOnly(0);
    ReloadRelated(0);
    m_bFound = TRUE;
    SetModeButtons(kNew);
    ClearForm();
    FreeIDArray();
    m_nIDCount = 0;
}

LRESULT RecordFormClass::OnShowRecord(WPARAM wParam, LPARAM lParam) {
    g_Toolbar.CheckButton(ToolbarButton(), 1);
    SetWindowTextA(m_hSearchEdit, "");
    ClearForm();
    m_ulRecordID = (ULONG)lParam;
    if ((int)wParam >= 0) m_nRow = (int)wParam;

    if (g_History.m_pHead && !g_History.IsCurrentOf(this)) {
        if (HistoryNode* pNode = AppendHistoryNode()) FillHistoryNode(pNode);
    }
    SetNavButtons();
    ReloadRelated(m_ulRecordID);
    BrowseRecord(TRUE);
    InvalidateRect(m_hWnd, &m_rcCaption, TRUE);
    SetFocus(FirstField());
    return 0;
}

LRESULT RecordFormClass::OnNewRecord() {
    m_ulRecordID = 0;
    g_Toolbar.CheckButton(ToolbarButton(), 1);
    if (g_History.m_pHead && !g_History.IsCurrentOf(this)) {
        if (HistoryNode* pNode = AppendHistoryNode()) pNode->m_nRecordID = 0;
    }
    RefillLookups();
    EnterNewMode();
    SetWindowTextA(m_hSearchEdit, "");
    InvalidateRect(m_hWnd, &m_rcCaption, TRUE);
    SetFocus(FirstField());
    return 0;
}

LRESULT RecordFormClass::OnRestoreView() {
    g_Toolbar.CheckButton(ToolbarButton(), 1);
    HistoryNode* pNode = OwnHistoryNode();
    if (!pNode || pNode->m_nRecordID == 0) {
        EnterNewMode();  // the lookup lists stay as they are
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    }
    ClearForm();
    m_ulRecordID = pNode->m_nRecordID;
    m_nRow = pNode->m_nParam;
    if (TakeIDList(pNode->m_pulID, pNode->m_nIDCount, pNode->m_pszTitle) != 0)
        MessageBoxA(nullptr, FormTexts().pszIDArrayError, kCaption, MB_OK);
    SetNavButtons();
    ReloadRelated(m_ulRecordID);
    BrowseRecord(FALSE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

void RecordFormClass::Step(int nRow) {
    if (!m_pulID || nRow < 0 || nRow >= m_nIDCount) return;
    m_nRow = nRow;
    const ULONG ulID = m_pulID[nRow];
    if (HistoryNode* pNode = OwnHistoryNode()) {
        pNode->m_nParam = m_nRow;
        pNode->m_nRecordID = ulID;
    }
    SendMessageA(m_hWnd, UM_SHOWRECORD, (WPARAM)m_nRow, (LPARAM)ulID);
}

void RecordFormClass::OnEdit() {
    if (!m_bFound || m_ulRecordID == 0) return;
    SetReadOnly(0);
    SetModeButtons(kEdit);
}

void RecordFormClass::OnSave() {
    if (m_Mode == kBrowse) return;
    if (FormToRecord() != 0) return;  // its box shown; the input stays
    if (m_ulRecordID != 0) {
        const int nResult = ChangeRecord(m_ulRecordID);
        DropRecord();
        if (nResult == -1) {
            // Stay in edit mode with the user's input.
            MessageBoxA(nullptr, FormTexts().pszChangeError, kCaption, MB_OK);
            return;
        }
        if (nResult == -100) {
            m_bFound = FALSE;
            MessageBoxA(nullptr, g_szRecordMissing, kCaption, MB_OK);
            SetModeButtons(kEdit);
            InvalidateRect(m_hWnd, &m_rcCaption, TRUE);
            return;
        }
        SendMessageA(m_hWnd, UM_SHOWRECORD, (WPARAM)m_nRow, (LPARAM)m_ulRecordID);
        return;
    }

    ULONG ulNewID = 0;
    const int nResult = AddRecord(&ulNewID);
    DropRecord();
    if (nResult != 0 || ulNewID == 0) {
        // Nothing was saved: stay in the new-record mode with the input.
        MessageBoxA(nullptr, FormTexts().pszAddError, kCaption, MB_OK);
        return;
    }
    FreeIDArray();
    m_nIDCount = 1;
    m_nRow = 0;
    HistoryNode* pNode = AppendHistoryNode();
    if (!pNode) pNode = OwnHistoryNode();  // no new entry: the blank form's entry shows the record
    if (pNode) {
        pNode->m_nRecordID = ulNewID;
        pNode->m_nParam = 0;
        g_History.SetTitle(m_szTitle);
        g_History.SetIDArray(nullptr, 0);
        pNode->m_nIDCount = 1;
    }
    SendMessageA(m_hWnd, UM_SHOWRECORD, 0, (LPARAM)ulNewID);
}

void RecordFormClass::OnDelete() {
    if (m_ulRecordID == 0) {
        MessageBoxA(nullptr, "删除错误", kCaption, MB_OK);
        return;
    }
    if (!m_bFound) return;
    if (MessageBoxA(m_hWnd, "您确认要删除记录吗?删除后数据将不可恢复!", "确认删除",
                    MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    if (DeleteRecord(m_ulRecordID) != 0) return;  // the record stays, and so does its entry
    if (HistoryNode* pNode = OwnHistoryNode()) {
        pNode->m_nParam = 0;
        pNode->m_nRecordID = 0;
    }
    g_Toolbar.OnBack(m_hWnd, 0, 0, 0);
}

void RecordFormClass::OnCancel() { g_Toolbar.OnBack(m_hWnd, 0, 0, 0); }

BOOL RecordFormClass::OnFormCommand(WPARAM wParam) {
    const int nID = (int)wParam;
    if (nID == m_IDs.nFirst) Step(0);
    else if (nID == m_IDs.nPrev) Step(m_nRow - 1);
    else if (nID == m_IDs.nNext) Step(m_nRow + 1);
    else if (nID == m_IDs.nLast) Step(m_nIDCount - 1);
    else if (nID == m_IDs.nEdit) OnEdit();
    else if (nID == m_IDs.nSave) OnSave();
    else if (nID == m_IDs.nCancel) OnCancel();
    else if (nID == m_IDs.nDelete) OnDelete();
    else return FALSE;
    return TRUE;
}

BOOL RecordFormClass::OnTabNotify(const NMHDR* pHdr) {
    if (!pHdr || pHdr->hwndFrom != m_Tab.m_hTab || pHdr->code != TCN_SELCHANGE) return FALSE;
    m_Tab.OnSelChange();
    return TRUE;
}

void RecordFormClass::PaintNavCaption(HDC hdc) {
    char szLine[256] = "";
    // The title was cut at a character boundary when the list was taken.
    if (m_pulID) snprintf(szLine, sizeof(szLine), "%s记录共%d条，现在是第%d条", m_szTitle, m_nIDCount, m_nRow + 1);
    if (!m_bFound && m_ulRecordID != 0) {
        const size_t n = strlen(szLine);
        snprintf(szLine + n, sizeof(szLine) - n, n ? "（%s）" : "%s", g_szRecordMissing);
    }
    if (szLine[0]) PaintText(hdc, 166, 16, szLine);
}
