// The new-contact dialog: one core, six members. 工作单位 cannot be typed:
// the opener gives the account, or the "..." menu opens the new-account
// dialog or the account picker on top of this dialog, which write the
// chosen name through g_hNewContactAccountEdit and its id into
// g_ulRelatingAccID. After a failed insert the dialog stays open with the
// typed values and hands nothing back.
#include "dialogs/NewRecordDialogs.h"

#include "dialogs/DialogFont.h"
#include "dialogs/RecordPickers.h"
#include "resources/message_texts.h"
#include "resources/shell_ids.h"
#include "shell/MainWindow.h"
#include "shell/Report.h"
#include "shell/ViewMessages.h"
#include "store/Con_DetailClass.h"
#include "shell/FormControls.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_Form.h"
#include "views/opportunities/Opp_Form.h"
#include "views/tasks/Tas_Form.h"

HWND g_hNewContactAccountEdit = NULL;

namespace {

// Where the contact's account comes from.
enum ContactAccount {
    kAccountChosen,   // empty at opening; the "..." menu chooses it (g_ulRelatingAccID)
    kAccountOfForm,   // the account the account form shows (g_ulRelatingID)
    kAccountClicked,  // the account clicked on an accounts page (g_ulRelatingAccID)
};

struct NewContactMember {
    ContactAccount account;
    // The "..." menu's dialogs; none: the button is disabled.
    DLGPROC pfnNewAccount;
    DLGPROC pfnSelectAccount;
    bool bMenuAtButton;                  // else at the screen position (400, 125)
    bool bMirrorNickname;                // 昵称 repeats 姓名 while it is typed
    ULONG Con_DetailClass::*pShownLink;  // the link id that takes g_ulRelatingID, or none
    RecordFormClass* (*pfnForm)();       // the form shown again; none: the task form gets the contact
};

void FillLookups(HWND hDlg) {
    Con_DetailClass con;
    auto fill = [&](int nID, int (Con_DetailClass::*pfnLoad)(), const char(*pszNames)[50], const int& nCount) {
        (con.*pfnLoad)();  // a failed load keeps the names read before it
        LoadCombo(GetDlgItem(hDlg, nID), pszNames, nCount);
    };
    fill(IDC_NEWCONTACT_PROVINCE, &Con_DetailClass::ccd_LoadProvinceTable, con.m_szProvince, con.m_nProvince);
    fill(IDC_NEWCONTACT_IMPORTANT, &Con_DetailClass::ccd_LoadImportantTable, con.m_szImportant, con.m_nImportant);
    fill(IDC_NEWCONTACT_RELATION, &Con_DetailClass::ccd_LoadRelationTable, con.m_szRelation, con.m_nRelation);
}

// The popup menu loaded at opening (its submenu 客户 is the "..." menu),
// kept with the dialog's window until it is destroyed.
HMENU LoadedMenu(HWND hDlg) { return (HMENU)GetWindowLongPtrA(hDlg, GWLP_USERDATA); }

void ReleaseMenu(HWND hDlg) {
    HMENU hMenu = LoadedMenu(hDlg);
    SetWindowLongPtrA(hDlg, GWLP_USERDATA, 0);
    if (hMenu) DestroyMenu(hMenu);
}

void Open(HWND hDlg, const NewContactMember& m) {
    AttachDialogFont(hDlg);
    HWND hAccount = GetDlgItem(hDlg, IDC_NEWCONTACT_ACCOUNT);
    g_hNewContactAccountEdit = hAccount;
    switch (m.account) {
    case kAccountChosen:
        SetRelatingAccount(0, nullptr);  // the empty field is no account
        break;
    case kAccountOfForm:
        if (g_ulRelatingID != 0) SetWindowTextA(hAccount, g_szRelatingAccName);
        break;
    case kAccountClicked:
        if (g_ulRelatingAccID != 0) SetWindowTextA(hAccount, g_szRelatingAccName);
        break;
    }
    if (!m.pfnNewAccount) EnableWindow(GetDlgItem(hDlg, IDC_NEWCONTACT_ACCOUNTMENU), FALSE);
    FillLookups(hDlg);
    ReleaseMenu(hDlg);
    SetWindowLongPtrA(hDlg, GWLP_USERDATA, (LONG_PTR)LoadMenuA(g_hInstance, "IDM_POP_MENU"));
}

void Close(HWND hDlg) {
    ReleaseMenu(hDlg);
    ReleaseDialogFont(hDlg);
    if (g_hNewContactAccountEdit && GetParent(g_hNewContactAccountEdit) == hDlg) g_hNewContactAccountEdit = NULL;
}

void ShowAccountMenu(HWND hDlg, const NewContactMember& m) {
    HMENU hMenu = LoadedMenu(hDlg);
    if (!m.pfnNewAccount || !hMenu) return;
    POINT pt = {400, 125};
    if (m.bMenuAtButton) {
        RECT rc;
        GetWindowRect(GetDlgItem(hDlg, IDC_NEWCONTACT_ACCOUNTMENU), &rc);
        pt = {rc.left, rc.top};
    }
    TrackPopupMenu(GetSubMenu(hMenu, IDM_SUB_ACCOUNT), TPM_RIGHTBUTTON, pt.x, pt.y, 0, hDlg, NULL);
}

void MirrorName(HWND hDlg) {
    char szName[128];
    ReadText(GetDlgItem(hDlg, IDC_NEWCONTACT_NAME), szName, sizeof szName);
    SetDlgItemTextA(hDlg, IDC_NEWCONTACT_NICKNAME, szName);
}

int ReadContact(HWND hDlg, Con_DetailClass& con) {
    ConNode* p = con.m_pCurrent;
    const TextField kTexts[] = {
        {IDC_NEWCONTACT_NAME, p->con_name, sizeof p->con_name},
        {IDC_NEWCONTACT_NICKNAME, p->con_nickname, sizeof p->con_nickname},
        {IDC_NEWCONTACT_ACCOUNT, p->acc_name, sizeof p->acc_name},
        {IDC_NEWCONTACT_DEPARTMENT, p->con_department_title, sizeof p->con_department_title},
        {IDC_NEWCONTACT_TELEPHONE, p->con_telephone, sizeof p->con_telephone},
        {IDC_NEWCONTACT_MOBILE, p->con_mobile, sizeof p->con_mobile},
        {IDC_NEWCONTACT_EMAIL, p->con_email, sizeof p->con_email},
        {IDC_NEWCONTACT_IM, p->con_im, sizeof p->con_im},
        {IDC_NEWCONTACT_POSTCODE, p->con_postcode, sizeof p->con_postcode},
        {IDC_NEWCONTACT_FAMILY, p->con_family, sizeof p->con_family},
        {IDC_NEWCONTACT_PROVINCE, p->con_province, sizeof p->con_province},
        {IDC_NEWCONTACT_IMPORTANT, p->con_important, sizeof p->con_important},
        {IDC_NEWCONTACT_RELATION, p->con_relation, sizeof p->con_relation},
    };
    ReadTexts(hDlg, kTexts);
    p->con_create_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWCONTACT_CREATE_DATE));
    p->con_recent_contact_date = ReadPickerDate(GetDlgItem(hDlg, IDC_NEWCONTACT_RECENT_DATE));
    p->con_private = SendDlgItemMessageA(hDlg, IDC_NEWCONTACT_PRIVATE, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    // The description, whole.
    HWND hDesc = GetDlgItem(hDlg, IDC_NEWCONTACT_DESCRIPTION);
    const int n = GetWindowTextLengthA(hDesc);
    if (con.ccd_AllocNodeDescription((unsigned)(n > 0 ? n : 0)) == -1) return -1;
    if (n > 0) GetWindowTextA(hDesc, p->con_description, n + 1);
    return 0;
}

void Confirm(HWND hDlg, const NewContactMember& m) {
    Con_DetailClass con;
    if (con.ccd_AllocHead() == -1 || ReadContact(hDlg, con) == -1) {
        ReportError(msg::kNewDialogAllocHead);
        return;
    }
    con.m_ulAccID = m.account == kAccountOfForm ? g_ulRelatingID : g_ulRelatingAccID;
    if (m.pShownLink) con.*m.pShownLink = g_ulRelatingID;
    if (con.ccd_AddContact() == -1) {
        ReportError(m.pfnForm ? msg::kNewAccountAdd : msg::kNewTaskAdd);
        return;  // stays open with the typed values; nothing handed back
    }
    EndDialog(hDlg, 0);
    if (m.pfnForm) {
        m.pfnForm()->ShowRecordAgain(g_ulRelatingID);
        return;
    }
    // The task form: the name as its subject, the contact to be linked on save.
    TaskForm()->SetTitleText(con.m_pCurrent->con_name);
    if (con.ccd_GetLastContactID() == 0) TaskForm()->TakeLinkedRecord(kLinkedContact, con.m_ulConID, nullptr);
}

INT_PTR NewContactDialog(const NewContactMember& m, HWND hDlg, UINT uMsg, WPARAM wParam) {
    switch (uMsg) {
    case WM_INITDIALOG: Open(hDlg, m); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NEWCONTACT_NAME && HIWORD(wParam) == EN_CHANGE && m.bMirrorNickname) MirrorName(hDlg);
        switch (LOWORD(wParam)) {
        case IDM_NEWACCOUNT:
        case IDM_SELECTACCOUNT: {
            const bool bNew = LOWORD(wParam) == IDM_NEWACCOUNT;
            DLGPROC pfn = bNew ? m.pfnNewAccount : m.pfnSelectAccount;
            if (!pfn) return FALSE;
            DialogBoxParamA(g_hInstance, bNew ? IDD_NEW_ACCOUNT : IDD_SELECT_OBJECT, hDlg, pfn, 0);
            return TRUE;
        }
        case IDC_NEWCONTACT_ACCOUNTMENU:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            ShowAccountMenu(hDlg, m);
            return TRUE;
        case IDC_NEWRECORD_OK: Confirm(hDlg, m); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        return FALSE;
    case WM_DESTROY: Close(hDlg); return FALSE;
    }
    return FALSE;
}

}  // namespace

#define NEW_CONTACT_MEMBER(name, account, newAccount, selectAccount, atButton, mirror, link, form)                  \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {                                            \
        static const NewContactMember kMember = {account, newAccount, selectAccount, atButton, mirror, link, form}; \
        return NewContactDialog(kMember, hDlg, uMsg, wParam);                                                       \
    }

// clang-format off
NEW_CONTACT_MEMBER(NewContactDlgProc_TasDetail, kAccountChosen, NewAccountDlgProc_NewContact,
                   SelectAccountDlgProc_NewContact, false, false, nullptr, nullptr)
NEW_CONTACT_MEMBER(NewContactDlgProc_OppDetailContacts, kAccountChosen, NewAccountDlgProc_OppDetailContacts,
                   SelectAccountDlgProc_OppDetailContacts, true, true, &Con_DetailClass::m_ulOppID, OpportunityForm)
NEW_CONTACT_MEMBER(NewContactDlgProc_TasDetailContacts, kAccountChosen, NewAccountDlgProc_TasDetailContacts,
                   SelectAccountDlgProc_TasDetailContacts, true, true, &Con_DetailClass::m_ulTasID, TaskForm)
NEW_CONTACT_MEMBER(NewContactDlgProc_AccDetail, kAccountOfForm, nullptr, nullptr, true, true, nullptr,
                   AccountForm)
NEW_CONTACT_MEMBER(NewContactDlgProc_OppDetailAccounts, kAccountClicked, nullptr, nullptr, true, true,
                   &Con_DetailClass::m_ulOppID, OpportunityForm)
NEW_CONTACT_MEMBER(NewContactDlgProc_TasDetailAccounts, kAccountClicked, nullptr, nullptr, true, true,
                   &Con_DetailClass::m_ulTasID, TaskForm)
// clang-format on
