// Shared by the dialog tests: running a dialog member with a scripted step,
// OK pressed on a typed text, today's date as the store writes it, a
// failing insert.
#pragma once

#include "dialogs/NewRecordDialogs.h"
#include "tests/support/ProgramTest.h"
#include "win32_testhooks.h"

#include <ctime>
#include <functional>
#include <string>

namespace dialogtest {

// Runs member on the template with step answering it; the window the step
// saw is returned (destroyed by then).
inline HWND RunDialog(const char* pszTemplate, DLGPROC member, std::function<void(HWND)> step) {
    HWND hSeen = NULL;
    programtest::DialogScript script;
    script.Then(pszTemplate, [&](HWND h) {
        hSeen = h;
        step(h);
    });
    DialogBoxParamA(g_hInstance, pszTemplate, g_hMainWnd, member, 0);
    return hSeen;
}

// What a new-record dialog showed after OK with `text` typed into its field
// nID: whether it stayed open, and the field's text then. It is then
// cancelled.
struct AfterOk {
    bool bOpen = false;
    std::string typed;
};
inline AfterOk TypeAndPressOk(const char* pszTemplate, DLGPROC member, int nID, const std::string& text) {
    AfterOk seen;
    RunDialog(pszTemplate, member, [&](HWND h) {
        programtest::SetText(h, nID, text);
        programtest::PressButton(h, IDC_NEWRECORD_OK);
        seen.bOpen = IsWindowVisible(h) != FALSE;
        seen.typed = programtest::GetText(h, nID);
        programtest::PressButton(h, IDCANCEL);
    });
    return seen;
}

inline std::string Today() {
    time_t t = time(nullptr);
    char sz[16];
    strftime(sz, sizeof sz, "%Y-%m-%d", localtime(&t));
    return sz;
}

// Makes every insert into the table fail until the trigger is dropped.
inline void FailInsertsInto(const std::string& table) {
    programtest::Database().Exec("CREATE TRIGGER fail_" + table + " BEFORE INSERT ON " + table +
                                 " BEGIN SELECT RAISE(ABORT, 'refused'); END;");
}

}  // namespace dialogtest
