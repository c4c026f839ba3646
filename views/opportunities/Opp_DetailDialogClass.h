// The opportunity record form: one opportunity shown read-only, edited,
// entered afresh or deleted; stepping through the list a page handed over;
// the tasks, contacts and accounts linked to it on three relation tabs.
#pragma once

#include "store/Opp_DetailClass.h"
#include "views/RecordFormClass.h"

class Opp_DetailDialogClass : public RecordFormClass {
public:
    Opp_DetailDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HWND m_hSubject, m_hDescription, m_hPrivate, m_hCreateDate, m_hDieDate, m_hEstimateSale, m_hSale,
        m_hImportant, m_hPhase, m_hProbability, m_hContactDate;
    Opp_DetailClass m_Opp;

    // Field operations.
    int FormToRecord() override;
    void RecordToForm();
    void ClearForm() override;
    void SetReadOnly(int bReadOnly) override;

    // The quick search to the opportunity list page.
    void QuickSearch();
    // Tab / Shift+Tab from control nID: the control that gets the focus.
    HWND TabTarget(int nID, BOOL bBackward) const;

protected:
    int ToolbarButton() const override;
    HWND NewRecordEntry() const override { return m_hMenuButtons[0]; }
    HWND FirstField() const override { return m_hSubject; }
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    int AddRecord(ULONG* pulNewID) override;
    int ChangeRecord(ULONG ulID) override;
    int DeleteRecord(ULONG ulID) override;
    void DropRecord() override { m_Opp.cod_FreeList(); }
    void EnableCreationDate(BOOL bEnable) override;
    void RefillLookups() override;
    const RecordFormTexts& FormTexts() const override;

private:
    void OnPhaseChange();
    void OnPaint(HWND hWnd);
    // Fills a combo box with the lookup names and the record's own value,
    // which is always shown and selected.
    void FillCombo(HWND hCombo, const char (*pszNames)[50], int nNames, const char* pszValue);

    PageLinkDef m_Links[5];
};

LRESULT CALLBACK FieldEditProc_OppDetail(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern Opp_DetailDialogClass g_Opp_Detail;
