// The opportunity module's start page: painted help on the module, a picture
// of how an opportunity relates to the other records, the module's left
// menu, quick search and help link.
#pragma once

#include "views/PageFrameClass.h"

class Opp_StartDialogClass : public PageFrameClass {
public:
    Opp_StartDialogClass();
    ~Opp_StartDialogClass() override;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HBITMAP m_hBitmap;

private:
    void OnPaint(HWND hWnd);
    PageLinkDef m_Links[5];
};

LRESULT CALLBACK SearchEditProc_OppStart(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

extern Opp_StartDialogClass g_Opp_Start;
