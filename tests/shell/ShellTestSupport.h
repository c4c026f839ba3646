// Helpers for tests that run the program's main window headless: a fresh copy
// of the shipped database with g_ODBC pointed at it, scripted answers to the
// start-up dialogs, and start/stop of the main window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

namespace shelltest {

// The instance handle the tests hand to the program.
HINSTANCE TestInstance();

// A temporary folder with a copy of the pristine database; g_ODBC is reset
// and its connection string points at the copy (not yet connected: the main
// window's creation connects). The folder goes with the object.
class ProgramDatabase {
public:
    ProgramDatabase();
    ~ProgramDatabase();
    ProgramDatabase(const ProgramDatabase&) = delete;
    ProgramDatabase& operator=(const ProgramDatabase&) = delete;

    const std::string& Folder() const { return m_strFolder; }
    const std::string& Path() const { return m_strPath; }

    // Marks the installation as done with this login (name, plain password).
    void SetLogin(const std::string& strName, const std::string& strPassword);
    // Plain SQLite access to the copy (UTF-8 texts, "" for NULL).
    std::vector<std::vector<std::string>> Query(const std::string& strSql) const;
    void Exec(const std::string& strSql) const;
    // Points g_ODBC at a file (reset, not connected).
    static void PointConnectionAt(const std::string& strPath);

private:
    std::string m_strFolder;
    std::string m_strPath;
};

// Answers the start-up dialogs: each dialog that opens calls the step for
// its template name, in order; the names seen are recorded.
class DialogScript {
public:
    using Step = std::function<void(HWND hDlg)>;
    DialogScript();
    ~DialogScript();
    // Adds a step for the next dialog, which must have this template name.
    DialogScript& Then(const std::string& strTemplate, Step step);
    const std::vector<std::string>& Seen() const { return m_Seen; }
    bool Finished() const { return m_nNext == m_Steps.size(); }

private:
    std::vector<std::pair<std::string, Step>> m_Steps;
    size_t m_nNext = 0;
    std::vector<std::string> m_Seen;
};

// Common dialog steps.
void PressButton(HWND hDlg, int nID);
void SetText(HWND hDlg, int nID, const std::string& strGbk);
std::string GetText(HWND hDlg, int nID);
// Types the password into the login dialog and presses OK.
DialogScript::Step LoginWith(const std::string& strPassword);
// Completes the user-name page.
DialogScript::Step SetLoginAs(const std::string& strName, const std::string& strPassword);

// Starts the program's main window as WinMain does (without the loop).
// Returns the window or null.
HWND StartMainWindow();
// Ends the run: destroys the main window quietly, frees the history and
// drops a pending quit message, so that the next test in the process starts
// clean.
void StopMainWindow();

// Texts of the message boxes shown since the last ClearMessageBoxes (GBK).
std::vector<std::string> MessageTexts();

// Sizes a top-level window so that its client area is w x h.
void SetClientSize(HWND hWnd, int w, int h);

// Folder for screenshots beside the test executable.
std::string GrabFolder();

}  // namespace shelltest
