// The start page of a module: painted help text in several fonts and
// colours, a picture, and the module's left menu, quick search and help link.
// It holds no records; each opening adds a history entry.
#pragma once

#include "shell/PageFrameClass.h"

// One painted line of the help text.
// The two colours of the start pages' texts.
constexpr COLORREF kStartBlack = 0x000000;
constexpr COLORREF kStartRed = 0x0000FF;

struct StartTextLine {
    int x, y;
    const char* pszText;
    BOOL bTitle;  // title font, else the small font
    COLORREF colour;
};

struct StartPageDef {
    int nButton;  // the module's toolbar button
    int nSearchEditID, nSearchID, nHelpID;
    PageMenu menu;
    const char* pszBitmap;  // picture resource
    int nBitmapX, nBitmapY, nBitmapWidth, nBitmapHeight;
    const StartTextLine* pLines;  // painted in this order
    int nLines;
    BaseDialogClass* pListPage;  // where the quick search goes
    char* pszListKeyword;        // its keyword buffer (50 bytes)
};

class StartPageClass : public PageFrameClass {
public:
    explicit StartPageClass(const StartPageDef& def);
    ~StartPageClass() override;

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The quick search: the keyword goes to the module's list page.
    void SearchOnModuleListPage(HWND hEdit) override;

    HBITMAP m_hBitmap;

protected:
    void PaintPage(HDC hdc) override;

private:
    const StartPageDef m_Def;
};
