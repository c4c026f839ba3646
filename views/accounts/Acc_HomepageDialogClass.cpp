#include "views/accounts/Acc_HomepageDialogClass.h"

#include "shell/ViewMessages.h"

Acc_HomepageDialogClass g_Acc_Homepage;

Acc_HomepageDialogClass::Acc_HomepageDialogClass() : KeywordListDialogClass(TB_ACCOUNTS) {}
