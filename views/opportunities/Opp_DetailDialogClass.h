// The opportunity record form: one opportunity shown read-only, edited,
// entered afresh or deleted; stepping through the list a page handed over;
// the tasks, contacts and accounts linked to it on three relation tabs.
#pragma once

#include "store/Opp_DetailClass.h"
#include "shell/RecordFormClass.h"

class Opp_DetailDialogClass : public RecordFormClass {
public:
    Opp_DetailDialogClass();

    void InitDialog(HWND hWnd) override;

    HWND m_hSubject, m_hDescription, m_hPrivate, m_hCreateDate, m_hDieDate, m_hEstimateSale, m_hSale, m_hImportant,
        m_hPhase, m_hProbability, m_hContactDate;
    Opp_DetailClass m_Opp;

    // Field operations.
    int FormToRecord() override;
    void RecordToForm();

protected:
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    int AddRecord(ULONG* pulNewID) override;
    int ChangeRecord(ULONG ulID) override;
    int DeleteRecord(ULONG ulID) override;
    void DropRecord() override { m_Opp.cod_FreeList(); }
    void RefillLookups() override;
    BOOL OnFieldCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OnPhaseChange();
};

extern Opp_DetailDialogClass g_Opp_Detail;
