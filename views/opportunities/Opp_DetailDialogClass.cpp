#include "views/opportunities/Opp_DetailDialogClass.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ListPageClass.h"
#include "dialogs/RelatedPages.h"
#include "views/RelatingGlobals.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"
#include "resources/opportunities_ids.h"

Opp_DetailDialogClass g_Opp_Detail;

namespace {
const int kMenuIDs[5] = {IDC_OPPD_MENU0, IDC_OPPD_MENU1, IDC_OPPD_MENU2, IDC_OPPD_MENU3, IDC_OPPD_MENU4};

const RecordFormTexts kTexts = {
    "Opp_DetailDialogClass.cpp 260: cod_GetOpportunity Error.",
    "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.",
    "Opp_DetailDialogClass.cpp 281: cod_ChageOpportunity Error.",
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
};

// Previous window procedures of the subclassed field controls, by id.
constexpr int kFirstFieldID = IDC_OPPD_SEARCH_EDIT;
constexpr int kLastFieldID = IDC_OPPD_CONTACT_DATE;
WNDPROC g_pfnOldFieldProc[kLastFieldID - kFirstFieldID + 1];

struct FieldLabel {
    int x, y;
    const char* pszText;
};
const FieldLabel kLabels[] = {
    {166, 67, "销售机会:"},    {166, 92, "简述:"},      {166, 232, "创建日期:"}, {362, 232, "预计结束日期:"},
    {587, 232, "预计销售额:"}, {812, 232, "实际销售额:"}, {166, 262, "最近联系:"}, {407, 262, "重要性:"},
    {602, 262, "销售阶段:"},   {827, 262, "成功概率:"},   {166, 312, "关联信息:"},
};

void SetPickerDate(HWND h, const DATE_STRUCT& d) {
    SYSTEMTIME st;
    memset(&st, 0, sizeof(st));
    st.wYear = (WORD)d.year;
    st.wMonth = d.month;
    st.wDay = d.day;
    SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
}

DATE_STRUCT ReadPickerDate(HWND h) {
    SYSTEMTIME st;
    memset(&st, 0, sizeof(st));
    SendMessageA(h, DTM_GETSYSTEMTIME, 0, (LPARAM)&st);
    DATE_STRUCT d;
    d.year = (SQLSMALLINT)st.wYear;
    d.month = st.wMonth;
    d.day = st.wDay;
    return d;
}

// The window text, cut at a character boundary to nSize - 1 bytes.
void ReadText(HWND h, char* pszBuf, size_t nSize) {
    char szText[512] = "";
    GetWindowTextA(h, szText, sizeof(szText));
    gbk::CopyCut(pszBuf, nSize, szText);
}

// Room for any amount written with two decimals (the largest double has 309
// digits before the point).
constexpr int kAmountSize = 400;

// An amount as typed: the decimal number at the start of the text, whatever
// the locale; 0 when there is none. The whole text is read, so that a large
// stored amount shown in full comes back unchanged.
double ReadAmount(HWND h) {
    char szText[kAmountSize];
    ReadText(h, szText, sizeof(szText));
    const char* p = szText;
    while (*p == ' ') p++;
    if (*p == '+') p++;
    double d = 0;
    std::from_chars(p, p + strlen(p), d);
    return d;
}

void WriteAmount(HWND h, double d) {
    char szText[kAmountSize];
    auto r = std::to_chars(szText, szText + sizeof(szText) - 1, d, std::chars_format::fixed, 2);
    *(r.ec == std::errc() ? r.ptr : szText) = 0;
    SetWindowTextA(h, szText);
}

HWND MakeControl(HWND hParent, HINSTANCE hInst, HFONT hFont, const char* pszClass, const char* pszText, DWORD dwStyle,
                 int nID, int x, int y, int w, int h) {
    HWND hCtl = CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, w, h, hParent,
                                (HMENU)(INT_PTR)nID, hInst, nullptr);
    SendMessageA(hCtl, WM_SETFONT, (WPARAM)hFont, 0);
    return hCtl;
}

void Subclass(HWND h) {
    const int nID = GetDlgCtrlID(h);
    if (nID < kFirstFieldID || nID > kLastFieldID) return;
    g_pfnOldFieldProc[nID - kFirstFieldID] = (WNDPROC)SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)FieldEditProc_OppDetail);
}
}  // namespace

LRESULT CALLBACK FieldEditProc_OppDetail(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const int nID = GetDlgCtrlID(hWnd);
    if (uMsg == WM_KEYDOWN) {
        if (wParam == VK_RETURN && nID == IDC_OPPD_SEARCH_EDIT) {
            g_Opp_Detail.QuickSearch();
        } else if (wParam == VK_TAB) {
            if (HWND hTarget = g_Opp_Detail.TabTarget(nID, GetKeyState(VK_SHIFT) < 0)) SetFocus(hTarget);
        }
    }
    WNDPROC pfnOld = nID >= kFirstFieldID && nID <= kLastFieldID ? g_pfnOldFieldProc[nID - kFirstFieldID] : nullptr;
    if (!pfnOld) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
}

Opp_DetailDialogClass::Opp_DetailDialogClass()
    : m_hSubject(nullptr), m_hDescription(nullptr), m_hPrivate(nullptr), m_hCreateDate(nullptr), m_hDieDate(nullptr),
      m_hEstimateSale(nullptr), m_hSale(nullptr), m_hImportant(nullptr), m_hPhase(nullptr), m_hProbability(nullptr),
      m_hContactDate(nullptr), m_Links{} {}

int Opp_DetailDialogClass::ToolbarButton() const { return TB_OPPORTUNITIES; }

const RecordFormTexts& Opp_DetailDialogClass::FormTexts() const { return kTexts; }

void Opp_DetailDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE hi = m_hInstance;
    HFONT hf = m_hFont;

    MakeOppMenu(m_Links, kMenuIDs);
    CreateFrameControls(hWnd, IDC_OPPD_SEARCH_EDIT, IDC_OPPD_SEARCH, nullptr, nullptr, m_Links, 5, IDC_OPPD_HELP);
    CreateFormButtons(hWnd, {IDC_OPPD_SAVE, IDC_OPPD_CANCEL, IDC_OPPD_EDIT, IDC_OPPD_DELETE, IDC_OPPD_FIRST,
                             IDC_OPPD_PREV, IDC_OPPD_NEXT, IDC_OPPD_LAST});

    const DWORD dwEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    m_hSubject = MakeControl(hWnd, hi, hf, "EDIT", "", dwEdit, IDC_OPPD_SUBJECT, 240, 65, 560, 20);
    SendMessageA(m_hSubject, EM_LIMITTEXT, 254, 0);
    m_hPrivate = MakeControl(hWnd, hi, hf, "BUTTON", "私有", BS_AUTOCHECKBOX | WS_TABSTOP, IDC_OPPD_PRIVATE, 830, 65,
                             55, 20);
    m_hDescription = MakeControl(hWnd, hi, hf, "EDIT", "", ES_MULTILINE | WS_VSCROLL | WS_BORDER, IDC_OPPD_DESCRIPTION,
                                 240, 90, 780, 130);
    m_hCreateDate = MakeControl(hWnd, hi, hf, "SysDateTimePick32", "DateTime", WS_TABSTOP, IDC_OPPD_CREATE_DATE, 240,
                                230, 105, 20);
    m_hDieDate =
        MakeControl(hWnd, hi, hf, "SysDateTimePick32", "DateTime", WS_TABSTOP, IDC_OPPD_DIE_DATE, 466, 230, 105, 20);
    m_hEstimateSale = MakeControl(hWnd, hi, hf, "EDIT", "", dwEdit, IDC_OPPD_ESTIMATE_SALE, 679, 230, 120, 20);
    SendMessageA(m_hEstimateSale, EM_LIMITTEXT, 17, 0);
    m_hSale = MakeControl(hWnd, hi, hf, "EDIT", "", dwEdit, IDC_OPPD_SALE, 900, 230, 120, 20);
    SendMessageA(m_hSale, EM_LIMITTEXT, 17, 0);
    m_hContactDate = MakeControl(hWnd, hi, hf, "SysDateTimePick32", "DateTime", WS_DISABLED, IDC_OPPD_CONTACT_DATE, 240,
                                 260, 105, 20);
    m_hImportant = MakeControl(hWnd, hi, hf, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_BORDER,
                               IDC_OPPD_IMPORTANT, 466, 260, 105, 200);
    m_hPhase = MakeControl(hWnd, hi, hf, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_BORDER, IDC_OPPD_PHASE, 679,
                           260, 120, 200);
    m_hProbability = MakeControl(hWnd, hi, hf, "EDIT", "", WS_BORDER, IDC_OPPD_PROBABILITY, 900, 260, 120, 20);
    SendMessageA(m_hProbability, EM_SETREADONLY, TRUE, 0);

    for (HWND h : {m_hSearchEdit, m_hSubject, m_hEstimateSale, m_hSale, m_hPrivate, m_hCreateDate, m_hDieDate,
                   m_hImportant, m_hPhase})
        Subclass(h);

    static const char* const kTabs[3] = {"计划日志", "联系人", "客户单位"};
    static const DLGPROC kProcs[3] = {RelatedTasksPageProc_OppDetail, RelatedContactsPageProc_OppDetail,
                                      RelatedAccountsPageProc_OppDetail};
    CreateRelationTabs(hWnd, 240, 310, 780, 302, kTabs, kProcs, 3);
    m_bHover = 0;
}

HWND Opp_DetailDialogClass::TabTarget(int nID, BOOL bBackward) const {
    switch (nID) {
    case IDC_OPPD_SUBJECT: return bBackward ? m_hPhase : m_hPrivate;
    case IDC_OPPD_PRIVATE: return bBackward ? m_hSubject : m_hDescription;
    case IDC_OPPD_CREATE_DATE: return bBackward ? m_hDescription : m_hDieDate;
    case IDC_OPPD_DIE_DATE: return bBackward ? m_hCreateDate : m_hEstimateSale;
    case IDC_OPPD_ESTIMATE_SALE: return bBackward ? m_hDieDate : m_hSale;
    case IDC_OPPD_SALE: return bBackward ? m_hEstimateSale : m_hImportant;
    case IDC_OPPD_IMPORTANT: return bBackward ? m_hSale : m_hPhase;
    case IDC_OPPD_PHASE: return bBackward ? m_hImportant : m_hSubject;
    default: return nullptr;
    }
}

void Opp_DetailDialogClass::QuickSearch() {
    SearchOnListPage(&g_Opp_Homepage, g_Opp_Homepage.m_szKeyword, m_hSearchEdit);
}

void Opp_DetailDialogClass::EnableCreationDate(BOOL bEnable) { EnableWindow(m_hCreateDate, bEnable); }

void Opp_DetailDialogClass::SetReadOnly(int bReadOnly) {
    const BOOL bRO = bReadOnly == 1;
    for (HWND h : {m_hSubject, m_hDescription, m_hEstimateSale, m_hSale}) SendMessageA(h, EM_SETREADONLY, bRO, 0);
    for (HWND h : {m_hDieDate, m_hImportant, m_hPhase, m_hPrivate}) EnableWindow(h, !bRO);
    EnableWindow(m_hCreateDate, FALSE);
}

void Opp_DetailDialogClass::ClearForm() {
    for (HWND h : {m_hSubject, m_hDescription, m_hEstimateSale, m_hSale, m_hProbability}) SetWindowTextA(h, "");
    for (HWND h : {m_hImportant, m_hPhase}) SendMessageA(h, CB_SETCURSEL, (WPARAM)-1, 0);
    SYSTEMTIME st;
    GetLocalTime(&st);
    for (HWND h : {m_hCreateDate, m_hDieDate, m_hContactDate}) SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&st);
    SendMessageA(m_hPrivate, BM_SETCHECK, BST_UNCHECKED, 0);
}

void Opp_DetailDialogClass::RefillLookups() {
    for (HWND h : {m_hImportant, m_hPhase}) {
        for (int i = (int)SendMessageA(h, CB_GETCOUNT, 0, 0) - 1; i >= 0; i--) SendMessageA(h, CB_DELETESTRING, i, 0);
    }
    m_Opp.cod_LoadImportantTable();
    for (int i = 0; i < m_Opp.m_nImportant && i < Opp_DetailClass::MAX_IMPORTANT; i++)
        SendMessageA(m_hImportant, CB_ADDSTRING, 0, (LPARAM)m_Opp.m_szImportant[i]);
    m_Opp.cod_LoadPhaseTable();
    for (int i = 0; i < m_Opp.m_nPhase && i < Opp_DetailClass::MAX_PHASE; i++)
        SendMessageA(m_hPhase, CB_ADDSTRING, 0, (LPARAM)m_Opp.m_szPhase[i]);
}

void Opp_DetailDialogClass::FillCombo(HWND hCombo, const char (*pszNames)[50], int nNames, const char* pszValue) {
    for (int i = (int)SendMessageA(hCombo, CB_GETCOUNT, 0, 0) - 1; i >= 0; i--)
        SendMessageA(hCombo, CB_DELETESTRING, i, 0);
    int nSelect = -1;
    for (int i = 0; i < nNames; i++) {
        SendMessageA(hCombo, CB_INSERTSTRING, i, (LPARAM)pszNames[i]);
        if (strcmp(pszNames[i], pszValue) == 0) nSelect = i;
    }
    // A value the lookup table no longer holds is still shown and selected,
    // however many names the table has, so that saving keeps it.
    if (nSelect < 0 && pszValue[0]) nSelect = (int)SendMessageA(hCombo, CB_INSERTSTRING, nNames, (LPARAM)pszValue);
    SendMessageA(hCombo, CB_SETCURSEL, (WPARAM)nSelect, 0);
}

void Opp_DetailDialogClass::RecordToForm() {
    const OppNode* p = m_Opp.m_pCurrent;
    if (!p) return;
    SetWindowTextA(m_hSubject, p->opp_subject);
    SetWindowTextA(m_hDescription, p->opp_description ? p->opp_description : "");
    SetPickerDate(m_hCreateDate, p->opp_create_date);
    SetPickerDate(m_hDieDate, p->opp_die_date);
    WriteAmount(m_hEstimateSale, p->opp_estimate_sale);
    WriteAmount(m_hSale, p->opp_sale);

    // The lookup loads reuse the data object; keep the record's own values.
    char szImportant[50], szPhase[50];
    gbk::CopyCut(szImportant, sizeof(szImportant), p->opp_important);
    gbk::CopyCut(szPhase, sizeof(szPhase), p->opp_phase);
    const int nProbability = p->opp_succeed_probability;
    const DATE_STRUCT dContact = p->opp_recent_contact_date;
    const int bPrivate = p->opp_private;

    m_Opp.cod_LoadImportantTable();
    FillCombo(m_hImportant, m_Opp.m_szImportant,
              m_Opp.m_nImportant < Opp_DetailClass::MAX_IMPORTANT ? m_Opp.m_nImportant : Opp_DetailClass::MAX_IMPORTANT,
              szImportant);
    m_Opp.cod_LoadPhaseTable();
    FillCombo(m_hPhase, m_Opp.m_szPhase,
              m_Opp.m_nPhase < Opp_DetailClass::MAX_PHASE ? m_Opp.m_nPhase : Opp_DetailClass::MAX_PHASE, szPhase);

    char szText[32];
    snprintf(szText, sizeof(szText), "%d%%", nProbability);
    SetWindowTextA(m_hProbability, szText);
    SetPickerDate(m_hContactDate, dContact);
    SendMessageA(m_hPrivate, BM_SETCHECK, bPrivate == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Opp_DetailDialogClass::FormToRecord() {
    m_Opp.cod_FreeList();
    if (m_Opp.cod_AllocHead() == -1) {
        MessageBoxA(nullptr, "Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.", TARVEL_CAPTION, MB_OK);
        return -1;
    }
    OppNode* p = m_Opp.m_pCurrent;
    ReadText(m_hSubject, p->opp_subject, sizeof(p->opp_subject));

    const int nLength = GetWindowTextLengthA(m_hDescription);
    if (m_Opp.cod_AllocNodeDescription((unsigned)(nLength > 0 ? nLength : 0)) == -1 || !p->opp_description) {
        MessageBoxA(nullptr, "Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.", TARVEL_CAPTION, MB_OK);
        m_Opp.cod_FreeList();
        return -1;
    }
    p->opp_description[0] = 0;
    if (nLength > 0) GetWindowTextA(m_hDescription, p->opp_description, nLength + 1);

    p->opp_create_date = ReadPickerDate(m_hCreateDate);
    p->opp_die_date = ReadPickerDate(m_hDieDate);
    p->opp_estimate_sale = ReadAmount(m_hEstimateSale);
    p->opp_sale = ReadAmount(m_hSale);
    ReadText(m_hImportant, p->opp_important, sizeof(p->opp_important));
    ReadText(m_hPhase, p->opp_phase, sizeof(p->opp_phase));
    char szProbability[32];
    ReadText(m_hProbability, szProbability, sizeof(szProbability));
    p->opp_succeed_probability = (int)strtol(szProbability, nullptr, 10);
    p->opp_recent_contact_date = ReadPickerDate(m_hContactDate);
    p->opp_private = SendMessageA(m_hPrivate, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return 0;
}

int Opp_DetailDialogClass::LoadRecord(ULONG ulID, BOOL bRelating) {
    m_Opp.cod_FreeList();
    if (m_Opp.cod_GetOpportunity(ulID) == -1) return -1;
    if (bRelating) SetRelatingName(g_szRelatingName, m_Opp.m_pCurrent->opp_subject);
    RecordToForm();
    return 0;
}

int Opp_DetailDialogClass::AddRecord(ULONG* pulNewID) {
    *pulNewID = 0;
    m_Opp.m_ulAccID = m_Opp.m_ulConID = m_Opp.m_ulTasID = 0;
    if (m_Opp.cod_AddOpportunity() == -1) return -1;
    m_Opp.m_ulOppID = 0;
    if (m_Opp.cod_GetLastOpportunityID() == -1) return -1;
    *pulNewID = m_Opp.m_ulOppID;
    return 0;
}

int Opp_DetailDialogClass::ChangeRecord(ULONG ulID) { return m_Opp.cod_ChageOpportunity(ulID); }

int Opp_DetailDialogClass::DeleteRecord(ULONG ulID) { return m_Opp.cod_DeleteOpportunity(ulID); }

void Opp_DetailDialogClass::OnPhaseChange() {
    const int i = (int)SendMessageA(m_hPhase, CB_GETCURSEL, 0, 0);
    // Only a phase of the lookup table has a probability of its own; for a
    // value only the record holds the field keeps what it shows.
    if (i < 0 || i >= m_Opp.m_nPhase || i >= Opp_DetailClass::MAX_PHASE) return;
    char szText[32];
    snprintf(szText, sizeof(szText), "%s%%", m_Opp.m_szPhaseProbability[i]);
    SetWindowTextA(m_hProbability, szText);
}

void Opp_DetailDialogClass::OnPaint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    PaintLeftPanel(hdc);
    PaintNavCaption(hdc);
    SelectObject(hdc, m_hFont);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    for (const FieldLabel& l : kLabels) PaintText(hdc, l.x, l.y, l.pszText);
    EndPaint(hWnd, &ps);
}

LRESULT Opp_DetailDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_SHOWRECORD: return OnShowRecord(wParam, lParam);
    case UM_NEWRECORD: return OnNewRecord();
    case UM_RESTOREVIEW: return OnRestoreView();
    case WM_PAINT: OnPaint(hWnd); return 0;
    case WM_NOTIFY: OnTabNotify((const NMHDR*)lParam); return 0;
    case WM_RBUTTONUP: return 0;
    case WM_COMMAND:
        if ((int)wParam == IDC_OPPD_SEARCH) {
            QuickSearch();
            return 0;
        }
        if (LOWORD(wParam) == IDC_OPPD_PHASE && HIWORD(wParam) == CBN_SELCHANGE) {
            OnPhaseChange();
            return 0;
        }
        if (OnFormCommand(wParam)) return 0;
        break;
    default: break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
