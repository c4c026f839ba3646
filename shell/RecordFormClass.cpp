#include "shell/RecordFormClass.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "shell/RelatingGlobals.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

const char* const g_szRecordMissing = msg::kRecordMissing;

namespace {

HWND MakeButton(HWND hParent, HINSTANCE hInst, HFONT hFont, const char* pszText, int nID, int x, int y, int w,
                BOOL bEnabled) {
    HWND h = CreateWindowExA(0, "BUTTON", pszText, WS_CHILD | WS_VISIBLE | (bEnabled ? 0 : WS_DISABLED), x, y, w, 22,
                             hParent, (HMENU)(INT_PTR)nID, hInst, nullptr);
    SendMessageA(h, WM_SETFONT, (WPARAM)hFont, 0);
    return h;
}
}  // namespace

RecordFormClass::RecordFormClass(const RecordFormDef& def)
    : m_hSaveButton(nullptr),
      m_hCancelButton(nullptr),
      m_hEditButton(nullptr),
      m_hDeleteButton(nullptr),
      m_hFirstButton(nullptr),
      m_hPrevButton(nullptr),
      m_hNextButton(nullptr),
      m_hLastButton(nullptr),
      m_ulRecordID(0),
      m_nRow(0),
      m_bFound(TRUE),
      m_Def(def),
      m_IDs{},
      m_Mode(kBrowse),
      m_hFields{},
      m_pfnOldField{} {
    m_szTitle[0] = 0;
    m_szNavPainted[0] = 0;
    m_rcCaption = {166, 16, 700, 36};
}

RecordFormDef FieldlessFormDef(int nButton, int nFirstID, int x, int y, int w, int h, const RelationTabDef* pTabs,
                               int nTabs, BaseDialogClass* pListPage, char* pszListKeyword) {
    RecordFormDef def = {};
    def.nButton = nButton;
    def.nSearchEditID = nFirstID;
    def.nSearchID = nFirstID + 1;
    def.nHelpID = nFirstID + 2;
    const int n = nFirstID + 3;
    def.ids = {n, n + 1, n + 2, n + 3, n + 4, n + 5, n + 6, n + 7};
    def.nTabX = x;
    def.nTabY = y;
    def.nTabWidth = w;
    def.nTabHeight = h;
    def.pTabs = pTabs;
    def.nTabs = nTabs;
    def.texts = {"", "", "", "Opp_HomepageDialogClass.cpp 89: m_pulID Error."};
    def.pListPage = pListPage;
    def.pszListKeyword = pszListKeyword;
    return def;
}

int RecordFormClass::TakeIDList(const ULONG* pulID, int nCount, const char* pszTitle) {
    if (pszTitle) gbk::CopyCut(m_szTitle, sizeof(m_szTitle), pszTitle);
    return CopyIDArray(pulID, nCount);
}

int HandOverToForm(RecordFormClass* pForm, const ULONG* pulID, int nCount, int nRow, const char* pszTitle) {
    if (!pForm) return -1;
    if (nRow == -1) {
        BaseDialogClass* pOld = g_pCurrentDialog;
        pForm->ShowDialog();
        SendMessageA(pForm->m_hWnd, UM_NEWRECORD, 0, 0);
        FinishViewSwitch(pOld, pForm);
        pForm->FreeIDArray();
        return 0;
    }
    // Only a row inside the list, whose id is known, is handed over.
    if (!pulID || nRow < 0 || nRow >= nCount) return -1;
    const ULONG ulID = pulID[nRow];
    BaseDialogClass* pOld = g_pCurrentDialog;
    pForm->ShowDialog();
    if (pForm->TakeIDList(pulID, nCount, pszTitle) != 0) ReportError(pForm->Def().texts.pszIDArrayError);
    SendMessageA(pForm->m_hWnd, UM_SHOWRECORD, (WPARAM)nRow, (LPARAM)ulID);
    FinishViewSwitch(pOld, pForm);
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

void RecordFormClass::CreateRelationTabs(HWND hWnd) {
    m_Tab.Create(m_hInstance, hWnd, m_Def.nTabX, m_Def.nTabY, m_Def.nTabWidth, m_Def.nTabHeight,
                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    if (!m_Tab.m_hTab) return;
    SendMessageA(m_Tab.m_hTab, WM_SETFONT, (WPARAM)m_hFont, 0);
    for (int i = 0; i < m_Def.nTabs; i++)
        m_Tab.AddPage(i, m_Def.pTabs[i].pszCaption, "ID_DLG_RELATING", m_Def.pTabs[i].pfnPageProc);
    m_Tab.SetCurSel(0);
    m_Tab.OnSelChange();
}

void RecordFormClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.menu, m_Def.nHelpID);
    CreateFormButtons(hWnd, m_Def.ids);
    for (int i = 0; i < Fields(); i++) {
        const FormFieldDef& f = m_Def.pFields[i];
        m_hFields[i] = MakeField(hWnd, m_hInstance, m_hFont, f);
        // Tab stays in a memo.
        if (((f.uFlags & kFieldInTabCycle) && f.kind != kFieldMemo) || (f.uFlags & kFieldDoubleClick))
            m_pfnOldField[i] = (WNDPROC)SetWindowLongPtrA(m_hFields[i], GWLP_WNDPROC, (LONG_PTR)FieldEditProc);
    }
    if (m_Def.nTabs > 0) CreateRelationTabs(hWnd);
    m_bHover = 0;
}

void RecordFormClass::SearchOnModuleListPage(HWND hEdit) {
    if (m_Def.pListPage && m_Def.pszListKeyword) SearchOnListPage(m_Def.pListPage, m_Def.pszListKeyword, hEdit);
}

int RecordFormClass::FieldRow(int nID) const {
    for (int i = 0; i < Fields(); i++)
        if (m_Def.pFields[i].nID == nID) return i;
    return -1;
}

HWND RecordFormClass::Field(int nID) const {
    const int i = FieldRow(nID);
    return i < 0 ? nullptr : m_hFields[i];
}

HWND RecordFormClass::TabTarget(int nID, BOOL bBackward) const {
    const int i = TabCycleTarget(m_Def.pFields, Fields(), FieldRow(nID), bBackward);
    return i < 0 ? nullptr : m_hFields[i];
}

HWND RecordFormClass::FirstField() const {
    for (int i = 0; i < Fields(); i++)
        if (m_Def.pFields[i].uFlags & kFieldInTabCycle) return m_hFields[i];
    return nullptr;
}

LRESULT CALLBACK RecordFormClass::FieldEditProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    RecordFormClass* pForm = dynamic_cast<RecordFormClass*>(HwndToDialog(GetParent(hWnd)));
    const int nID = GetDlgCtrlID(hWnd);
    const int nRow = pForm ? pForm->FieldRow(nID) : -1;
    WNDPROC pfnOld = nRow >= 0 ? pForm->m_pfnOldField[nRow] : nullptr;
    if (pForm && uMsg == WM_KEYDOWN && wParam == VK_TAB) {
        if (HWND hTarget = pForm->TabTarget(nID, GetKeyState(VK_SHIFT) < 0)) {
            SetFocus(hTarget);
            // Not passed on: a control's own Tab handling (a check box's)
            // would move the focus once more.
            return 0;
        }
    }
    if (nRow >= 0 && uMsg == WM_LBUTTONDBLCLK && (pForm->m_Def.pFields[nRow].uFlags & kFieldDoubleClick))
        pForm->OnFieldDoubleClick(nID);
    if (!pfnOld) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
}

void RecordFormClass::ClearForm() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    for (int i = 0; i < Fields(); i++) {
        HWND h = m_hFields[i];
        switch (m_Def.pFields[i].kind) {
        case kFieldEdit:
        case kFieldMemo: SetWindowTextA(h, ""); break;
        case kFieldCombo:
            if (!(m_Def.pFields[i].uFlags & kFieldKeepsSelection)) SendMessageA(h, CB_SETCURSEL, (WPARAM)-1, 0);
            break;
        case kFieldDate:
        case kFieldTime: SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st); break;
        case kFieldCheck: SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0); break;
        case kFieldButton: break;
        }
    }
}

void RecordFormClass::SetReadOnly(int bReadOnly) {
    const BOOL bRO = bReadOnly == 1;
    for (int i = 0; i < Fields(); i++) {
        const FormFieldDef& f = m_Def.pFields[i];
        if (f.uFlags & kFieldFixed) continue;
        if (f.uFlags & kFieldCreation)
            EnableWindow(m_hFields[i], FALSE);
        else if (f.kind == kFieldEdit || f.kind == kFieldMemo)
            SendMessageA(m_hFields[i], EM_SETREADONLY, bRO, 0);
        else
            EnableWindow(m_hFields[i], !bRO);
    }
}

void RecordFormClass::EnableCreationDate(BOOL bEnable) {
    for (int i = 0; i < Fields(); i++)
        if ((m_Def.pFields[i].uFlags & kFieldCreation) && !(m_Def.pFields[i].uFlags & kFieldFixed))
            EnableWindow(m_hFields[i], bEnable);
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
    if (g_History.SetIDArray(m_pulID, m_pulID ? m_nIDCount : 0) != 0) ReportError(FormTexts().pszIDArrayError);
    pNode->m_nIDCount = m_pulID ? m_nIDCount : 0;
}

void RecordFormClass::BrowseRecord(BOOL bRelating) {
    m_bFound = LoadRecord(m_ulRecordID, bRelating) == 0;
    if (!m_bFound) ReportError(FormTexts().pszLoadError);
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
}

LRESULT RecordFormClass::OnShowRecord(WPARAM wParam, LPARAM lParam) {
    g_Toolbar.CheckButton(ToolbarButton(), 1);
    SetWindowTextA(m_hSearchEdit, "");
    ClearForm();
    m_ulRecordID = (ULONG)lParam;
    const int nRow = (int)wParam;
    BOOL bListOfOne = FALSE;
    if (nRow >= 0 && HasRow(nRow) && m_pulID[nRow] == m_ulRecordID) {
        m_nRow = nRow;
    } else if (!m_pulID) {
        // A record shown without a list (a saved new record): no position
        // line, no stepping.
        if (nRow >= 0) m_nRow = 0;
    } else if (nRow >= 0 || !HasRow(m_nRow) || m_pulID[m_nRow] != m_ulRecordID) {
        // A record outside the handed list is a list of one.
        if (CopyIDArray(&m_ulRecordID, 1) != 0) ReportError(FormTexts().pszIDArrayError);
        m_nRow = 0;
        bListOfOne = TRUE;
    }

    if (g_History.m_pHead && !g_History.IsCurrentOf(this)) {
        if (HistoryNode* pNode = AppendHistoryNode()) FillHistoryNode(pNode);
    } else if (bListOfOne) {
        if (HistoryNode* pNode = OwnHistoryNode()) FillHistoryNode(pNode);
    }
    SetNavButtons();
    ReloadRelated(m_ulRecordID);
    BrowseRecord(TRUE);
    InvalidateNavCaption();
    if (HWND hFirst = m_Def.bFocusFirstField ? FirstField() : nullptr) SetFocus(hFirst);
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
    InvalidateNavCaption();
    if (HWND hFirst = m_Def.bFocusFirstField ? FirstField() : nullptr) SetFocus(hFirst);
    return 0;
}

LRESULT RecordFormClass::OnRestoreView() {
    g_Toolbar.CheckButton(ToolbarButton(), 1);
    HistoryNode* pNode = OwnHistoryNode();
    if (!pNode || pNode->m_nRecordID == 0) {
        // The combo boxes keep their lists.
        EnterNewMode();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    }
    ClearForm();
    m_ulRecordID = pNode->m_nRecordID;
    m_nRow = pNode->m_nParam;
    if (TakeIDList(pNode->m_pulID, pNode->m_nIDCount, pNode->m_pszTitle) != 0) ReportError(FormTexts().pszIDArrayError);
    if (m_pulID && (!HasRow(m_nRow) || m_pulID[m_nRow] != m_ulRecordID)) {
        // The entry's row does not name its record: the record is a list of one.
        if (CopyIDArray(&m_ulRecordID, 1) != 0) ReportError(FormTexts().pszIDArrayError);
        m_nRow = 0;
        FillHistoryNode(pNode);
    }
    SetNavButtons();
    ReloadRelated(m_ulRecordID);
    // The restored record names itself again, so that the dialogs opened from
    // its relation pages do not start with the record shown last.
    BrowseRecord(TRUE);
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
            ReportError(FormTexts().pszChangeError);
            return;
        }
        if (nResult == -100) {
            m_bFound = FALSE;
            ReportError(g_szRecordMissing);
            SetModeButtons(kEdit);
            InvalidateNavCaption();
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
        ReportError(FormTexts().pszAddError);
        return;
    }
    // The saved record is shown without a list: no position line, and the
    // stepping buttons stay disabled.
    FreeIDArray();
    m_nRow = 0;
    m_ulRecordID = ulNewID;
    HistoryNode* pNode = AppendHistoryNode();
    if (!pNode) pNode = OwnHistoryNode();  // no new entry: the blank form's entry shows the record
    if (pNode) FillHistoryNode(pNode);
    SendMessageA(m_hWnd, UM_SHOWRECORD, 0, (LPARAM)ulNewID);
}

void RecordFormClass::OnDelete() {
    if (m_ulRecordID == 0) {
        ReportError(msg::kDeleteNothing);
        return;
    }
    if (!m_bFound) return;
    if (MessageBoxA(m_hWnd, msg::kConfirmDelete, msg::kConfirmDeleteCaption,
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
    if (nID == m_IDs.nFirst)
        Step(0);
    else if (nID == m_IDs.nPrev)
        Step(m_nRow - 1);
    else if (nID == m_IDs.nNext)
        Step(m_nRow + 1);
    else if (nID == m_IDs.nLast)
        Step(m_nIDCount - 1);
    else if (nID == m_IDs.nEdit)
        OnEdit();
    else if (nID == m_IDs.nSave)
        OnSave();
    else if (nID == m_IDs.nCancel)
        OnCancel();
    else if (nID == m_IDs.nDelete)
        OnDelete();
    else
        return FALSE;
    return TRUE;
}

BOOL RecordFormClass::OnTabNotify(const NMHDR* pHdr) {
    if (!pHdr || pHdr->hwndFrom != m_Tab.m_hTab || pHdr->code != TCN_SELCHANGE) return FALSE;
    m_Tab.OnSelChange();
    return TRUE;
}

void RecordFormClass::PaintPage(HDC hdc) {
    PaintNavCaption(hdc);
    SelectObject(hdc, m_hFont);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    for (int i = 0; i < m_Def.nLabels; i++)
        PaintText(hdc, m_Def.pLabels[i].x, m_Def.pLabels[i].y, m_Def.pLabels[i].pszText);
}

LRESULT RecordFormClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_SHOWRECORD: return OnShowRecord(wParam, lParam);
    case UM_NEWRECORD: return OnNewRecord();
    case UM_RESTOREVIEW: return OnRestoreView();
    case WM_NOTIFY: OnTabNotify((const NMHDR*)lParam); return 0;
    case WM_RBUTTONUP: return 0;
    case WM_COMMAND:
        if (OnFieldCommand(wParam, lParam)) return 0;
        if (OnFormCommand(wParam)) return 0;
        break;
    default: break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}

void RecordFormClass::NavCaptionText(char* pszLine, size_t nSize) const {
    pszLine[0] = 0;
    // The title was cut at a character boundary when the list was taken.
    if (m_pulID) snprintf(pszLine, nSize, "%s记录共%d条，现在是第%d条", m_szTitle, m_nIDCount, m_nRow + 1);
    if (!m_bFound && m_ulRecordID != 0) {
        const size_t n = strlen(pszLine);
        snprintf(pszLine + n, nSize - n, n ? "（%s）" : "%s", g_szRecordMissing);
    }
}

void RecordFormClass::InvalidateNavCaption() {
    char szLine[sizeof(m_szNavPainted)];
    NavCaptionText(szLine, sizeof(szLine));
    InvalidateTextLine(m_rcCaption, 166, 16, m_szNavPainted, szLine);
}

void RecordFormClass::PaintNavCaption(HDC hdc) {
    NavCaptionText(m_szNavPainted, sizeof(m_szNavPainted));
    if (m_szNavPainted[0]) PaintText(hdc, 166, 16, m_szNavPainted);
}
