// Every dialog template, shown in the font its dialog gives it: each static
// text fits its rectangle (a text that wraps or runs past it shows cut), and
// each single-line edit scrolls horizontally, so that it takes what it cannot
// show at once.
#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/DialogFont.h"
#include "tests/support/ProgramTest.h"

namespace {

INT_PTR CALLBACK Neutral(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

struct Template {
    const char* pszName;
    bool bOwnFont;  // the dialog gives its controls the 宋体 15-pixel font of the record dialogs
};

const Template kTemplates[] = {
    {"ID_DLG_NEW_ACCOUNT", true},   {"ID_DLG_NEW_CONTACT", true},   {"ID_DLG_NEW_OPPORTUNITY", true},
    {"ID_DLG_NEW_TASK", true},      {"ID_DLG_SELECT_OBJECT", true}, {"ID_DLG_RELATING", false},
    {"ID_DLG_SENDMAIL", false},     {"ID_DLG_INSTALL1", false},     {"ID_DLG_INSTALL2", false},
    {"ID_DLG_LOGINSETTING", false}, {"ID_DLG_LOGIN", false},
};

std::string ClassOf(HWND h) {
    char sz[64] = "";
    GetClassNameA(h, sz, sizeof sz);
    return sz;
}

std::string TextOf(HWND h) {
    char sz[512] = "";
    GetWindowTextA(h, sz, sizeof sz);
    return sz;
}

// The statics whose text does not fit, as "template id "text" needs WxH in WxH".
std::vector<std::string> CutTexts(const Template& t) {
    std::vector<std::string> cut;
    HWND hDlg = CreateDialogParamA(g_hInstance, t.pszName, g_hMainWnd, Neutral, 0);
    EXPECT_NE(hDlg, nullptr) << t.pszName;
    if (!hDlg) return cut;
    if (t.bOwnFont) AttachDialogFont(hDlg);
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(h, GWL_STYLE);
        const LONG kind = style & SS_TYPEMASK;
        if (strcasecmp(ClassOf(h).c_str(), "Static") != 0 || kind > SS_RIGHT) continue;
        const std::string text = TextOf(h);
        if (text.empty()) continue;
        RECT client{};
        GetClientRect(h, &client);
        HDC dc = GetDC(h);
        HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(h, WM_GETFONT, 0, 0));
        const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        RECT need{0, 0, client.right, 0}, line{0, 0, client.right, 0};
        DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | prefix);
        DrawTextA(dc, text.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE | prefix);
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(h, dc);
        // Lines are a character cell high, as Win32 draws them.
        const int lines = line.bottom > 0 ? (need.bottom + line.bottom / 2) / line.bottom : 1;
        const int height = lines * tm.tmHeight;
        if (need.right > client.right || height > client.bottom)
            cut.push_back(std::string(t.pszName) + " " + std::to_string(GetDlgCtrlID(h)) + " \"" + text + "\" needs " +
                          std::to_string(std::max<LONG>(need.right, line.right)) + "x" + std::to_string(height) +
                          " in " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    }
    DestroyWindow(hDlg);
    return cut;
}

class TemplateTexts : public ::testing::Test {
protected:
    void SetUp() override { programtest::StartFresh(); }
};

TEST_F(TemplateTexts, EveryStaticTextFitsItsRectangleInTheDialogsFont) {
    std::vector<std::string> cut;
    for (const Template& t : kTemplates)
        for (const std::string& c : CutTexts(t)) cut.push_back(c);
    std::string list;
    for (const std::string& c : cut) list += "\n  " + c;
    EXPECT_TRUE(cut.empty()) << "cut texts:" << list;
}

TEST_F(TemplateTexts, EverySingleLineEditScrollsHorizontally) {
    for (const Template& t : kTemplates) {
        HWND hDlg = CreateDialogParamA(g_hInstance, t.pszName, g_hMainWnd, Neutral, 0);
        ASSERT_NE(hDlg, nullptr) << t.pszName;
        for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            const LONG style = GetWindowLongA(h, GWL_STYLE);
            if (strcasecmp(ClassOf(h).c_str(), "Edit") != 0 || (style & ES_MULTILINE)) continue;
            EXPECT_TRUE(style & ES_AUTOHSCROLL) << t.pszName << " " << GetDlgCtrlID(h);
        }
        DestroyWindow(hDlg);
    }
}

}  // namespace
