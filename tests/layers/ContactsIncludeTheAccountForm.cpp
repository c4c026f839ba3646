// Must not build: the contact form opens an account through the account
// form's seam, never through its class.
#include "views/accounts/Acc_DetailDialogClass.h"
