// Must not build: the contact pages hand contacts to the mail page through
// its seam, never through its class.
#include "mail/MailDialogClass.h"
