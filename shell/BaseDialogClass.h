// Base class of every page (view) of the main window, and the shared window
// procedure that dispatches a view window's messages to its object.
#pragma once

#include "win32.h"

class BaseDialogClass {
public:
    BaseDialogClass();
    virtual ~BaseDialogClass();

    // Slot 0: builds the view once. The base version reads the client
    // rectangle and makes the five fonts; every derived InitDialog returns at
    // once when m_bInit is 1, else calls the base version first and then
    // creates its own controls.
    virtual void InitDialog(HWND hWnd);
    // Slot 1: the view's window procedure. The base version is DefWindowProcA.
    virtual LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // Registers the window class szClassName and creates the view's window,
    // hidden, as a child of hParent at (0, y). 0, or -1 after a message.
    int CreateDialog(HINSTANCE hInstance, HWND hParent, LPCSTR szClassName, int y);
    void ShowDialog();
    void HideDialog();
    // Lays the view out for the main window's present client area: scroll
    // bars against the 1024 x 712 page, back to the unscrolled origin, moved
    // to (0, m_nTop) with the client width and the client height minus 78
    // (never less than 0).
    void ResizeDialog(HWND hMainWnd);

    // The common answer of a page to WM_HSCROLL / WM_VSCROLL: moves the bar,
    // scrolls the window's contents and keeps m_nHScroll / m_nVScroll.
    // Returns 0.
    LRESULT OnScroll(HWND hWnd, UINT uMsg, WPARAM wParam);

    // The window procedure registered for every view class.
    static LRESULT CALLBACK StaticDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    // The view whose m_hWnd is hWnd, searched in view-table order; null if none.
    static BaseDialogClass* HwndToDialog(HWND hWnd);

    // The view table: the main window registers its views here (in creation
    // order) before it creates them; HwndToDialog and the layout use it.
    // The array must outlive its registration. nViews is capped at kMaxViews.
    static const int kMaxViews = 64;
    static void SetViewTable(BaseDialogClass* const* ppViews, int nViews);
    static int GetViewCount();
    static BaseDialogClass* GetView(int nIndex);

    // The page every view lays its controls out on.
    static const int kPageWidth = 1024;
    static const int kPageHeight = 712;
    // Allowance for the toolbar and the status bar below the views.
    static const int kBarsAllowance = 78;

public:
    HWND m_hWnd;
    RECT m_rcClient;
    int m_nTop;
    LOGFONTA m_lf;
    HFONT m_hFont;           // "宋体" -15, 400: labels and controls
    HFONT m_hFontArial;      // "Arial" -14, 400
    HFONT m_hFontArialBold;  // "Arial" -14, 700
    HFONT m_hFontTitle;      // "宋体" -21, 700: page titles
    HFONT m_hFontSmall;      // "宋体" -13, 400
    HINSTANCE m_hInstance;
    int m_bInit;
    int m_nHScroll;
    int m_nVScroll;
};
