// Builds: the contact pages reach the mail page and the account form
// through their seams.
#include "mail/ContactsToMail.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_ListPageClass.h"
