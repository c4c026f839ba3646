#include "settings/OptionSettingDialogClass.h"

#include "resources/settings_ids.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"

OptionSettingDialogClass g_OptionSetting;

namespace {
// One row per list, in mode order.
struct ModeDef {
    UINT uOpen;
    void (SettingClass::*pfnLoad)();
    const char* pszOpenCaption;
    const char* pszRestoreCaption;
    const char* pszTitle;
    const char* pszLabel;
    const char* pszHelp[3];
};

const ModeDef kModes[6] = {
    {UM_OPEN_IMPORTANT,
     &SettingClass::cst_GetImportant,
     "重要性",
     "重要性",
     "重要性类型设置",
     "重要性类型:",
     {"下表中的重要性分类将被“项目机会”、“客户单位”、“联系人”共同使用。您选择好左边列表中的记录，可以在右边的"
      "编辑",
      "编辑框内修改。修改结束时请点击“确定”键保存修改结果。", "您可以根据自己的需要赋予“重要性”分类新的定义。"}},
    {UM_OPEN_RELATION,
     &SettingClass::cst_GetRelation,
     "关系",
     "关系",
     "关系类型设置",
     "关系类型:",
     {"下表中的关系分类将被“客户单位”、“联系人”共同使用。您选择好左边列表中的记录，可以在邮编的编辑框内修改。"
      "修改",
      "结束时请点击“确定”键保存修改结果。", "您可以根据自己的需要赋予“关系”分类新的定义。"}},
    {UM_OPEN_PROVINCE,
     &SettingClass::cst_GetProvince,
     "区域",
     "地区",
     "区域设置",
     "区域:",
     {"下表中的区域分类将被“客户单位”、“联系人”共同使用。您选择好左边列表中的记录，可以在邮编的编辑框内修改。"
      "修改",
      "结束时请点击“确定”键保存修改结果。", "您可以根据自己的需要增加或修改区域分类。"}},
    {UM_OPEN_PHASE,
     &SettingClass::cst_GetPhase,
     "项目阶段",
     "销售阶段",
     "项目阶段设置",
     "项目阶段:",
     {"下表中的项目阶段主要是帮助您对项目机会进行“漏斗化”管理，不同的人和企业都有不同的漏斗定义方式，您可以定"
      "义自己",
      "的项目阶段。您选择好左边列表中的记录，可以在邮编的编辑框内修改。修改结束时请点击“确定”键保存修改结果"
      "。",
      nullptr}},
    {UM_OPEN_INDUSTRY,
     &SettingClass::cst_GetIndustry,
     "行业",
     "行业",
     "行业设置",
     "行业:",
     {"下表中的行业分类将被“客户单位”使用，联系人的行业属性取决于其客户单位。您选择好左边列表中的记录，可以在"
      "右边的",
      "编辑框内修改。修改结束时请点击“确定”键保存修改结果。", "您可以根据自己的需要增加或修改行业分类。"}},
    {UM_OPEN_TYPE,
     &SettingClass::cst_GetType,
     "类型",
     "类型",
     "客户类型设置",
     "客户类型:",
     {"下表中的客户类型被“客户单位”使用，建议您不要修改“竞争对手”这个记录，Tarvel软件在进行邮件群发时缺省不会"
      "对",
      "“竞争对手”的联系人发送邮件，您如果修改了这个分类，上述设置可能无效。",
      "您可以根据自己的需要增加或修改客户类型分类。"}},
};

const int kHelpY[3] = {72, 92, 122};
const char kProbabilityLabel[] = "成功概率:";
const char kNoList[] = "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.";

// The value and probability edits: read-only until 添加 or 修改. The
// probability holds 9 bytes and the terminating zero.
const FormFieldDef kFields[] = {
    {kFieldEdit, IDC_OSET_VALUE, 630, 205, 240, 20, WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, 49, nullptr, 0},
    {kFieldEdit, IDC_OSET_PROBABILITY, 630, 265, 240, 20, WS_BORDER | ES_READONLY, 9, nullptr, 0},
};

SettingPageDef MakeDef() {
    SettingPageDef def = {{IDC_OSET_MENU1, IDC_OSET_MENU2, IDC_OSET_MENU3, IDC_OSET_MENU4, IDC_OSET_MENU5,
                           IDC_OSET_MENU6, IDC_OSET_MENU7, IDC_OSET_MENU8},
                          IDC_OSET_HELP,
                          kFields,
                          (int)(sizeof(kFields) / sizeof(kFields[0])),
                          nullptr,
                          0,
                          nullptr,
                          0,
                          0};
    return def;
}

void SetColumnCaption(ListViewClass& list, int nColumn, const char* pszCaption) {
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<char*>(pszCaption);
    list.SetColumn(nColumn, &col);
}
}  // namespace

OptionSettingDialogClass::OptionSettingDialogClass()
    : SettingPageClass(MakeDef()),
      m_nMode(MODE_IMPORTANT),
      m_bModify(0),
      m_hValueEdit(nullptr),
      m_hProbabilityEdit(nullptr),
      m_hAddButton(nullptr),
      m_hModifyButton(nullptr),
      m_hDeleteButton(nullptr),
      m_hOkButton(nullptr),
      m_hCancelButton(nullptr),
      m_State(STATE_IDLE) {}

int OptionSettingDialogClass::ModeOfMessage(UINT uMsg) {
    for (int i = 0; i < 6; i++)
        if (kModes[i].uOpen == uMsg) return i;  // 40008 is the relation list here
    return -1;
}

UINT OptionSettingDialogClass::MessageOfMode(int nMode) { return nMode >= 0 && nMode < 6 ? kModes[nMode].uOpen : 0; }

void OptionSettingDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    SettingPageClass::InitDialog(hWnd);
    m_ValueList.Create(m_hInstance, hWnd, 170, 145, 420, 480,
                       WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, IDC_OSET_LIST);
    m_ValueList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    SendMessageA(m_ValueList.m_hListView, WM_SETFONT, (WPARAM)m_hFont, 0);
    m_ValueList.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
    m_ValueList.InsertColumn("", 150);
    m_ValueList.InsertColumn("", 220);
    m_ValueList.InitItem();

    const struct {
        HWND* ph;
        int nID;
        int x;
        const char* pszText;
        BOOL bEnabled;
    } kButtons[] = {
        {&m_hAddButton, IDC_OSET_ADD, 630, "添加", TRUE},        {&m_hModifyButton, IDC_OSET_MODIFY, 680, "修改", TRUE},
        {&m_hDeleteButton, IDC_OSET_DELETE, 730, "删除", TRUE},  {&m_hOkButton, IDC_OSET_OK, 780, "确定", FALSE},
        {&m_hCancelButton, IDC_OSET_CANCEL, 830, "取消", FALSE},
    };
    for (const auto& b : kButtons) {
        *b.ph = MakeControl(hWnd, m_hInstance, m_hFont, "BUTTON", b.pszText, 0, b.nID, b.x, 145, 40, 22);
        EnableWindow(*b.ph, b.bEnabled);
    }
    m_hValueEdit = Field(IDC_OSET_VALUE);
    m_hProbabilityEdit = Field(IDC_OSET_PROBABILITY);
    ShowWindow(m_hProbabilityEdit, m_nMode == MODE_PHASE ? SW_SHOW : SW_HIDE);
    m_State = STATE_IDLE;
}

void OptionSettingDialogClass::FillList() {
    m_ValueList.DeleteAllItems();
    if (!m_Setting.m_pCategoryHead) {
        ReportError(kNoList);
        return;
    }
    for (const CategoryNode* p = m_Setting.m_pCategoryHead; p; p = p->next) {
        m_ValueList.InsertItem(0, p->description);
        if (m_nMode == MODE_PHASE) m_ValueList.SetItemText(0, 1, p->probability);
    }
}

void OptionSettingDialogClass::ShowMode(const char* pszCaption) {
    SetColumnCaption(m_ValueList, 0, pszCaption);
    ShowWindow(m_hProbabilityEdit, m_nMode == MODE_PHASE ? SW_SHOW : SW_HIDE);
    (m_Setting.*kModes[m_nMode].pfnLoad)();
    FillList();
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
}

void OptionSettingDialogClass::EnterMode(int nMode) {
    EnsureInitialized();
    m_nMode = nMode;
    CheckSettingButton();
    // Choosing the list already shown adds no second entry.
    const int nKind = nMode + 1;
    if (!(g_History.IsCurrentOf(this) && g_History.m_pCurrent->m_nKind == nKind)) {
        if (HistoryNode* pNode = AppendHistoryNode()) pNode->m_nKind = nKind;
    }
    ShowMode(kModes[nMode].pszOpenCaption);
}

void OptionSettingDialogClass::RestoreMode() {
    CheckSettingButton();
    HistoryNode* pNode = OwnHistoryNode();
    if (!pNode || pNode->m_nKind < 1 || pNode->m_nKind > 6) return;
    EnsureInitialized();
    m_nMode = pNode->m_nKind - 1;
    ShowMode(kModes[m_nMode].pszRestoreCaption);
}

void OptionSettingDialogClass::OnListClick(const NMHDR* pHdr) {
    // While a value is entered or renamed the edits belong to it: a click on
    // another row must not change what 确定 stores.
    if (m_State != STATE_IDLE) return;
    const int nRow = m_ValueList.GetNotifyItem((const NMLISTVIEW*)pHdr);
    if (nRow < 0) return;
    char szText[50];
    m_ValueList.GetItemText(nRow, 0, szText, sizeof szText);
    SetWindowTextA(m_hValueEdit, szText);
    if (m_nMode == MODE_PHASE) {
        char szProbability[10];
        m_ValueList.GetItemText(nRow, 1, szProbability, sizeof szProbability);
        SetWindowTextA(m_hProbabilityEdit, szProbability);
    }
}

void OptionSettingDialogClass::SetEditing(BOOL bEditing) {
    SendMessageA(m_hValueEdit, EM_SETREADONLY, !bEditing, 0);
    SendMessageA(m_hProbabilityEdit, EM_SETREADONLY, !bEditing, 0);
    EnableWindow(m_hOkButton, bEditing);
    EnableWindow(m_hCancelButton, bEditing);
    EnableWindow(m_hAddButton, !bEditing);
    EnableWindow(m_hModifyButton, !bEditing);
    EnableWindow(m_hDeleteButton, !bEditing);
}

void OptionSettingDialogClass::OnAdd() {
    if (m_State != STATE_IDLE) return;
    m_bModify = 0;
    SetWindowTextA(m_hValueEdit, "");
    SetWindowTextA(m_hProbabilityEdit, "");
    SetEditing(TRUE);
    m_State = STATE_ADDING;
    SetFocus(m_hValueEdit);
}

void OptionSettingDialogClass::OnModify() {
    if (m_State != STATE_IDLE) return;
    m_bModify = 1;
    ReadText(m_hValueEdit, m_Setting.m_szOldDescription, sizeof m_Setting.m_szOldDescription);
    SetEditing(TRUE);
    m_State = STATE_MODIFYING;
    SetFocus(m_hValueEdit);
}

void OptionSettingDialogClass::OnDelete() {
    if (m_State != STATE_IDLE) return;
    m_Setting.m_iCategory = m_nMode;
    ReadText(m_hValueEdit, m_Setting.m_szOldDescription, sizeof m_Setting.m_szOldDescription);
    m_Setting.cst_DeleteCategory();
    SendMessageA(m_hWnd, MessageOfMode(m_nMode), 0, 0);
    SetWindowTextA(m_hValueEdit, "");
    SetWindowTextA(m_hProbabilityEdit, "");
}

void OptionSettingDialogClass::OnOk() {
    if (m_State == STATE_IDLE) return;
    m_Setting.m_iCategory = m_nMode;
    ReadText(m_hValueEdit, m_Setting.m_szNewDescription, sizeof m_Setting.m_szNewDescription);
    if (m_nMode == MODE_PHASE)
        ReadText(m_hProbabilityEdit, m_Setting.m_szProbability, sizeof m_Setting.m_szProbability);
    else
        m_Setting.m_szProbability[0] = '\0';
    if (m_bModify == 1)
        m_Setting.cst_UpdateCategory();
    else
        m_Setting.cst_AddCategory();
    SetEditing(FALSE);
    m_State = STATE_IDLE;
    SendMessageA(m_hWnd, MessageOfMode(m_nMode), 0, 0);
}

void OptionSettingDialogClass::OnCancel() {
    if (m_State == STATE_IDLE) return;
    SetEditing(FALSE);
    m_State = STATE_IDLE;
}

void OptionSettingDialogClass::PaintPage(HDC hdc) {
    const ModeDef& m = kModes[m_nMode];
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    SelectObject(hdc, m_hFontTitle);
    PaintText(hdc, 500, 22, m.pszTitle);
    SelectObject(hdc, m_hFont);
    for (int i = 0; i < 3; i++)
        if (m.pszHelp[i]) PaintText(hdc, 175, kHelpY[i], m.pszHelp[i]);
    PaintText(hdc, 630, 180, m.pszLabel);
    if (m_nMode == MODE_PHASE) PaintText(hdc, 630, 240, kProbabilityLabel);
}

LRESULT OptionSettingDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const int nMode = ModeOfMessage(uMsg);
    if (nMode >= 0) {
        EnterMode(nMode);
        return 0;
    }
    switch (uMsg) {
    case UM_RESTOREVIEW: RestoreMode(); return 0;
    case WM_DESTROY: return 0;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (!pHdr || pHdr->hwndFrom != m_ValueList.m_hListView) return 0;
        if (pHdr->code == NM_CLICK) OnListClick(pHdr);
        if (pHdr->code == NM_CUSTOMDRAW) return m_ValueList.OnCustomDraw((NMLVCUSTOMDRAW*)lParam);
        return 0;
    }
    case WM_COMMAND:
        switch (wParam) {
        case IDC_OSET_ADD: OnAdd(); return 0;
        case IDC_OSET_MODIFY: OnModify(); return 0;
        case IDC_OSET_DELETE: OnDelete(); return 0;
        case IDC_OSET_OK: OnOk(); return 0;
        case IDC_OSET_CANCEL: OnCancel(); return 0;
        }
        break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
