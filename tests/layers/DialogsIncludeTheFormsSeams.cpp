// Builds: the dialogs reach the record forms and the mail page through their
// seams, and their own headers whole.
#include "dialogs/RelatedListPage.h"
#include "mail/ContactsToMail.h"
#include "views/accounts/Acc_Form.h"
#include "views/contacts/Con_Form.h"
#include "views/opportunities/Opp_Form.h"
#include "views/tasks/Tas_Form.h"
