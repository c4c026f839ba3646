// The dialog manager: templates in dialog units, focus and keys, modal loops
// (nested, with owner, with quit), modeless child pages.
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>

#include <gtest/gtest.h>

#include <cstdlib>

#include <functional>

#include "Recorder.h"
#include "win32_testhooks.h"

namespace {

std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> g_dlg;
std::vector<std::pair<UINT, WPARAM>> g_dlgLog;

INT_PTR CALLBACK DlgProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND || m == WM_INITDIALOG || m == WM_DESTROY) g_dlgLog.emplace_back(m, wp);
    if (g_dlg) return g_dlg(h, m, wp, lp);
    if (m == WM_INITDIALOG) return TRUE;
    if (m == WM_COMMAND && (LOWORD(wp) == IDCANCEL || LOWORD(wp) == 1112)) {
        EndDialog(h, LOWORD(wp));
        return TRUE;
    }
    return FALSE;
}

RECT ChildRect(HWND dlg, int id) {
    RECT r, d;
    GetWindowRect(GetDlgItem(dlg, id), &r);
    POINT o{0, 0};
    ClientToScreen(dlg, &o);
    OffsetRect(&r, -o.x, -o.y);
    (void)d;
    return r;
}

int Commands(WPARAM wp) {
    int n = 0;
    for (auto& e : g_dlgLog)
        if (e.first == WM_COMMAND && e.second == wp) ++n;
    return n;
}

class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        g_dlg = nullptr;
        g_dlgLog.clear();
        w32test::ClearHooks();
        w32test::ClearMessageBoxes();
    }
    void TearDown() override {
        g_dlg = nullptr;
        w32test::ClearHooks();
        w32test::ProcessEvents();
    }
};

TEST_F(Dialogs, TemplatesUseTwoPixelsPerDialogUnit) {
    RECT client{}, edit{}, ok{};
    std::string seen;
    w32test::SetDialogHook([&](HWND d, const std::string& name) {
        seen = name;
        GetClientRect(d, &client);
        edit = ChildRect(d, 100);
        ok = ChildRect(d, 1112);
        EndDialog(d, 77);
    });
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0), 77);
    EXPECT_EQ(seen, "ID_DLG_FORM");
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(edit.left, 80);
    EXPECT_EQ(edit.top, 10);
    EXPECT_EQ(edit.right - edit.left, 200);
    EXPECT_EQ(edit.bottom - edit.top, 24);
    EXPECT_EQ(ok.left, 180);
    EXPECT_EQ(ok.top, 260);
    EXPECT_EQ(DialogBoxParamA(Inst(), "NO_SUCH_DIALOG", nullptr, DlgProc, 0), -1);
}

TEST_F(Dialogs, CentredDialogsSitInTheMiddleOfTheScreen) {
    RECT client{}, window{};
    POINT origin{0, 0};
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        GetClientRect(d, &client);
        ClientToScreen(d, &origin);
        GetWindowRect(d, &window);
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // The window rectangle (frame and caption included) is centred.
    EXPECT_LE(std::abs((window.left + window.right) / 2 - area.center().x()), 1);
    EXPECT_LE(std::abs((window.top + window.bottom) / 2 - area.center().y()), 1);
    EXPECT_LE(window.left, origin.x);
    EXPECT_GE(window.right, origin.x + client.right);
}

TEST_F(Dialogs, InitialFocusGoesToFirstEnabledTabStopWithItsTextSelected) {
    g_dlg = [](HWND h, UINT m, WPARAM, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) {
            SetDlgItemTextA(h, 100, "abc");
            return TRUE;
        }
        return FALSE;
    };
    HWND focus = nullptr, expected = nullptr;
    DWORD selStart = 9, selEnd = 9;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        focus = GetFocus();
        expected = GetDlgItem(d, 100);
        SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    EXPECT_EQ(focus, expected);
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 3u);
}

TEST_F(Dialogs, TabMovesOverEnabledTabStopsInTemplateOrder) {
    std::vector<int> order;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        order.push_back(GetDlgCtrlID(GetFocus()));
        w32test::PressKey(VK_TAB);
        order.push_back(GetDlgCtrlID(GetFocus()));
        w32test::PressKey(VK_TAB, true);
        order.push_back(GetDlgCtrlID(GetFocus()));
        w32test::PressKey(VK_TAB, true);  // wraps to the last tab stop
        order.push_back(GetDlgCtrlID(GetFocus()));
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], 100);
    EXPECT_EQ(order[1], 102);  // the disabled edit 101 and the label are skipped
    EXPECT_EQ(order[2], 100);
    EXPECT_EQ(order[3], IDCANCEL);
}

TEST_F(Dialogs, TabbingOntoAnUncheckedRadioButtonChecksItAndReportsAClick) {
    int focused = 0, checked = -1;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        SetFocus(GetDlgItem(d, 102));
        g_dlgLog.clear();
        w32test::PressKey(VK_TAB);
        focused = GetDlgCtrlID(GetFocus());
        checked = int(IsDlgButtonChecked(d, 103));
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    EXPECT_EQ(focused, 103);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(Commands(MAKEWPARAM(103, BN_CLICKED)), 1);
}

TEST_F(Dialogs, EscapeAndTheCloseBoxArriveAsCancel) {
    w32test::SetDialogHook([](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        w32test::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0), IDCANCEL);
    EXPECT_EQ(Commands(MAKEWPARAM(IDCANCEL, BN_CLICKED)), 1);
    g_dlgLog.clear();
    w32test::SetDialogHook([](HWND d, const std::string&) { SendMessageA(d, WM_CLOSE, 0, 0); });
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0), IDCANCEL);
}

TEST_F(Dialogs, EnterClicksTheFocusedButtonOrSendsIdOk) {
    bool closedBy1112 = false;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        // In an edit, with no default button: command 1, which nobody handles.
        w32test::PressKey(VK_RETURN);
        EXPECT_EQ(Commands(IDOK), 1);
        EXPECT_TRUE(IsWindowVisible(d));
        SetFocus(GetDlgItem(d, 1112));
        w32test::PressKey(VK_RETURN);
        closedBy1112 = !IsWindowVisible(d);
    });
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0), 1112);
    EXPECT_TRUE(closedBy1112);
    // The multi-line edit with ES_WANTRETURN keeps Enter for itself.
    g_dlgLog.clear();
    std::string text;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        SetFocus(GetDlgItem(d, 106));
        w32test::TypeText("a");
        w32test::PressKey(VK_RETURN);
        w32test::TypeText("b");
        char buf[16];
        GetDlgItemTextA(d, 106, buf, sizeof buf);
        text = buf;
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    EXPECT_EQ(text, "a\r\nb");
    EXPECT_EQ(Commands(IDOK), 0);
}

TEST_F(Dialogs, EnterDoesNothingWhileTheDefaultButtonIsDisabled) {
    HWND focus = nullptr, edit = nullptr;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        focus = GetFocus();
        edit = GetDlgItem(d, 200);
        w32test::PressKey(VK_RETURN);
        EXPECT_TRUE(IsWindowVisible(d));
        EnableWindow(GetDlgItem(d, IDOK), TRUE);
        w32test::PressKey(VK_RETURN);
    });
    g_dlg = [](HWND h, UINT m, WPARAM wp, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) return TRUE;
        if (m == WM_COMMAND && LOWORD(wp) == IDOK) EndDialog(h, 5);
        return m == WM_COMMAND;
    };
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_DEF", nullptr, DlgProc, 0), 5);
    EXPECT_EQ(focus, edit);
    EXPECT_EQ(Commands(MAKEWPARAM(IDOK, BN_CLICKED)), 1);
}

TEST_F(Dialogs, NestedPagesEndInTurnAndAQuitWaitsForTheMainLoop) {
    int depth = 0, maxDepth = 0, destroyed = 0;
    std::vector<HWND> dialogs;
    g_dlg = [&](HWND h, UINT m, WPARAM wp, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) {
            dialogs.push_back(h);
            return TRUE;
        }
        if (m == WM_DESTROY) ++destroyed;
        if (m == WM_COMMAND && LOWORD(wp) == IDOK) {
            EndDialog(h, 0);
            EXPECT_FALSE(IsWindowVisible(h));  // hidden at once
            if (++depth < 4) {
                maxDepth = std::max(maxDepth, depth);
                DialogBoxParamA(Inst(), "ID_DLG_NEST", nullptr, DlgProc, 0);
            } else {
                PostQuitMessage(0);
            }
            return TRUE;
        }
        return FALSE;
    };
    w32test::SetDialogHook([](HWND d, const std::string&) { SendMessageA(d, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_NEST", nullptr, DlgProc, 0), 0);
    EXPECT_EQ(dialogs.size(), 4u);
    EXPECT_EQ(destroyed, 4);
    for (HWND d : dialogs) EXPECT_FALSE(IsWindow(d));
    MSG m;
    EXPECT_FALSE(GetMessageA(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 0u);
}

TEST_F(Dialogs, ModalDialogDisablesTheOwnersTopLevelWindowWhileItRuns) {
    HWND top = MakeTop();
    HWND view = MakeChild(top, 0, 0, 50, 50);
    bool enabledDuring = true;
    HWND parentSeen = nullptr;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        enabledDuring = IsWindowEnabled(top);
        parentSeen = GetParent(d);
        // A message box from the dialog returns to the dialog.
        EXPECT_EQ(MessageBoxA(d, "\xC8\xB7\xC8\xCF?", "t", MB_YESNO | MB_DEFBUTTON2), IDNO);
        EXPECT_TRUE(IsWindowVisible(d));
        EndDialog(d, 3);
    });
    EXPECT_EQ(DialogBoxParamA(Inst(), "ID_DLG_NEST", view, DlgProc, 0), 3);
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(parentSeen, top);
    EXPECT_TRUE(IsWindowEnabled(top));
    auto boxes = w32test::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "\xC8\xB7\xC8\xCF?");
    DestroyWindow(top);
}

TEST_F(Dialogs, ModelessChildPageIsBuiltHiddenAndNotifiesItsProcedure) {
    HWND top = MakeTop();
    HWND holder = MakeChild(top, 0, 0, 300, 200, 7);
    HWND page = CreateDialogParamA(Inst(), "ID_DLG_PAGE", holder, DlgProc, 0);
    ASSERT_TRUE(page);
    ASSERT_FALSE(g_dlgLog.empty());
    EXPECT_EQ(g_dlgLog.front().first, UINT(WM_INITDIALOG));
    EXPECT_EQ(GetParent(page), holder);
    EXPECT_FALSE(IsWindowVisible(page));
    ShowWindow(top, SW_SHOW);
    ShowWindow(page, SW_SHOW);
    w32test::Click(GetDlgItem(page, 300));
    EXPECT_EQ(Commands(MAKEWPARAM(300, BN_CLICKED)), 1);
    // A private message reaches the page's procedure through the dialog manager.
    bool reloaded = false;
    g_dlg = [&](HWND, UINT m, WPARAM, LPARAM) -> INT_PTR {
        reloaded |= m == 40012;
        return FALSE;
    };
    SendMessageA(page, 40012, 0, 0);
    EXPECT_TRUE(reloaded);
    EXPECT_TRUE(DestroyWindow(page));
    EXPECT_EQ(g_dlgLog.back().first, UINT(WM_DESTROY));
    EXPECT_EQ(CreateDialogParamA(Inst(), "ID_DLG_MISSING", holder, DlgProc, 0), nullptr);
    DestroyWindow(top);
}

TEST_F(Dialogs, AutoRadioButtonsFormOneGroupAndArrowsCheck) {
    int check103 = -1, check104 = -1, afterArrow103 = -1, clicked = 0;
    g_dlg = [&](HWND h, UINT m, WPARAM wp, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) return TRUE;
        if (m == WM_COMMAND && (wp == MAKEWPARAM(103, BN_CLICKED) || wp == MAKEWPARAM(104, BN_CLICKED))) ++clicked;
        (void)h;
        return FALSE;
    };
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        EXPECT_EQ(IsDlgButtonChecked(d, 103), 0u);
        w32test::Click(GetDlgItem(d, 103));
        w32test::Click(GetDlgItem(d, 104));
        check103 = int(IsDlgButtonChecked(d, 103));
        check104 = int(SendDlgItemMessageA(d, 104, BM_GETCHECK, 0, 0));
        w32test::PressKey(VK_UP);
        afterArrow103 = int(IsDlgButtonChecked(d, 103));
        // Up again passes over the group's label and wraps to 104.
        w32test::PressKey(VK_UP);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), 104);
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    EXPECT_EQ(check103, 0);
    EXPECT_EQ(check104, 1);
    EXPECT_EQ(afterArrow103, 1);
    EXPECT_EQ(clicked, 4);
}

}  // namespace

namespace {

TEST_F(Dialogs, AQuitPostedFromADialogInsideCreateEndsTheFirstTurnOfTheMainLoop) {
    // The main window runs its login dialog from WM_CREATE; the user cancels,
    // which posts the quit and ends the dialog; creation completes.
    g_dlg = [](HWND h, UINT m, WPARAM wp, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) return TRUE;
        if (m == WM_COMMAND && LOWORD(wp) == IDCANCEL) {
            PostQuitMessage(0);
            EndDialog(h, 0);
            return TRUE;
        }
        return FALSE;
    };
    w32test::SetDialogHook([](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        w32test::PressKey(VK_ESCAPE);
    });
    bool createdAfterDialog = false;
    g_recHandler = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
        if (m != WM_CREATE) return false;
        DialogBoxParamA(Inst(), "ID_DLG_NEST", nullptr, DlgProc, 0);
        createdAfterDialog = true;
        *r = 0;
        return true;
    };
    ClearLog();
    HWND main = MakeTop(640, 480, "Tarvel Sales Logs");
    g_recHandler = nullptr;
    ASSERT_TRUE(main);
    EXPECT_TRUE(createdAfterDialog);
    ShowWindow(main, SW_SHOWMAXIMIZED);
    UpdateWindow(main);
    bool maximizedSize = false;
    for (auto& r : Log())
        if (r.hwnd == main && r.msg == WM_SIZE && r.wp == SIZE_MAXIMIZED) maximizedSize = true;
    EXPECT_TRUE(maximizedSize);
    MSG msg;
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.wParam, 0u);
    DestroyWindow(main);
}

}  // namespace

namespace {

TEST_F(Dialogs, ADialogsPaintStartsFromTheDefaultDcStateAfterTheFaceErase) {
    COLORREF bk = 1, text = 1;
    int mode = 0;
    g_dlg = [&](HWND h, UINT m, WPARAM, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) return TRUE;
        if (m == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            bk = GetBkColor(dc);
            text = GetTextColor(dc);
            mode = GetBkMode(dc);
            EndPaint(h, &ps);
            return TRUE;
        }
        return FALSE;
    };
    COLORREF face = 0;
    w32test::SetDialogHook([&](HWND d, const std::string&) {
        InvalidateRect(d, nullptr, TRUE);
        UpdateWindow(d);
        face = w32test::BackingPixel(d, 1, 1);
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_NEST", nullptr, DlgProc, 0);
    EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(bk, COLORREF(0xFFFFFF));
    EXPECT_EQ(text, COLORREF(0));
    EXPECT_EQ(mode, OPAQUE);
}

}  // namespace

namespace {

WNDPROC g_searchOld = nullptr;
std::vector<std::pair<UINT, WPARAM>> g_searchKeys;
LRESULT CALLBACK SearchEditProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if ((m == WM_KEYDOWN || m == WM_KEYUP) && wp == VK_RETURN) g_searchKeys.emplace_back(m, wp);
    if (m == WM_KEYUP && wp == VK_RETURN) SendMessageA(GetParent(h), WM_COMMAND, 1092, 0);
    return CallWindowProcA(g_searchOld, h, m, wp, lp);
}

TEST_F(Dialogs, EnterUpReachesTheSubclassedEditAfterTheDialogTookEnterDown) {
    g_searchKeys.clear();
    g_dlg = [](HWND h, UINT m, WPARAM, LPARAM) -> INT_PTR {
        if (m == WM_INITDIALOG) {
            g_searchOld = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(GetDlgItem(h, 100), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SearchEditProc)));
            return TRUE;
        }
        return FALSE;
    };
    w32test::SetDialogHook([](HWND d, const std::string&) {
        w32test::WaitForKeyboard(d);
        w32test::PressKey(VK_RETURN);
        EndDialog(d, 0);
    });
    DialogBoxParamA(Inst(), "ID_DLG_FORM", nullptr, DlgProc, 0);
    EXPECT_EQ(g_searchKeys, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYUP, VK_RETURN}}));
    EXPECT_EQ(Commands(IDOK), 1);  // the down went to the dialog manager
    EXPECT_EQ(Commands(1092), 1);  // the up ran the search
}

}  // namespace
