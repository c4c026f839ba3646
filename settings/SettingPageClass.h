// What the three settings pages (mail settings, lookup categories, login
// settings) share: the settings menu of eight entries on the left panel with
// its help link (which does nothing here), the settings toolbar button, and a
// table of field controls with its Tab cycle.
#pragma once

#include "shell/FormControls.h"
#include "shell/PageFrameClass.h"

// The eight entries of the settings menu, in order: mail settings, the six
// lookup lists, login settings.
constexpr int kSettingsMenuEntries = 8;

// The settings menu with a page's own ids for its eight entries.
PageMenu SettingsMenu(const int pIDs[kSettingsMenuEntries]);

// A settings page's definition: menu ids, help link id, fields (in creation
// and Tab order), painted labels and the title.
struct SettingPageDef {
    int nMenuIDs[kSettingsMenuEntries];
    int nHelpID;
    const FormFieldDef* pFields;
    int nFields;
    const FormLabelDef* pLabels;  // in m_hFont
    int nLabels;
    const char* pszTitle;  // in m_hFontTitle at (nTitleX, nTitleY); null: the page paints its own
    int nTitleX, nTitleY;
};

class SettingPageClass : public PageFrameClass {
public:
    static constexpr int kMaxFields = 16;

    explicit SettingPageClass(const SettingPageDef& def);

    void InitDialog(HWND hWnd) override;

    // The field control of id nID (null when the table has none).
    HWND Field(int nID) const;
    // Tab / Shift+Tab from field nID: the field that gets the focus, or null.
    HWND TabTarget(int nID, BOOL bBackward) const;

protected:
    // The help link of the settings pages does nothing.
    void OnHelpLink() override {}
    // Title and labels of the definition.
    void PaintPage(HDC hdc) override;
    // Checks the settings button of the toolbar.
    void CheckSettingButton();
    // Builds the controls of a page not yet shown (an opening message may
    // come before the first showing).
    void EnsureInitialized() {
        if (!m_bInit && m_hWnd) InitDialog(m_hWnd);
    }

    SettingPageDef m_Def;
    HWND m_hFields[kMaxFields];
    WNDPROC m_pfnOldField[kMaxFields];

private:
    int Fields() const { return m_Def.nFields < kMaxFields ? m_Def.nFields : kMaxFields; }
    int FieldRow(int nID) const;
    // The procedure of the fields in the Tab cycle (memos excepted).
    static LRESULT CALLBACK FieldProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};
