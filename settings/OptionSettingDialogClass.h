// The lookup-category editor. Window class "OptionSetting", one object
// g_OptionSetting. Each of its six opening messages chooses the lookup list
// to edit; 40008 is read as the relation list. The history entry's kind is
// the list (1 importance ... 6 customer type). Values are added, renamed and
// deleted by their text; the phase list also carries a success probability.
#pragma once

#include "settings/SettingPageClass.h"
#include "shell/ListViewClass.h"
#include "store/SettingClass.h"

class OptionSettingDialogClass : public SettingPageClass {
public:
    // The lists, in the order of the settings store's categories.
    enum Mode { MODE_IMPORTANT, MODE_RELATION, MODE_PROVINCE, MODE_PHASE, MODE_INDUSTRY, MODE_TYPE };
    // Idle: 添加 / 修改 / 删除 act; Adding or Modifying: 确定 / 取消 act.
    enum EditState { STATE_IDLE, STATE_ADDING, STATE_MODIFYING };

    OptionSettingDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The list an opening message chooses, or -1 for any other message.
    static int ModeOfMessage(UINT uMsg);
    // The opening message of a list.
    static UINT MessageOfMode(int nMode);

    EditState State() const { return m_State; }

    ListViewClass m_ValueList;
    SettingClass m_Setting;
    int m_nMode;  // the list shown
    int m_bModify;
    HWND m_hValueEdit, m_hProbabilityEdit;
    HWND m_hAddButton, m_hModifyButton, m_hDeleteButton, m_hOkButton, m_hCancelButton;

protected:
    void PaintPage(HDC hdc) override;

private:
    // An opening message: the list of nMode, one entry per change of list.
    void EnterMode(int nMode);
    // UM_RESTOREVIEW: the list of the current entry, without a new entry.
    void RestoreMode();
    // Shows the list of m_nMode under the column caption given.
    void ShowMode(const char* pszCaption);
    void FillList();
    void OnListClick(const NMHDR* pHdr);
    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnOk();
    void OnCancel();
    // Idle (bEditing FALSE) or Adding / Modifying: edits and buttons.
    void SetEditing(BOOL bEditing);

    EditState m_State;
};

extern OptionSettingDialogClass g_OptionSetting;
