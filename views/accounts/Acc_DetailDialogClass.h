// The account record form: one account shown read-only, edited, entered
// afresh or deleted; stepping through the list a page handed over; the tasks,
// contacts and opportunities linked to it on three relation tabs. Pages open
// an account here through HandOverToForm.
#pragma once

#include "store/Acc_DetailClass.h"
#include "shell/RecordFormClass.h"

class Acc_DetailDialogClass : public RecordFormClass {
public:
    Acc_DetailDialogClass();

    void InitDialog(HWND hWnd) override;

    HWND m_hName, m_hDescription, m_hPrivate, m_hCreateDate, m_hContactDate, m_hImportant, m_hType, m_hIndustry,
        m_hRelation, m_hAddress, m_hPostcode, m_hProvince, m_hTelephone, m_hFax, m_hWebsite;
    Acc_DetailClass m_Acc;

    // Field operations.
    int FormToRecord() override;
    void RecordToForm();

protected:
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    int AddRecord(ULONG* pulNewID) override;
    int ChangeRecord(ULONG ulID) override;
    int DeleteRecord(ULONG ulID) override;
    void DropRecord() override { m_Acc.cad_FreeList(); }
    void RefillLookups() override;
};

extern Acc_DetailDialogClass g_Acc_Detail;
