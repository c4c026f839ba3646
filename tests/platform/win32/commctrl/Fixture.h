// A parent window that records what its common controls tell it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "win32.h"
#include "win32_testhooks.h"
#include "win32_testhooks_commctrl.h"

namespace cctest {

struct Note {
    HWND from;
    UINT_PTR id;
    UINT code;
    int item = -2;     // NMLISTVIEW/NMITEMACTIVATE iItem where it applies
    int subItem = -2;  // iSubItem where it applies
    DWORD stage = 0;   // NM_CUSTOMDRAW stage
    DWORD_PTR spec = 0;
    POINT pt{-1, -1};  // NMLISTVIEW ptAction where it applies
};

struct Command {
    WPARAM wp;
    LPARAM lp;
};

// Everything the parent received; answers come from the hooks.
struct Recorder {
    std::vector<Note> notes;
    std::vector<Command> commands;
    // Answer to a WM_NOTIFY (default 0, as the pages answer unknown codes).
    std::function<LRESULT(NMHDR*)> onNotify;
    std::function<void(const Command&)> onCommand;

    std::vector<Note> Of(UINT code) const {
        std::vector<Note> out;
        for (const Note& n : notes)
            if (n.code == code) out.push_back(n);
        return out;
    }
    void Clear() {
        notes.clear();
        commands.clear();
    }
};

Recorder& Rec();

// A top-level parent for the controls, with a double-click time of
// kDoubleClickTime ms (waited for with w32test::WaitDoubleClickTime).
class ParentTest : public ::testing::Test {
public:
    static constexpr int kDoubleClickTime = 100;

protected:
    void SetUp() override;
    void TearDown() override;
    HWND Make(const char* cls, DWORD style, int x, int y, int w, int h, int id, const char* text = "");

    HWND parent_ = nullptr;
    int oldDoubleClickTime_ = 0;
};

// The text of a cell read with LVM_GETITEMTEXTA into a buffer of `size` bytes
// (narrow literals of these tests are GBK, like the program's).
std::string ItemText(HWND list, int row, int col, int size = 256);

// Appends report columns (caption GBK, width) with LVCF_FMT | LVCF_WIDTH | LVCF_TEXT
// or the given mask; false when a column did not go in at its index.
bool InsertColumns(HWND list, const std::vector<std::pair<std::string, int>>& columns,
                   UINT mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);

// Inserts rows the way every page fills a list: row 0, then each further cell of row 0.
void FillLikePages(HWND list, const std::vector<std::vector<std::string>>& records);

// Runs `work` on another thread while this (UI) thread dispatches messages in a
// plain GetMessage loop, as the program's main loop does; returns when it is done.
void RunOnWorkerWhilePumping(HWND window, const std::function<void()>& work);

std::string OutDir();  // folder for the offscreen grabs

}  // namespace cctest
