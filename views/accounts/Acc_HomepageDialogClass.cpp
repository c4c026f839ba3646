#include "Acc_HomepageDialogClass.h"

#include "ViewMessages.h"

Acc_HomepageDialogClass g_Acc_Homepage;

Acc_HomepageDialogClass::Acc_HomepageDialogClass() : KeywordListDialogClass(TB_ACCOUNTS) {}
