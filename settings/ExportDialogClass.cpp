#include "settings/ExportDialogClass.h"

#include "shell/ViewMessages.h"

ExportDialogClass g_Export;

ExportDialogClass::ExportDialogClass() : PlaceholderDialogClass("Export", TB_EXPORT, {UM_OPENVIEW}) {}
