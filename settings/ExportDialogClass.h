// The export information page (toolbar 导出日志); opened after the
// previous page is hidden.
// Window class "Export", one object g_Export.
#pragma once

#include "views/PlaceholderDialogClass.h"

class ExportDialogClass : public PlaceholderDialogClass {
public:
    ExportDialogClass();
};

extern ExportDialogClass g_Export;
