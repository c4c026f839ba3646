#include "settings/ExportDialogClass.h"

#include "shell/ViewMessages.h"

ExportDialogClass g_Export;

ExportDialogClass::ExportDialogClass() : PlaceholderDialogClass(TB_EXPORT, {UM_OPENVIEW}) {}
