#include "settings/SettingPageClass.h"

#include <cstring>

#include "settings/SettingNavigation.h"
#include "shell/ToolbarClass.h"
#include "shell/ViewMessages.h"

namespace {
const PageLinkDef kSettingsMenu[kSettingsMenuEntries] = {
    {0, "邮件群发设置", GotoMailSetting},         {0, "重要性设置", GotoOptionSetting_Important},
    {0, "关系设置", GotoOptionSetting_Relation},  {0, "区域设置", GotoOptionSetting_Province},
    {0, "项目阶段设置", GotoOptionSetting_Phase}, {0, "行业设置", GotoOptionSetting_Industry},
    {0, "类型设置", GotoOptionSetting_Type},      {0, "登陆设置", GotoLoginSetting},
};
}  // namespace

PageMenu SettingsMenu(const int pIDs[kSettingsMenuEntries]) {
    return MakePageMenu(kSettingsMenu, kSettingsMenuEntries, pIDs);
}

SettingPageClass::SettingPageClass(const SettingPageDef& def) : m_Def(def) {
    for (int i = 0; i < kMaxFields; i++) {
        m_hFields[i] = nullptr;
        m_pfnOldField[i] = nullptr;
    }
}

void SettingPageClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);
    CreateMenuControls(hWnd, SettingsMenu(m_Def.nMenuIDs), 22, m_Def.nHelpID);
    for (int i = 0; i < Fields(); i++) {
        const FormFieldDef& f = m_Def.pFields[i];
        m_hFields[i] = MakeField(hWnd, m_hInstance, m_hFont, f);
        // A memo keeps Tab for itself.
        if ((f.uFlags & kFieldInTabCycle) && f.kind != kFieldMemo)
            m_pfnOldField[i] = (WNDPROC)SetWindowLongPtrA(m_hFields[i], GWLP_WNDPROC, (LONG_PTR)FieldProc);
    }
}

int SettingPageClass::FieldRow(int nID) const {
    for (int i = 0; i < Fields(); i++)
        if (m_Def.pFields[i].nID == nID) return i;
    return -1;
}

HWND SettingPageClass::Field(int nID) const {
    const int i = FieldRow(nID);
    return i < 0 ? nullptr : m_hFields[i];
}

HWND SettingPageClass::TabTarget(int nID, BOOL bBackward) const {
    const int i = TabCycleTarget(m_Def.pFields, Fields(), FieldRow(nID), bBackward);
    return i < 0 ? nullptr : m_hFields[i];
}

LRESULT CALLBACK SettingPageClass::FieldProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    SettingPageClass* pPage = dynamic_cast<SettingPageClass*>(HwndToDialog(GetParent(hWnd)));
    const int nID = GetDlgCtrlID(hWnd);
    const int nRow = pPage ? pPage->FieldRow(nID) : -1;
    WNDPROC pfnOld = nRow >= 0 ? pPage->m_pfnOldField[nRow] : nullptr;
    if (pPage && uMsg == WM_KEYDOWN && wParam == VK_TAB) {
        if (HWND hTarget = pPage->TabTarget(nID, GetKeyState(VK_SHIFT) < 0)) SetFocus(hTarget);
    }
    if (!pfnOld) return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return CallWindowProcA(pfnOld, hWnd, uMsg, wParam, lParam);
}

void SettingPageClass::PaintPage(HDC hdc) {
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    if (m_Def.pszTitle) {
        SelectObject(hdc, m_hFontTitle);
        PaintText(hdc, m_Def.nTitleX, m_Def.nTitleY, m_Def.pszTitle);
    }
    SelectObject(hdc, m_hFont);
    for (int i = 0; i < m_Def.nLabels; i++)
        PaintText(hdc, m_Def.pLabels[i].x, m_Def.pLabels[i].y, m_Def.pLabels[i].pszText);
}

void SettingPageClass::CheckSettingButton() { g_Toolbar.CheckButton(TB_SETTING, 1); }
