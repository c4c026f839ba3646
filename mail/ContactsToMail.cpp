#include "mail/ContactsToMail.h"

#include "mail/MailDialogClass.h"
#include "shell/ViewSwitch.h"

void HandContactsToMail(int (*pfnLoad)(Con_DetailClass&, void*), void* pContext) {
    // A run going on works on its own copy: the page takes the new list at once.
    if (pfnLoad) {
        Con_DetailClass& contacts = g_Mail.m_ConDetail;
        contacts.ccd_FreeList();
        contacts.m_iQueryMode = 0;  // the plain listing, whatever the pages' sort
        const int nCount = pfnLoad(contacts, pContext);
        if (nCount < 0) contacts.ccd_FreeList();
        // After a failed load the mail page shows no contact, never -1 rows.
        g_Mail.m_nConCount = nCount < 0 ? 0 : nCount;
    }
    SwitchViewAfterSend(&g_Mail, UM_MAILTOLIST);
}
