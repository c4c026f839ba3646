// What the user sees on a real X server (Xvfb, with or without a window
// manager): a message box, a dialog from a template, a record picker, a popup
// menu and the save dialog opened over the main window show their own pixels
// on the screen (read from the root window, not from the windows), and the
// main window's pixels come back where they were when they close or move away;
// a mail run's box leaves the windows answering the user's clicks and closes;
// the time pickers show every character of their time beside their arrows and
// step once per click of the user's mouse; a date picker's calendar drops
// down framed, today marked, and takes the user's keys; lists scroll their
// columns by small steps as far as the last one, and show no horizontal bar
// when their columns fit; a record form's memo box turns white with 修改.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ScreenReader.h"
#include "tests/mail/SmtpTestServer.h"
#include "tests/support/ProgramTest.h"
#include "tests/support/UserSteps.h"

#include "dialogs/NewRecordDialogs.h"
#include "dialogs/RecordPickers.h"
#include "mail/MailDialogClass.h"
#include "platform/gbk/gbk.h"
#include "resources/opportunities_ids.h"
#include "resources/shell_ids.h"
#include "resources/tasks_ids.h"
#include "shell/FirstRunWizard.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/contacts/Con_Navigation.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_StartDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_Navigation.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"
#include "win32_testhooks_shell.h"

#include <X11/keysym.h>

using namespace programtest;
using screentest::ClickOnScreen;
using screentest::ClickWithTheServer;
using screentest::DragWithTheServer;
using screentest::IsShown;
using screentest::Pixels;
using screentest::ReadRoot;
using screentest::Rect;
using screentest::RequestClose;
using screentest::Shown;
using screentest::ShownMenu;
using screentest::ShownWhereKnown;
using screentest::TypeWithTheServer;
using screentest::WhenShown;
using servertest::TakeStep;

namespace {

Rect ClientOnScreen(HWND h) {
    RECT rc{};
    GetClientRect(h, &rc);
    POINT p{0, 0};
    ClientToScreen(h, &p);
    return Rect{p.x, p.y, rc.right, rc.bottom};
}

Rect Grown(const Rect& r, int by) { return Rect{r.x - by, r.y - by, r.width + 2 * by, r.height + 2 * by}; }

Pixels Read(const Rect& r) { return ReadRoot(r.x, r.y, r.width, r.height); }

int Luma(uint32_t c) { return (int((c >> 16) & 0xFF) * 30 + int((c >> 8) & 0xFF) * 59 + int(c & 0xFF) * 11) / 100; }

// Blocks of 8 x 8 pixels all black: text never fills one, an area nothing
// was drawn on does.
int BlackBlocks(const Pixels& p) {
    int blocks = 0;
    for (int by = p.y; by + 8 <= p.y + p.height; by += 8)
        for (int bx = p.x; bx + 8 <= p.x + p.width; bx += 8) {
            bool black = true;
            for (int y = by; y < by + 8 && black; ++y)
                for (int x = bx; x < bx + 8 && black; ++x) black = p.at(x, y) == 0;
            blocks += black ? 1 : 0;
        }
    return blocks;
}

// A window's own pixels as the screen shows them: text (dark pixels) on a
// light face, several colours, no black area.
std::string WhyNotPainted(const Pixels& p) {
    if (p.empty()) return "nothing read";
    size_t dark = 0, light = 0;
    std::set<uint32_t> colours;
    for (uint32_t c : p.rgb) {
        const int l = Luma(c);
        if (l < 110) ++dark;
        if (l > 180) ++light;
        if (colours.size() < 16) colours.insert(c);
    }
    const size_t n = p.rgb.size();
    if (int blocks = BlackBlocks(p); blocks > 0) return std::to_string(blocks) + " black blocks of 8 x 8";
    if (colours.size() < 3) return "uniform (" + std::to_string(colours.size()) + " colours)";
    if (dark < 30) return "no text (" + std::to_string(dark) + " dark pixels)";
    if (light * 3 < n) return "no light face (" + std::to_string(light) + " of " + std::to_string(n) + ")";
    return "";
}

// Waits until the screen shows a painted window over r; "" or what is wrong.
// How many of the pixels over r are no longer those of `under`.
size_t Changed(const Pixels& now, const Pixels& under) {
    size_t changed = 0;
    for (int y = now.y; y < now.y + now.height; ++y)
        for (int x = now.x; x < now.x + now.width; ++x)
            changed += under.contains(x, y) && under.at(x, y) != now.at(x, y) ? 1 : 0;
    return changed;
}

// Waits until the screen shows a painted window over r, in place of the main
// window's pixels `under`; "" or what is wrong (the screen is then saved as
// <name>.png in the test's output folder).
std::string WaitUntilPainted(const Rect& r, const Pixels& under, const std::string& name) {
    std::string why;
    w32test::WaitFor(
        [&] {
            const Pixels now = Read(r);
            why = WhyNotPainted(now);
            if (why.empty() && Changed(now, under) * 3 < now.rgb.size()) why = "the main window's pixels still show";
            return why.empty();
        },
        10000);
    if (!why.empty()) screentest::SavePng(ReadRoot(0, 0, 4096, 4096), OutputPath(name + ".png"));
    return why;
}

// The pixels of `before` outside `skip` are on the screen again (a caret or
// a focus frame may differ in a few).
std::string WhyNotBack(const Pixels& before, const Rect& skip = Rect()) {
    const Pixels now = ReadRoot(before.x, before.y, before.width, before.height);
    if (now.rgb.size() != before.rgb.size()) return "nothing read";
    size_t differ = 0, compared = 0;
    for (int y = before.y; y < before.y + before.height; ++y)
        for (int x = before.x; x < before.x + before.width; ++x) {
            if (skip.contains(x, y)) continue;
            ++compared;
            if (now.at(x, y) != before.at(x, y)) ++differ;
        }
    if (differ * 200 > compared) return std::to_string(differ) + " of " + std::to_string(compared) + " pixels differ";
    return "";
}

std::string WaitUntilBack(const Pixels& before, const Rect& skip = Rect()) {
    std::string why;
    w32test::WaitFor([&] { return (why = WhyNotBack(before, skip)).empty(); }, 10000);
    return why;
}

// What a picker shows left of its arrows, inside its edges: every pixel
// clearly lighter or darker than the face is its text's (drawn unsmoothed,
// grey while disabled). One run of such columns per character, the same
// pixels for the same characters (none cut, the screen shows this text), a
// clear column before the arrows; "" or what is wrong.
std::string WhyNotWholeText(HWND picker) {
    const Rect at = ClientOnScreen(picker);
    const RECT arrows = w32test::PickerArrowsRect(picker);
    const std::string text = w32test::PickerText(picker);
    const Pixels p = Read(at);
    if (p.empty() || arrows.left <= 0 || text.empty()) return "nothing read";
    const int top = at.y + 2, bottom = at.y + at.height - 2, face = Luma(p.at(at.x + 2, top));
    std::vector<std::string> glyphs;  // each run's pixels, column by column
    bool ink = false;
    for (int x = at.x + 2; x < at.x + arrows.left; ++x) {
        std::string column;
        for (int y = top; y < bottom; ++y) column += std::abs(Luma(p.at(x, y)) - face) > 24 ? '#' : '.';
        const bool had = ink;
        ink = column.find('#') != std::string::npos;
        if (ink && !had) glyphs.emplace_back();
        if (ink) glyphs.back() += column;
    }
    const std::string shown = text + ": " + std::to_string(glyphs.size()) + " characters shown";
    if (glyphs.size() != text.size() || ink) return shown + (ink ? ", the last under the arrows" : "");
    for (size_t i = 0; i < text.size(); ++i)
        if (glyphs[i] != glyphs[text.find(text[i])]) return shown + ", character " + std::to_string(i) + " differs";
    return "";
}

std::string WaitUntilWholeText(HWND picker, const std::string& name) {
    std::string why;
    w32test::WaitFor([&] { return (why = WhyNotWholeText(picker)).empty(); }, 10000);
    if (!why.empty()) screentest::SavePng(ReadRoot(0, 0, 4096, 4096), OutputPath(name + ".png"));
    return why;
}

// A drop-down calendar as the screen shows it: a dark frame all along its
// edges around a light body, and today framed in its own colour (192, 0, 0);
// "" or what is wrong.
std::string WhyNotFramedWithToday(const Pixels& p) {
    if (p.width < 3 || p.height < 3) return "nothing read";
    const int x0 = p.x, y0 = p.y, x1 = p.x + p.width - 1, y1 = p.y + p.height - 1;
    int edge = 0, dark = 0, inside = 0, light = 0, today = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int ring = std::min({x - x0, x1 - x, y - y0, y1 - y});
            if (ring == 0) ++edge, dark += Luma(p.at(x, y)) < 80;
            if (ring == 1) ++inside, light += Luma(p.at(x, y)) > 200;
            today += p.at(x, y) == 0xC00000;
        }
    if (dark < edge) return std::to_string(edge - dark) + " of " + std::to_string(edge) + " edge pixels not dark";
    if (light * 10 < inside * 9) return "no light body inside the frame";
    if (today < 20) return "today not framed (" + std::to_string(today) + " pixels)";
    return "";
}

class ScreenXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(getenv("DISPLAY"), nullptr);
        StartFresh();
        // Run under a window manager, the main window is framed first.
        if (getenv("TARVEL_WINDOW_MANAGER")) {
            ASSERT_TRUE(screentest::WaitUntilManaged(g_hMainWnd, 30000));
        }
        ASSERT_TRUE(w32test::WaitFor([] { return ShownWhereKnown(g_hMainWnd); }, 10000));
        main_ = ClientOnScreen(g_hMainWnd);
        ASSERT_TRUE(w32test::WaitFor([&] { return main_.width > 0 && ReallyShown(); }, 10000));
    }
    void TearDown() override {
        w32test::SetPopupMenuHook(nullptr);
        w32test::AutoAnswerMessageBoxes(true);
        w32test::CancelSaveDialog();
    }

    // The main window's pixels, once they stop changing: what is pending
    // is handled before each read, and each read is a round trip to the
    // X server.
    Pixels MainPixels() {
        Pixels last = Read(main_);
        w32test::WaitFor(
            [&] {
                w32test::ProcessEvents();
                Pixels now = Read(main_);
                const bool same = now.rgb == last.rgb;
                last = std::move(now);
                return same;
            },
            3000);
        return last;
    }

    // Opens the opportunity's record form through the list.
    void OpenOpportunity() {
        w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_OPPORTUNITIES);
        ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Start; }));
        w32test::Click(g_Opp_Start.m_hMenuButtons[1]);  // all opportunities
        ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Homepage; }));
        w32test::DoubleClickListRow(g_Opp_Homepage.m_ListView.m_hListView, 0);
        ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Detail; }));
    }

    // The relation page of tab `tab` once it holds control `id`.
    HWND RelationPage(int tab, int id) {
        w32test::ClickTab(g_Opp_Detail.m_Tab.m_hTab, tab);
        w32test::WaitFor([&] { return GetDlgItem(g_Opp_Detail.m_Tab.m_hPage, id) != nullptr; });
        return g_Opp_Detail.m_Tab.m_hPage;
    }

    bool ReallyShown() const { return WhyNotPainted(Read(main_)).empty(); }

    Rect main_;
};

// A dialog step: its own pixels on the screen, then moved over another part
// of the main window, then closed; the main window shows its pixels again
// wherever the dialog was.
void CheckDialogOverMain(HWND h, const std::string& name, const Pixels& mainBefore, std::string* failures) {
    if (!w32test::WaitFor([&] { return ShownWhereKnown(h); }, 10000)) *failures += "not where the layer has it; ";
    const Rect at = ClientOnScreen(h);
    if (std::string why = WaitUntilPainted(at, mainBefore, name); !why.empty()) *failures += "shown: " + why + "; ";
    RECT wr{};
    GetWindowRect(h, &wr);
    SetWindowPos(h, nullptr, wr.left - 150, wr.top - 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    w32test::WaitFor([&] { return !(ClientOnScreen(h) == at) && ShownWhereKnown(h); });
    const Rect moved = ClientOnScreen(h);
    if (std::string why = WaitUntilPainted(moved, mainBefore, name + "-moved"); !why.empty())
        *failures += "moved: " + why + "; ";
    // Where the dialog was and is no longer, the main window shows again.
    if (std::string why = WaitUntilBack(mainBefore, Grown(moved, 40)); !why.empty())
        *failures += "uncovered by the move: " + why + "; ";
}

TEST_F(ScreenXvfb, AMessageBoxShowsItsTextAndTheMainWindowComesBack) {
    AddOpp({.subject = "Screen"});
    OpenOpportunity();
    const Pixels before = MainPixels();
    // 删除 asks first; the box is answered 否 and nothing changes.
    std::string painted = "never shown";
    w32test::SetMessageBoxHook(nullptr);
    w32test::AutoAnswerMessageBoxes(false);
    WhenShown(Shown::MessageBox, [&](const Rect& box) { painted = WaitUntilPainted(box, before, "screen-box"); });
    w32test::Click(GetDlgItem(g_Opp_Detail.m_hWnd, IDC_OPPD_DELETE));
    w32test::AutoAnswerMessageBoxes(true);
    EXPECT_EQ(painted, "");
    EXPECT_EQ(g_pCurrentDialog, &g_Opp_Detail);
    EXPECT_EQ(WaitUntilBack(before), "");
}

TEST_F(ScreenXvfb, ADialogFromATemplateShowsItsFieldsWhereverItIsMoved) {
    AddOpp({.subject = "Screen"});
    OpenOpportunity();
    HWND hPage = RelationPage(1, 11409);
    const Pixels before = MainPixels();
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(IDM_NEWCONTACT); });
    std::string failures = "never shown";
    DialogScript script;
    script.Then(IDD_NEW_CONTACT, [&](HWND h) {
        failures.clear();
        CheckDialogOverMain(h, "screen-new-contact", before, &failures);
        PressButton(h, IDCANCEL);
    });
    w32test::Click(GetDlgItem(hPage, 11402));  // the chosen command comes posted
    EXPECT_TRUE(w32test::WaitFor([&] { return script.Finished(); }, 10000));
    EXPECT_EQ(failures, "");
    EXPECT_EQ(WaitUntilBack(before), "");
}

TEST_F(ScreenXvfb, APickerShowsItsListWhereverItIsMoved) {
    AddOpp({.subject = "Screen"});
    AddTask({.subject = "Visit"});
    OpenOpportunity();
    HWND hPage = RelationPage(0, 10153);
    const Pixels before = MainPixels();
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(IDM_SELECTTASK); });
    std::string failures = "never shown";
    DialogScript script;
    script.Then(IDD_SELECT_OBJECT, [&](HWND h) {
        failures.clear();
        w32test::WaitFor([&] { return RowCount(GetDlgItem(h, IDC_PICK_LIST)) == 1; });
        CheckDialogOverMain(h, "screen-picker", before, &failures);
        PressButton(h, IDCANCEL);
    });
    w32test::Click(GetDlgItem(hPage, 11404));
    EXPECT_TRUE(w32test::WaitFor([&] { return script.Finished(); }, 10000));
    EXPECT_EQ(failures, "");
    EXPECT_EQ(WaitUntilBack(before), "");
}

TEST_F(ScreenXvfb, TheTimePickersOfTheTaskFormAndTheNewTaskDialogShowTheWholeTime) {
    AddOpp({.subject = "Screen"});
    AddTask({.subject = "Visit", .time = "14:00:00"});
    GotoTas_ListAll();
    ASSERT_TRUE(w32test::WaitFor([] { return RowCount(g_Tas_ListAll.m_ListView) == 1; }));
    DoubleClickRow(g_Tas_ListAll, g_Tas_ListAll.m_ListView, 0);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Tas_Detail; }));
    HWND hTime = GetDlgItem(g_Tas_Detail.m_hWnd, IDC_TASD_TIME);
    SetFocus(GetDlgItem(g_Tas_Detail.m_hWnd, IDC_TASD_SUBJECT));
    EXPECT_EQ(w32test::PickerText(hTime), "14:00:00");
    EXPECT_EQ(WaitUntilWholeText(hTime, "screen-task-time"), "");

    OpenOpportunity();
    HWND hPage = RelationPage(0, 10153);
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(IDM_NEWTASK); });
    std::string why = "never shown";
    DialogScript script;
    script.Then(IDD_NEW_TASK, [&](HWND h) {
        SYSTEMTIME st = Day(2024, 1, 10);
        st.wHour = 14;
        st.wMinute = st.wSecond = 0;
        SendMessageA(GetDlgItem(h, IDC_NEWTASK_TIME), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&st));
        SetFocus(GetDlgItem(h, IDC_NEWTASK_TITLE));
        why = WaitUntilWholeText(GetDlgItem(h, IDC_NEWTASK_TIME), "screen-new-task-time");
        PressButton(h, IDCANCEL);
    });
    w32test::Click(GetDlgItem(hPage, 11404));
    EXPECT_TRUE(w32test::WaitFor([&] { return script.Finished(); }, 10000));
    EXPECT_EQ(why, "");
}

TEST_F(ScreenXvfb, APopupMenuShowsItsItemsAndTheMainWindowComesBack) {
    AddOpp({.subject = "Screen"});
    OpenOpportunity();
    HWND hPage = RelationPage(0, 10153);
    const Pixels before = MainPixels();
    std::string painted = "never shown";
    WhenShown(Shown::PopupMenu, [&](const Rect& menu) { painted = WaitUntilPainted(menu, before, "screen-menu"); });
    w32test::Click(GetDlgItem(hPage, 11404));  // the real menu opens
    EXPECT_EQ(painted, "");
    EXPECT_EQ(WaitUntilBack(before), "");
}

// A field's own menu, with the X server's pointer and keys: right-clicked, it
// opens at the pointer; the subject is chosen whole (全选 by its letter) and
// copied (复制 clicked), pasted into the description (粘贴 by its letter), and
// the record saved holds it in the database file.
TEST_F(ScreenXvfb, AFieldsMenuCopiesItsTextIntoAnotherFieldAndTheSavedRecordKeepsIt) {
    AddOpp({.subject = "Screen"});
    OpenOpportunity();
    Click(g_Opp_Detail, IDC_OPPD_EDIT);
    const HWND subject = g_Opp_Detail.m_hSubject, description = g_Opp_Detail.m_hDescription;
    const auto centre = [](HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return std::make_pair(int(r.left + r.right) / 2, int(r.top + r.bottom) / 2);
    };
    const auto click = [&](HWND h, int button) {
        return [=] { ClickWithTheServer(centre(h).first, centre(h).second, button); };
    };
    const auto open = [] { return ShownMenu().width > 0; };
    const auto closed = [] { return !IsShown(Shown::PopupMenu); };
    Rect menu;
    servertest::Steps steps({
        {[] { return true; }, click(subject, 3)},
        {open,
         [&] {
             menu = ShownMenu();
             TypeWithTheServer({'a'});
         }},
        {[&] { return closed() && SendMessageA(subject, EM_GETSEL, 0, 0) == MAKELONG(0, 6); }, click(subject, 3)},
        {open,
         [] {
             const auto [x, y] = screentest::MenuItemCentre('C');
             ClickWithTheServer(x, y);
         }},
        {closed, click(description, 3)},
        {open, [] { TypeWithTheServer({'p'}); }},
        {[&] { return closed() && Text(description) == "Screen"; },
         click(GetDlgItem(g_Opp_Detail.m_hWnd, IDC_OPPD_SAVE), 1)},
    });
    const bool saved = w32test::WaitFor(
        [&] { return steps.Taken() == 7 && g_Opp_Detail.CurrentMode() == RecordFormClass::kBrowse; }, 20000);
    EXPECT_TRUE(saved) << steps.Taken() << " steps taken";
    EXPECT_EQ(std::make_pair(menu.x, menu.y), centre(subject));
    EXPECT_EQ(Database().Query("SELECT opp_subject, opp_description FROM opportunities"),
              (std::vector<std::vector<std::string>>{{"Screen", "Screen"}}));
}

TEST_F(ScreenXvfb, TheSaveDialogShowsItsFolderAndTheMainWindowComesBack) {
    AddOpp({.subject = "Screen"});
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_OPPORTUNITIES);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Start; }));
    w32test::Click(g_Opp_Start.m_hMenuButtons[1]);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Homepage; }));
    const Pixels before = MainPixels();
    w32test::SetSaveDialogHook(nullptr);  // the real dialog
    std::string painted = "never shown";
    bool closedByAltF4 = false;
    WhenShown(Shown::SaveDialog, [&](const Rect& dialog) {
        painted = WaitUntilPainted(dialog, before, "screen-save-dialog");
        // Alt+F4 cancels it, with or without a window manager.
        TakeStep([] { screentest::ChordWithTheServer({XK_Alt_L, XK_F4}); });
        closedByAltF4 = w32test::WaitFor([] { return !IsShown(Shown::SaveDialog); }, 5000);
    });
    SendMessageA(g_Opp_Homepage.m_hWnd, WM_COMMAND, IDM_EXPORTTEXT, 0);
    EXPECT_EQ(painted, "");
    EXPECT_TRUE(closedByAltF4);
    EXPECT_EQ(WaitUntilBack(before), "");
}

// The x of each header divider (the light grey line at a column's right
// edge) in a row of the screen.
std::vector<int> HeaderDividers(const Pixels& row) {
    std::vector<int> out;
    for (int x = row.x; x < row.x + row.width; ++x)
        if (row.at(x, row.y) == 0xE5E5E5u) out.push_back(x);
    return out;
}

// The list's header row through its middle, once the screen stops changing.
Pixels HeaderRow(HWND list) {
    RECT first{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, 0, LPARAM(&first));
    const Rect at = ClientOnScreen(list);
    Pixels last;
    w32test::WaitFor(
        [&] {
            w32test::ProcessEvents();
            Pixels now = ReadRoot(at.x, at.y + first.top / 2, at.width, 1);
            const bool same = !now.empty() && now.rgb == last.rgb;
            last = std::move(now);
            return same;
        },
        3000);
    return last;
}

// Lists as the user scrolls them on the screen. On 所有客户单位 (40 rows, a
// vertical bar) an arrow of the horizontal bar moves the columns a few
// pixels, and the thumb dragged all the way right brings the last column's
// header to the vertical bar; the 所有计划日志 list, whose columns are as
// wide as the list, shows no horizontal bar.
TEST_F(ScreenXvfb, ListsScrollAsFarAsTheirColumnsInSmallStepsAndFittingOnesHaveNoBar) {
    for (int i = 0; i < 40; ++i) AddAccount({.name = "Acc" + std::to_string(i)});
    GotoAcc_Homepage();
    HWND list = g_Acc_Homepage.m_ListView.m_hListView;
    ASSERT_TRUE(w32test::WaitFor([&] { return RowCount(list) == 40; }));
    const Rect at = ClientOnScreen(list);
    const RECT bar = w32test::ListHorzBar(list);
    ASSERT_FALSE(IsRectEmpty(&bar));
    const int barY = at.y + (bar.top + bar.bottom) / 2;
    // The page keeps its scroll from before: the trough left of the thumb pages back.
    SCROLLINFO si{};
    w32test::ListHorzBar(list, &si);
    if (si.nPos > 0) TakeStep([&] { ClickWithTheServer(at.x + bar.left + 20, barY); });
    ASSERT_TRUE(w32test::WaitFor([&] { return w32test::ListHorzBar(list, &si), si.nPos == 0; }));
    const std::vector<int> before = HeaderDividers(HeaderRow(list));
    ASSERT_FALSE(before.empty());
    TakeStep([&] { ClickWithTheServer(at.x + bar.right - 4, barY); });  // the right arrow
    std::vector<int> after;
    w32test::WaitFor([&] { return (after = HeaderDividers(HeaderRow(list))) != before; }, 5000);
    ASSERT_FALSE(after.empty());
    EXPECT_GT(before.front() - after.front(), 0);
    EXPECT_LE(before.front() - after.front(), 16);

    TakeStep([&] { DragWithTheServer(at.x + bar.left + 40, barY, at.x + bar.right + 300, barY); });
    w32test::WaitFor([&] { return HeaderDividers(HeaderRow(list)) != after; }, 5000);
    const Pixels header = HeaderRow(list);
    const std::vector<int> right = HeaderDividers(header);
    ASSERT_FALSE(right.empty());
    // Right of the last divider only the vertical bar and the list's border.
    int white = 0;
    for (int x = right.back() + 1; x < at.x + at.width; ++x) white += header.at(x, header.y) == 0xFFFFFFu;
    EXPECT_EQ(white, 0) << "the last divider at " << right.back() - at.x << " of " << at.width;
    EXPECT_GT(right.back(), at.x + at.width - 30);

    AddTask({.subject = "Visit"});
    AddTask({.subject = "Call"});
    GotoTas_ListAll();
    HWND tasks = g_Tas_ListAll.m_ListView.m_hListView;
    ASSERT_TRUE(w32test::WaitFor([&] { return RowCount(tasks) == 2; }));
    MainPixels();
    // The bottom of the list, inside its border: rows left blank, no bar's
    // grey thumb or arrows.
    const Rect list2 = ClientOnScreen(tasks);
    const Pixels bottom = ReadRoot(list2.x + 1, list2.y + list2.height - 15, list2.width - 2, 14);
    ASSERT_FALSE(bottom.empty());
    size_t grey = 0;
    for (uint32_t c : bottom.rgb) {
        const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
        grey += r == g && g == b && r < 235 ? 1 : 0;
    }
    EXPECT_LT(grey * 20, bottom.rgb.size()) << grey << " grey pixels of " << bottom.rgb.size();
}

// The line above a page's list or form, as the screen shows it once the page
// has settled: the top 35 rows of the page's window right of its left panel.
Pixels LineStrip(const BaseDialogClass& page) {
    Rect r = ClientOnScreen(page.m_hWnd);
    Pixels last;
    w32test::WaitFor(
        [&] {
            w32test::ProcessEvents();
            Pixels now = ReadRoot(r.x + 160, r.y, r.width - 160, 35);
            const bool same = !now.empty() && now.rgb == last.rgb;
            last = std::move(now);
            return same;
        },
        3000);
    return last;
}

// A replaced line leaves nothing of the old one: the strip shows what the
// page paints afresh. "" or what is left (the screen saved as <name>.png).
std::string WhyOldLineLeft(BaseDialogClass& page, const Pixels& before, const std::string& name) {
    const Pixels replaced = LineStrip(page);
    if (replaced.rgb == before.rgb) return "the line did not change";
    InvalidateRect(page.m_hWnd, nullptr, TRUE);
    const Pixels fresh = LineStrip(page);
    size_t left = 0;
    for (size_t i = 0; i < fresh.rgb.size() && i < replaced.rgb.size(); ++i) left += fresh.rgb[i] != replaced.rgb[i];
    if (left == 0 && fresh.rgb.size() == replaced.rgb.size()) return "";
    screentest::SavePng(replaced, OutputPath(name + ".png"));
    return std::to_string(left) + " pixels of the old line left";
}

TEST_F(ScreenXvfb, AReplacedLineOfTextLeavesNothingOfTheOldOne) {
    for (std::string name : {"Screen", "Other"}) {
        AddOpp({.subject = name});
        AddContact({.name = name});
    }
    // The list's caption after a search in its quick-search box, the page
    // scrolled down a little in a window smaller than the page.
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_OPPORTUNITIES);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Start; }));
    w32test::Click(g_Opp_Start.m_hMenuButtons[1]);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Opp_Homepage; }));
    HWND hSmall = CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 900, 600, nullptr, nullptr, nullptr, nullptr);
    g_Opp_Homepage.ResizeDialog(hSmall);
    DestroyWindow(hSmall);
    for (int i = 0; i < 6; ++i) SendMessageA(g_Opp_Homepage.m_hWnd, WM_VSCROLL, SB_LINEDOWN, 0);
    Pixels before = LineStrip(g_Opp_Homepage);
    w32test::TypeText("Scr", g_Opp_Homepage.m_hSearchEdit);
    w32test::PressKey(VK_RETURN, false, false, g_Opp_Homepage.m_hSearchEdit);
    const bool bSearched = w32test::WaitFor([] { return RowCount(g_Opp_Homepage.m_ListView) == 1; });
    const std::string strListLeft = WhyOldLineLeft(g_Opp_Homepage, before, "screen-list-caption");
    g_Opp_Homepage.ResizeDialog(g_hMainWnd);
    ASSERT_TRUE(bSearched);
    EXPECT_EQ(strListLeft, "");

    // A record form's count line when the form turns to a new record.
    w32test::ClickToolbarButton(g_Toolbar.m_hToolbar, IDC_TB_CONTACTS);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Start; }));
    w32test::Click(g_Con_Start.m_hMenuButtons[1]);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Homepage; }));
    w32test::DoubleClickListRow(g_Con_Homepage.m_ListView.m_hListView, 0);
    ASSERT_TRUE(w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Detail; }));
    before = LineStrip(g_Con_Detail);
    w32test::Click(g_Con_Detail.m_hMenuButtons[0]);
    ASSERT_TRUE(w32test::WaitFor([] { return g_Con_Detail.CurrentMode() == RecordFormClass::kNew; }));
    EXPECT_EQ(WhyOldLineLeft(g_Con_Detail, before, "screen-form-count-line"), "");

    // The day's count line, which reaches beyond its rectangle, when the next
    // day has fewer tasks.
    SYSTEMTIME st{};
    GetLocalTime(&st);
    char szToday[16];
    snprintf(szToday, sizeof szToday, "%04u-%02u-%02u", st.wYear % 10000u, st.wMonth % 100u, st.wDay % 100u);
    for (int i = 0; i < 10; ++i) AddTask({.subject = "Visit", .date = szToday});
    GotoTas_HomepageToday();  // the tasks menu's entry for today
    ASSERT_TRUE(w32test::WaitFor([] { return RowCount(g_Tas_Homepage.m_ListView) == 10; }));
    before = LineStrip(g_Tas_Homepage);
    Click(g_Tas_Homepage, IDC_TASH_NEXT);
    ASSERT_TRUE(w32test::WaitFor([] { return RowCount(g_Tas_Homepage.m_ListView) == 0; }));
    EXPECT_EQ(WhyOldLineLeft(g_Tas_Homepage, before, "screen-day-count-line"), "");
}

// A mail run's box, from its worker, opens over a record dialog (the server
// goes while the run waits for its greeting): the dialog closes on the X
// server's close request and the box stays; a click on the toolbar opens
// another page under it; the main window's close request ends the run, the
// box and the program's loop. The exit code names the step that failed.
void ScreenXvfbTest_CloseUnderARunsBox(const std::function<void()>& openOpportunity) {
    SetTimer(nullptr, 0, 60000, [](HWND, UINT, UINT_PTR, DWORD) { std::exit(9); });  // a step hangs
    mailtest::SmtpTestServer server({"--mute"});  // takes the connection, never answers
    Exec(
        "UPDATE setting SET set_emailaddress='sales@example.com', set_smtpserver='127.0.0.1', set_user='sales', "
        "set_port='" +
        server.PortText() + "', set_esmtp=0, set_ssl=0, set_againtime=0 WHERE set_id=1");
    for (std::string name : {"Ann", "Bob", "Cat"}) AddContact({.name = name, .email = name + "@example.com"});
    AddOpp({.subject = "Screen"});
    w32test::SetMessageBoxHook(nullptr);  // the boxes are shown for real
    w32test::AutoAnswerMessageBoxes(false);
    g_Toolbar.OnMail(nullptr, 0, 0, 0);
    DialogScript script;
    script.Then("ID_DLG_SENDMAIL", [](HWND h) { PressButton(h, 1111); });
    Click(g_Mail, MailDialogClass::kSendButtonID);
    if (!w32test::WaitFor([&] { return server.Accepted() > 0; }, 30000)) std::exit(3);
    openOpportunity();
    w32test::ClickTab(g_Opp_Detail.m_Tab.m_hTab, 1);
    w32test::SetPopupMenuHook([](const w32test::PopupMenuCall&) { return UINT(IDM_NEWCONTACT); });
    HWND dialog = nullptr;
    script.Then(IDD_NEW_CONTACT, [&](HWND h) {
        server.Stop();
        if (w32test::WaitFor([] { return IsShown(Shown::MessageBox); }, 30000)) dialog = h;
        TakeStep([h] { RequestClose(h); });
    });
    w32test::Click(GetDlgItem(g_Opp_Detail.m_Tab.m_hPage, 11402));
    if (!w32test::WaitFor([&] { return script.Finished() && !IsWindow(dialog); }, 30000) || !dialog) std::exit(4);
    if (!IsShown(Shown::MessageBox)) std::exit(5);
    RECT rc{};
    HWND bar = g_Toolbar.m_hToolbar;
    SendMessageA(bar, TB_GETITEMRECT, SendMessageA(bar, TB_COMMANDTOINDEX, IDC_TB_CONTACTS, 0), LPARAM(&rc));
    POINT at{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(bar, &at);
    TakeStep([at] { ClickOnScreen(g_hMainWnd, at.x, at.y); });
    if (!w32test::WaitFor([] { return g_pCurrentDialog == &g_Con_Start; }, 30000)) std::exit(6);
    if (!IsShown(Shown::MessageBox)) std::exit(5);
    TakeStep([] { RequestClose(g_hMainWnd); });
    const int code = RunMessageLoop();
    std::exit(code == 0 && !g_Mail.IsSending() && !IsShown(Shown::MessageBox) ? 0 : 7);
}

TEST_F(ScreenXvfb, AMailRunsBoxLeavesTheProgramAnsweringAndGoesWithItsClose) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Standard error holds Qt's notices ("QStandardPaths: ...", "qt.qpa...: ...") and nothing else.
    EXPECT_EXIT(ScreenXvfbTest_CloseUnderARunsBox([this] { OpenOpportunity(); }), ::testing::ExitedWithCode(0),
                "^((Q[A-Za-z]+|qt\\.[a-z.]+): [^\n]*\n|\n)*$");
}

// A click of the X server's at the middle of a window.
std::function<void()> ClickAtTheMiddle(HWND h) {
    return [h] {
        RECT r{};
        GetWindowRect(h, &r);
        ClickWithTheServer(int(r.left + r.right) / 2, int(r.top + r.bottom) / 2);
    };
}

// The button that had the keyboard disables itself (确定 once the new task is
// saved, 修改 once clicked, 确定 again, 删除相关计划日志 on an account's page
// once its row is gone): no window has the focus, and the keyboard stays
// with the main window (each next step checks it). Alt+F4 there ends the
// program's loop, as its close does. The exit code names the step that failed.
TEST_F(ScreenXvfb, AltF4EndsTheProgramAfterTheButtonThatHadTheKeyboardDisablesItself) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Link("accounts", AddAccount({.name = "Screen"}), "tasks", AddTask({.subject = "Visit"}));
    const auto run = [] {
        SetTimer(nullptr, 0, 60000, [](HWND, UINT, UINT_PTR, DWORD) { std::exit(9); });  // not closed
        if (!screentest::GiveTheKeyboardTo(g_hMainWnd)) std::exit(8);
        GotoTas_DetailNew();
        const HWND subject = g_Tas_Detail.m_hSubject, save = GetDlgItem(g_Tas_Detail.m_hWnd, IDC_TASD_SAVE);
        servertest::Steps onTheForm({
            {[] { return true; }, ClickAtTheMiddle(subject)},
            {[&] { return GetFocus() == subject; }, [] { TypeWithTheServer({'a'}); }},
            {[&] { return Text(subject) == "a"; }, ClickAtTheMiddle(save)},
            {[&] { return !Enabled(save); }, ClickAtTheMiddle(GetDlgItem(g_Tas_Detail.m_hWnd, IDC_TASD_EDIT))},
            {[&] { return Enabled(save); }, ClickAtTheMiddle(save)},
            {[&] { return !Enabled(save); }, [] {}},
        });
        if (!w32test::WaitFor([&] { return onTheForm.Taken() == 6; }, 30000)) std::exit(10 + onTheForm.Taken());
        GotoAcc_Homepage();
        w32test::DoubleClickListRow(g_Acc_Homepage.m_ListView.m_hListView, 0);
        const HWND page = g_Acc_Detail.m_Tab.m_hPage, list = GetDlgItem(page, 10153), remove = GetDlgItem(page, 11405);
        if (!w32test::WaitFor([&] { return g_pCurrentDialog == &g_Acc_Detail && RowCount(list) == 1; })) std::exit(19);
        RECT row{LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, 0, LPARAM(&row));
        POINT at{row.left + 20, (row.top + row.bottom) / 2};
        ClientToScreen(list, &at);
        servertest::Steps onThePage({
            {[] { return true; }, [at] { ClickWithTheServer(at.x, at.y); }},
            {[&] { return Enabled(remove); }, ClickAtTheMiddle(remove)},
            {[&] { return RowCount(list) == 0 && !Enabled(remove); },
             [] {
                 screentest::ChordWithTheServer({XK_Alt_L, XK_F4});
             }},
        });
        if (!w32test::WaitFor([&] { return onThePage.Taken() == 3; }, 30000)) std::exit(20 + onThePage.Taken());
        std::exit(RunMessageLoop() == 0 && !IsWindow(g_hMainWnd) ? 0 : 7);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
}

// The task form's time picker under the user's own mouse and keyboard: the
// fields typed, an arrow clicked, then held until it repeats; after it each
// click on an arrow and each Up / Down steps the selected field once, and the
// time shown is the time stored.
TEST_F(ScreenXvfb, TheTaskFormsTimeStepsOncePerArrowClickAndKeyAfterAHeldArrow) {
    GotoTas_DetailNew();
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    HWND hTime = GetDlgItem(g_Tas_Detail.m_hWnd, IDC_TASD_TIME);
    const auto onScreen = [&](POINT p) {
        ClientToScreen(hTime, &p);
        return p;
    };
    const RECT a = w32test::PickerArrowsRect(hTime);
    const POINT hour = onScreen(w32test::PickerFieldPoint(hTime, 0));
    const POINT up = onScreen({(a.left + a.right) / 2, a.top + 2}),
                down = onScreen({(a.left + a.right) / 2, a.bottom - 3});
    const auto second = [&] {
        SYSTEMTIME st{};
        SendMessageA(hTime, DTM_GETSYSTEMTIME, 0, LPARAM(&st));
        return int(st.wSecond);
    };
    const auto shows = [&](int s) {
        const std::string want = "10:20:" + std::to_string(s);
        return w32test::WaitFor([&] { return w32test::PickerText(hTime) == want; });
    };
    ASSERT_TRUE(screentest::GiveTheKeyboardTo(g_hMainWnd));
    TakeStep([&] { ClickWithTheServer(hour.x, hour.y); });
    ASSERT_TRUE(w32test::WaitFor([&] { return GetFocus() == hTime; }));
    TakeStep([] { TypeWithTheServer({'1', '0', XK_Right, '2', '0', XK_Right, '3', '0'}); });
    ASSERT_TRUE(shows(30));
    TakeStep([&] { ClickWithTheServer(up.x, up.y); });
    EXPECT_TRUE(shows(31));
    TakeStep([&] { screentest::PressWithTheServer(up.x, up.y); });
    EXPECT_TRUE(w32test::WaitFor([&] { return second() > 32; })) << "held, the up arrow does not repeat";
    TakeStep(screentest::ReleaseWithTheServer);
    ASSERT_TRUE(w32test::WaitFor([] { return GetKeyState(VK_LBUTTON) >= 0; }));
    int s = second();
    for (auto [what, by] : {std::pair{"click down", -1}, {"click down", -1}, {"Down", -1}, {"Up", 1}}) {
        SCOPED_TRACE(what);
        TakeStep([&, key = what[0]] {
            key == 'c' ? ClickWithTheServer(down.x, down.y)
                       : TypeWithTheServer({unsigned(key == 'D' ? XK_Down : XK_Up)});
        });
        EXPECT_TRUE(shows(s += by)) << w32test::PickerText(hTime);
    }
    SetText(g_Tas_Detail.m_hSubject, "Arrows");
    Click(g_Tas_Detail, IDC_TASD_SAVE);
    EXPECT_EQ(Database().Query("SELECT tas_time FROM tasks WHERE tas_subject='Arrows'"),
              (std::vector<std::vector<std::string>>{{"10:20:" + std::to_string(s)}}));
}

// The task form's date picker drops its calendar down in a frame of its own
// (under a window manager too, where it opens over the relation list), with
// today framed. Once a record has shown (the fields disabled meanwhile), the
// calendar takes the user's keys: Home, Right, Down and Page Down move the
// day, Enter closes it, Up steps the year again, and the date is stored.
TEST_F(ScreenXvfb, TheTaskFormsCalendarShowsAFrameAndTodayAndTakesTheKeys) {
    AddTask({"Shown"});
    GotoTas_ListAll();
    ASSERT_TRUE(w32test::WaitFor([] { return RowCount(g_Tas_ListAll.m_ListView) == 1; }));
    DoubleClickRow(g_Tas_ListAll, g_Tas_ListAll.m_ListView, 0);
    GotoTas_DetailNew();
    ASSERT_EQ(g_pCurrentDialog, &g_Tas_Detail);
    HWND hDate = GetDlgItem(g_Tas_Detail.m_hWnd, IDC_TASD_DATE);
    const Rect at = ClientOnScreen(hDate);
    ASSERT_TRUE(screentest::GiveTheKeyboardTo(g_hMainWnd));
    TakeStep([&] { ClickWithTheServer(at.x + 10, at.y + at.height / 2); });  // on the year
    ASSERT_TRUE(w32test::WaitFor([&] { return GetFocus() == hDate; }));
    TakeStep([] { TypeWithTheServer({XK_F4}); });
    ASSERT_TRUE(w32test::WaitFor([&] { return w32test::PickerCalendarOpen(hDate); }));
    std::string why;
    w32test::WaitFor(
        [&] {  // where the calendar is now (it may settle its size after it shows)
            const RECT r = w32test::PickerCalendarRect(hDate);
            const Rect cal{at.x + r.left, at.y + r.top, r.right - r.left, r.bottom - r.top};
            return (why = WhyNotFramedWithToday(Read(cal))).empty();
        },
        10000);
    if (!why.empty()) screentest::SavePng(ReadRoot(0, 0, 4096, 4096), OutputPath("screen-calendar.png"));
    EXPECT_EQ(why, "");
    TakeStep([] { TypeWithTheServer({XK_Home, XK_Right, XK_Down, XK_Next, XK_Return}); });
    EXPECT_TRUE(w32test::WaitFor([&] { return !w32test::PickerCalendarOpen(hDate); }));
    TakeStep([] { TypeWithTheServer({XK_Up}); });
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int year = now.wYear + 1 + (now.wMonth == 12), month = now.wMonth % 12 + 1;
    EXPECT_TRUE(w32test::WaitFor([&] { return w32test::PickerSelectedText(hDate) == std::to_string(year); }))
        << w32test::PickerText(hDate) << " with " << w32test::PickerSelectedText(hDate) << " selected";
    char stored[16];
    snprintf(stored, sizeof stored, "%04d-%02d-09", year, month);
    SetText(g_Tas_Detail.m_hSubject, "Keys");
    Click(g_Tas_Detail, IDC_TASD_SAVE);
    EXPECT_EQ(Database().Query("SELECT tas_date FROM tasks WHERE tas_subject='Keys'"),
              (std::vector<std::vector<std::string>>{{stored}}));
}

// The start page, a record form and the login dialog with a password typed
// show on a 16-bit screen what they show on a 24-bit one, but for the bits 16
// cannot hold. program_screen_at_16_bits runs the case at 24 bits, which
// keeps the main window's pixels in the folder TARVEL_SCREENS names, then at
// 16, which compares its own: each colour's upper 5 bits (green's 6) within
// a step.
TEST_F(ScreenXvfb, PagesFormsAndDialogsShowAt16BitsWhatTheyShowAt24) {
    const char* folder = getenv("TARVEL_SCREENS");
    if (!folder) GTEST_SKIP() << "run by program_screen_at_16_bits";
    const auto check = [&](const std::string& name) {
        const Pixels now = MainPixels();
        const std::string path = folder + ("/" + name);
        const auto bytes = std::streamsize(now.rgb.size() * sizeof now.rgb[0]);
        if (now.depth == 24)
            return void(std::ofstream(path).write(reinterpret_cast<const char*>(now.rgb.data()), bytes));
        std::vector<uint32_t> kept(now.rgb.size());
        std::ifstream(path).read(reinterpret_cast<char*>(kept.data()), bytes);
        size_t differ = 0;
        for (size_t i = 0; i < kept.size(); ++i)
            for (auto [shift, mask] : {std::pair{19, 0x1Fu}, {10, 0x3Fu}, {3, 0x1Fu}})
                differ += std::abs(int(now.rgb[i] >> shift & mask) - int(kept[i] >> shift & mask)) > 1;
        if (differ) screentest::SavePng(now, OutputPath(name + "-at-16-bits.png"));
        EXPECT_EQ(differ, 0u) << name;
    };
    check("start-page");
    AddOpp({.subject = "Screen"});
    OpenOpportunity();
    check("record-form");
    DialogScript script;
    script.Then("ID_DLG_LOGIN", [&](HWND h) {
        SetText(h, IDC_LOGIN_PWD, "secret1");
        SetFocus(GetDlgItem(h, IDOK));  // no caret blinking in the password
        EXPECT_TRUE(w32test::WaitFor([&] { return ShownWhereKnown(h); }));
        check("login-dialog");
        EndDialog(h, 0);
    });
    RunLogin(TestInstance());
    EXPECT_TRUE(script.Finished());
}

// What a user sees and keeps on the record forms, with the X server's clicks
// and keys (registered at 1024 x 768 too, where the forms reach the screen's
// right edge):
// - 修改 turns the memo box white at once, as its one-line fields, with no
//   click in it (the task and the opportunity form);
// - on a new contact's lists (nothing chosen), the first arrow key chooses
//   the first row, F4 and Alt+Down close the open list on it, Alt+Up after
//   no move leaves nothing chosen, as the stored records show; a list
//   shortened above its field ends at the field;
// - by the screen's right edge the new contact's 创建 calendar drops down
//   with F4 wholly on the screen, its frame shown all round, and the
//   description's own menu opens at the pointer, to its left where there is
//   no room to its right, as does its scroll bar's menu (Qt's own).
TEST_F(ScreenXvfb, WhatTheUserSeesAndKeepsOnTheRecordForms) {
    ASSERT_TRUE(screentest::GiveTheKeyboardTo(g_hMainWnd));
    const auto white = [](HWND memo) {
        const Pixels p = Read(Grown(ClientOnScreen(memo), -3));
        return !p.empty() && size_t(std::count(p.rgb.begin(), p.rgb.end(), 0xFFFFFFu)) * 10 > p.rgb.size() * 9;
    };
    for (auto [form, memo, edit, id] :
         {std::tuple<RecordFormClass*, HWND*, int, ULONG>{&g_Tas_Detail, &g_Tas_Detail.m_hContent, IDC_TASD_EDIT,
                                                          AddTask({.subject = "Memo"})},
          {&g_Opp_Detail, &g_Opp_Detail.m_hDescription, IDC_OPPD_EDIT, AddOpp({.subject = "Memo"})}}) {
        ASSERT_EQ(HandOverToForm(form, &id, 1, 0, nullptr), 0);
        EXPECT_EQ(servertest::TakeSteps({{[&] { return g_pCurrentDialog == form && !white(*memo); },
                                          ClickAtTheMiddle(GetDlgItem(form->m_hWnd, edit))},
                                         {[&] { return white(*memo); }, nullptr}}),
                  2u)
            << ClassOf(*form);
    }

    // New contacts' lists with nothing chosen, each row's keys typed in one
    // go, then Tab: the first arrow key chooses the caret's row (the first),
    // open or closed, whatever the list went through before; End goes from
    // it to the last row, also in a list the pointer moved through before
    // (`hover`: over its middle row, then off it, once it shows). The last
    // row opens 区域 by its arrow, its field at mid-screen, where the list is
    // shortened above it: it must end at the field and use the room it has.
    using Chord = std::vector<unsigned>;
    const Chord f4{XK_F4}, down{XK_Down}, up{XK_Up}, enter{XK_Return}, altDown{XK_Alt_L, XK_Down},
        altUp{XK_Alt_L, XK_Up}, esc{XK_Escape}, end{XK_End}, hover{};
    const std::vector<std::pair<int, std::vector<Chord>>> rows{
        {IDC_NEWCONTACT_IMPORTANT, {f4, down, f4}},
        {IDC_NEWCONTACT_IMPORTANT, {altDown, down, altDown}},
        {IDC_NEWCONTACT_IMPORTANT, {altDown, altUp}},
        {IDC_NEWCONTACT_IMPORTANT, {f4, down, esc, f4, up, enter}},
        {IDC_NEWCONTACT_IMPORTANT, {f4, hover, esc, f4, end, enter}},
        {IDC_NEWCONTACT_IMPORTANT, {up}},
        {IDC_NEWCONTACT_PROVINCE, {down, enter}}};
    const int fieldTop = GetSystemMetrics(SM_CYSCREEN) / 2 + 11;
    Rect list;
    RECT at{};
    for (const auto& [id, chords] : rows) {
        HWND dlg = nullptr, box = nullptr;
        const bool click = id == IDC_NEWCONTACT_PROVINCE;
        const size_t split = size_t(std::find(chords.begin(), chords.end(), hover) - chords.begin());
        const bool hovers = split < chords.size();
        // The chords [from, to), then Tab after the last.
        const auto type = [&](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i) screentest::ChordWithTheServer(chords[i]);
            if (to == chords.size()) TypeWithTheServer({XK_Tab});
        };
        const auto middle = [&] { return std::pair{list.x + list.width / 2, list.y + list.height / 2}; };
        DialogScript script;
        script.Then(IDD_NEW_CONTACT, [&](HWND h) { box = GetDlgItem(dlg = h, id); });
        servertest::Steps steps(
            {
                {[&] { return box != nullptr; },
                 [&] {
                     RECT d{}, b{};
                     GetWindowRect(dlg, &d);
                     GetWindowRect(box, &b);
                     if (click)
                         SetWindowPos(dlg, nullptr, d.left, d.top + fieldTop - b.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                     SetFocus(box);
                 }},
                {[&] { return GetFocus() == box && GetWindowRect(box, &at) && (!click || at.top == fieldTop); },
                 [&] {
                     if (!click) return type(0, split);
                     ClickWithTheServer(at.right - 8, (at.top + at.bottom) / 2);
                 }},
                {[&] { return !(click || hovers) || (list = ShownMenu()).width > 0; },
                 [&] {
                     if (click) type(0, split);
                     if (hovers) screentest::MoveWithTheServer(middle().first, middle().second);
                 }},
                // The row under the pointer shows highlighted, then the pointer leaves the list.
                {[&] {
                     const int x = list.x + 2, y = middle().second;
                     return !hovers || ReadRoot(x, y, 1, 1).at(x, y) != 0xFFFFFF;
                 },
                 [&] {
                     if (!hovers) return;
                     screentest::MoveWithTheServer((at.left + at.right) / 2, (at.top + at.bottom) / 2);
                     type(split + 1, chords.size());
                 }},
                {[&] { return GetFocus() != box; }, [&] { PressButton(dlg, IDC_NEWRECORD_OK); }},
            },
            [&] { PressButton(dlg, IDCANCEL); });
        DialogBoxParamA(g_hInstance, IDD_NEW_CONTACT, g_hMainWnd, NewContactDlgProc_TasDetail, 0);
        EXPECT_EQ(steps.Taken(), 5u) << id;
    }
    const std::string high = gbk::ToUtf8("高"), low = gbk::ToUtf8("低");
    EXPECT_EQ(Database().Query("SELECT con_important, con_province FROM contacts ORDER BY con_id"),
              (std::vector<std::vector<std::string>>{
                  {high, ""}, {high, ""}, {"", ""}, {high, ""}, {low, ""}, {high, ""}, {"", gbk::ToUtf8("北京")}}));
    EXPECT_TRUE(list.y + list.height == at.top + 1 && list.y >= 0 && list.y < 20)
        << "list " << list.y << "+" << list.height << " above the field at " << at.top;

    GotoCon_DetailNew();
    const HWND date = g_Con_Detail.m_hCreateDate;
    const Rect field = ClientOnScreen(date), desc = ClientOnScreen(g_Con_Detail.m_hDescription);
    const int width = GetSystemMetrics(SM_CXSCREEN), x = std::min(desc.x + desc.width, width) - 40, y = desc.y + 10;
    const int onBar = std::min(desc.x + desc.width, width) - 8;
    std::string framed = "never shown";
    Rect cal, menu, barMenu;
    EXPECT_EQ(servertest::TakeSteps({
                  {nullptr, [&] { ClickWithTheServer(field.x + 10, field.y + field.height / 2); }},
                  {[&] { return GetFocus() == date; }, [] { TypeWithTheServer({XK_F4}); }},
                  {[&] {
                       const RECT r = w32test::PickerCalendarRect(date);
                       cal = Rect{field.x + r.left, field.y + r.top, r.right - r.left, r.bottom - r.top};
                       return (framed = WhyNotFramedWithToday(Read(cal))).empty();
                   },
                   [] { TypeWithTheServer({XK_Escape}); }},
                  {[&] { return !w32test::PickerCalendarOpen(date); }, [&] { ClickWithTheServer(x, y, 3); }},
                  {[&] { return (menu = ShownMenu()).width > 0; }, [] { TypeWithTheServer({XK_Escape}); }},
                  {[] { return !IsShown(Shown::PopupMenu); }, [&] { ClickWithTheServer(onBar, y, 3); }},
                  {[&] { return (barMenu = ShownMenu()).width > 0 && screentest::MenuItemCentre('A').first < 0; },
                   [] { TypeWithTheServer({XK_Escape}); }},
              }),
              7u)
        << framed;
    EXPECT_TRUE(w32test::WaitFor([] { return !IsShown(Shown::PopupMenu); }));
    EXPECT_LE(cal.x + cal.width, width);
    for (auto [m, at] : {std::pair{menu, x}, {barMenu, onBar}})
        EXPECT_TRUE(m.x == (at + m.width <= width ? at : at - m.width) && m.y == y)
            << m.x << "," << m.y << " at " << at;
}

}  // namespace
