// The new-account dialog: one core, seven members. The data object lives for
// one message. After a failed insert the dialog stays open with the typed
// values and hands nothing back: the highest account id is then not the
// account typed.
#include "dialogs/NewRecordDialogs.h"

#include "dialogs/DialogFont.h"
#include "resources/message_texts.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "store/Acc_DetailClass.h"
#include "shell/FormControls.h"
#include "shell/RelatingGlobals.h"
#include "views/contacts/Con_Form.h"
#include "views/opportunities/Opp_Form.h"
#include "views/tasks/Tas_Form.h"

#include <cstring>

namespace {

enum AccountLink { kLinkNone, kLinkOpportunity, kLinkTask };
enum AccountHandBack {
    kToContactForm,  // name and id into the contact form's 工作单位
    kToTaskForm,     // name into the task form's subject, id to be linked on save
    kToNewContact,   // name into the open new-contact dialog, id in g_ulRelatingAccID
    kShowOpportunity,
    kShowTask,
};

struct NewAccountMember {
    AccountLink link;  // the shown record the account is linked to at once
    AccountHandBack handBack;
};

// The five lookup boxes, each filled from its loader; importance keeps the
// table order, the template sorts the other four.
void FillLookups(HWND hDlg, Acc_DetailClass& acc) {
    struct Box {
        int nID;
        int (Acc_DetailClass::*pfnLoad)();
        const char (*(*pfnNames)(const Acc_DetailClass&))[50];
        int Acc_DetailClass::*pnCount;
    };
    static const Box kBoxes[] = {
        {IDC_NEWACC_IMPORTANT, &Acc_DetailClass::cad_LoadImportantTable,
         [](const Acc_DetailClass& a) { return (const char(*)[50])a.m_szImportant; }, &Acc_DetailClass::m_nImportant},
        {IDC_NEWACC_TYPE, &Acc_DetailClass::cad_LoadTypeTable,
         [](const Acc_DetailClass& a) { return (const char(*)[50])a.m_szType; }, &Acc_DetailClass::m_nType},
        {IDC_NEWACC_INDUSTRY, &Acc_DetailClass::cad_LoadIndustryTable,
         [](const Acc_DetailClass& a) { return (const char(*)[50])a.m_szIndustry; }, &Acc_DetailClass::m_nIndustry},
        {IDC_NEWACC_RELATION, &Acc_DetailClass::cad_LoadRelationTable,
         [](const Acc_DetailClass& a) { return (const char(*)[50])a.m_szRelation; }, &Acc_DetailClass::m_nRelation},
        {IDC_NEWACC_PROVINCE, &Acc_DetailClass::cad_LoadProvinceTable,
         [](const Acc_DetailClass& a) { return (const char(*)[50])a.m_szProvince; }, &Acc_DetailClass::m_nProvince},
    };
    for (const Box& b : kBoxes) {
        (acc.*b.pfnLoad)();  // a failed load keeps the names read before it
        const char(*pszNames)[50] = b.pfnNames(acc);
        HWND hBox = GetDlgItem(hDlg, b.nID);
        for (int i = 0; i < acc.*b.pnCount; ++i) SendMessageA(hBox, CB_ADDSTRING, 0, (LPARAM)pszNames[i]);
    }
}

void ReadForm(HWND hDlg, AccNode* p) {
    const TextField kTexts[] = {
        {IDC_NEWACC_NAME, p->acc_name, sizeof p->acc_name},
        {IDC_NEWACC_IMPORTANT, p->acc_important, sizeof p->acc_important},
        {IDC_NEWACC_TYPE, p->acc_type, sizeof p->acc_type},
        {IDC_NEWACC_RELATION, p->acc_relation, sizeof p->acc_relation},
        {IDC_NEWACC_INDUSTRY, p->acc_industry, sizeof p->acc_industry},
        {IDC_NEWACC_ADDRESS, p->acc_address, sizeof p->acc_address},
        {IDC_NEWACC_POSTCODE, p->acc_postcode, sizeof p->acc_postcode},
        {IDC_NEWACC_PROVINCE, p->acc_province, sizeof p->acc_province},
        {IDC_NEWACC_TELEPHONE, p->acc_telephone, sizeof p->acc_telephone},
        {IDC_NEWACC_FAX, p->acc_fax, sizeof p->acc_fax},
        {IDC_NEWACC_WEBSITE, p->acc_website, sizeof p->acc_website},
    };
    ReadTexts(hDlg, kTexts);
    p->acc_create_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWACC_CREATE_DATE));
    p->acc_recent_contact_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWACC_RECENT_DATE));
    p->acc_private = SendDlgItemMessageA(hDlg, IDC_NEWACC_PRIVATE, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

// The description, whole.
int ReadDescription(HWND hDlg, Acc_DetailClass& acc) {
    HWND hDesc = GetDlgItem(hDlg, IDC_NEWACC_DESCRIPTION);
    const int n = GetWindowTextLengthA(hDesc);
    if (acc.cad_AllocNodeDescription((unsigned)(n > 0 ? n : 0)) == -1) return -1;
    if (n > 0) GetWindowTextA(hDesc, acc.m_pCurrent->acc_description, n + 1);
    return 0;
}

void HandBack(const NewAccountMember& m, const char* pszName, ULONG ulAccID) {
    switch (m.handBack) {
    case kToContactForm: ContactForm()->TakeLinkedRecord(kLinkedAccount, ulAccID, pszName); break;
    case kToTaskForm: TaskForm()->TakeLinkedRecord(kLinkedAccount, ulAccID, pszName); break;
    case kToNewContact:
        if (g_hNewContactAccountEdit) SetWindowTextA(g_hNewContactAccountEdit, pszName);
        SetRelatingAccount(ulAccID, pszName);
        break;
    case kShowOpportunity: OpportunityForm()->ShowRecordAgain(g_ulRelatingID); break;
    case kShowTask: TaskForm()->ShowRecordAgain(g_ulRelatingID); break;
    }
}

void Confirm(HWND hDlg, const NewAccountMember& m) {
    Acc_DetailClass acc;
    if (acc.cad_AllocHead() == -1) {
        ReportError(msg::kNewDialogAllocHead);
        return;
    }
    ReadForm(hDlg, acc.m_pCurrent);
    if (ReadDescription(hDlg, acc) == -1) {
        ReportError(msg::kNewDialogAllocHead);
        return;
    }
    if (m.link == kLinkOpportunity) acc.m_ulOppID = g_ulRelatingID;
    if (m.link == kLinkTask) acc.m_ulTasID = g_ulRelatingID;
    if (acc.cad_AddAccount() == -1) {
        ReportError(msg::kNewAccountAdd);
        return;  // stays open with the typed values; nothing handed back
    }
    char szName[sizeof acc.m_pCurrent->acc_name];
    memcpy(szName, acc.m_pCurrent->acc_name, sizeof szName);
    // The page-level members read no id; the others hand back the new id
    // only when it could be read.
    const bool bPage = m.handBack == kShowOpportunity || m.handBack == kShowTask;
    const bool bHand = bPage || acc.cad_GetLastAccountID() == 0;
    EndDialog(hDlg, 0);
    if (bHand) HandBack(m, szName, acc.m_ulAccID);
}

INT_PTR NewAccountDialog(const NewAccountMember& m, HWND hDlg, UINT uMsg, WPARAM wParam) {
    switch (uMsg) {
    case WM_INITDIALOG: {
        AttachDialogFont(hDlg);
        Acc_DetailClass acc;
        FillLookups(hDlg, acc);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_NEWRECORD_OK: Confirm(hDlg, m); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        return FALSE;
    case WM_DESTROY: ReleaseDialogFont(hDlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

#define NEW_ACCOUNT_MEMBER(name, link, handBack)                         \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) { \
        static const NewAccountMember kMember = {link, handBack};        \
        return NewAccountDialog(kMember, hDlg, uMsg, wParam);            \
    }

NEW_ACCOUNT_MEMBER(NewAccountDlgProc_ConDetail, kLinkNone, kToContactForm)
NEW_ACCOUNT_MEMBER(NewAccountDlgProc_TasDetail, kLinkNone, kToTaskForm)
NEW_ACCOUNT_MEMBER(NewAccountDlgProc_NewContact, kLinkNone, kToNewContact)
NEW_ACCOUNT_MEMBER(NewAccountDlgProc_OppDetailContacts, kLinkOpportunity, kToNewContact)
NEW_ACCOUNT_MEMBER(NewAccountDlgProc_TasDetailContacts, kLinkTask, kToNewContact)
NEW_ACCOUNT_MEMBER(NewAccountDlgProc_OppDetailAccounts, kLinkOpportunity, kShowOpportunity)
NEW_ACCOUNT_MEMBER(NewAccountDlgProc_TasDetailAccounts, kLinkTask, kShowTask)
