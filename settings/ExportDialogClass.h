// The export information page (toolbar 导出日志): no controls, a title and
// a few paragraphs about the report export. Opened after the previous page
// is hidden. Window class "Export", one object g_Export.
#pragma once

#include "shell/PageFrameClass.h"

class ExportDialogClass : public PageFrameClass {
public:
    ExportDialogClass();

    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

protected:
    void PaintPage(HDC hdc) override;
};

extern ExportDialogClass g_Export;
