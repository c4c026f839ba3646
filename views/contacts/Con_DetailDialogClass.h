// The contact record form: one contact shown read-only, edited, entered
// afresh or deleted; stepping through the list a page handed over; its
// account (工作单位) picked through the "..." menu and opened in the account
// form by a double click (UM_OPENACCOUNT); its address opened in the mail
// program (".."); the tasks and opportunities linked to it on two relation
// tabs. Window class "Con_Detail", one object g_Con_Detail.
#pragma once

#include <string>

#include "store/Con_DetailClass.h"
#include "shell/RecordFormClass.h"

// The "mailto:" URL of an address (GBK): the address as UTF-8, every byte
// but letters, digits, "-._~" and "@" percent-encoded.
std::string MailtoURL(const char* pszAddress);

class Con_DetailDialogClass : public RecordFormClass {
public:
    Con_DetailDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void ClearForm() override;
    // The contact's account (工作单位): id and name.
    void TakeLinkedRecord(LinkedKind kind, ULONG ulID, const char* pszName) override;
    ULONG LinkedRecord(LinkedKind kind) const override;

    HWND m_hName, m_hNickname, m_hPrivate, m_hDescription, m_hAccountEdit, m_hDepartment, m_hProvince, m_hTelephone,
        m_hMobile, m_hEmail, m_hIM, m_hPostcode, m_hFamily, m_hImportant, m_hRelation, m_hContactDate, m_hCreateDate;
    HMENU m_hAccountMenu;  // 新建客户 / 选择客户
    // The account (工作单位) of the contact shown; 0 when it has none. The
    // account dialogs write it with the name in m_hAccountEdit.
    ULONG m_ulAccountID;
    Con_DetailClass m_Contact;

    // Field operations.
    int FormToRecord() override;
    void RecordToForm();

protected:
    int LoadRecord(ULONG ulID, BOOL bRelating) override;
    int AddRecord(ULONG* pulNewID) override;
    int ChangeRecord(ULONG ulID) override;
    int DeleteRecord(ULONG ulID) override;
    void DropRecord() override { m_Contact.ccd_FreeList(); }
    void RefillLookups() override;
    BOOL OnFieldCommand(WPARAM wParam, LPARAM lParam) override;
    void OnFieldDoubleClick(int nID) override;

    void OnOpenAccount();
    void OnAccountMenu();
    void OnMailto();
};

extern Con_DetailDialogClass g_Con_Detail;
