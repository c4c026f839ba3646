// The task record form: one task shown read-only, changed after 修改, entered
// afresh or deleted; stepping through the ids a task list handed over; the
// opportunities, contacts and accounts linked to it on three relation tabs.
// Window class "Tas_Detail", one object g_Tas_Detail. Pages open a task here
// through HandOverToForm; UM_NEWRECORD opens an empty form for a new task.
#pragma once

#include "store/Tas_DetailClass.h"
#include "shell/RecordFormClass.h"

class Tas_DetailDialogClass : public RecordFormClass {
public:
    Tas_DetailDialogClass();

    void InitDialog(HWND hWnd) override;
    void ClearForm() override;
    // A linked account, opportunity or contact for the task being entered;
    // its name becomes the subject.
    void TakeLinkedRecord(LinkedKind kind, ULONG ulID, const char* pszName) override;
    ULONG LinkedRecord(LinkedKind kind) const override;
    void SetTitleText(const char* pszText) override;

    HWND m_hSubject, m_hPrivate, m_hDate, m_hTime, m_hCost, m_hRemind, m_hClosed, m_hContent;
    // Submenu 关联 of "IDM_POP_MENU": the record a new task is to be linked
    // to, new or chosen. The form answers its commands (WM_COMMAND).
    HMENU m_hRelationMenu;
    // Records a new task is to be linked to when it is saved (0 = none).
    ULONG m_ulLinkAccID, m_ulLinkOppID, m_ulLinkConID;
    Tas_DetailClass m_Tas;

    int FormToRecord() override;
    void RecordToForm();

protected:
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    int AddRecord(ULONG* pulNewID) override;
    int ChangeRecord(ULONG ulID) override;
    int DeleteRecord(ULONG ulID) override;
    void DropRecord() override { m_Tas.ctd_FreeList(); }
    // The 关联 commands: each forgets the pending links, then opens the
    // dialog that makes or chooses the record to link.
    BOOL OnFieldCommand(WPARAM wParam, LPARAM lParam) override;
};

extern Tas_DetailDialogClass g_Tas_Detail;
