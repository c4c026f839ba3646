// Support for the tests of the program (library program_testsupport): a
// fresh copy of the database, the program's main window with every view made
// as the program makes it, the way back to the start page, answers to
// message boxes and dialogs, list and control helpers, and seeding of every
// kind of record. Every test of the shell and of the pages uses it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "program/main.h"
#include "tests/support/TestDatabase.h"

namespace programtest {

// --- Database -------------------------------------------------------------

// A temporary folder with a copy of the pristine database; g_ODBC is reset
// and its connection string points at the copy (not yet connected: the main
// window's creation or Connect() connects). The folder goes with the object;
// g_ODBC is reset then too when it still points at the copy.
class ProgramDatabase : public testsupport::TempDatabase {
public:
    ProgramDatabase();
    ~ProgramDatabase();

    // Connects g_ODBC to the copy (co_InitODBC); its result.
    int Connect();
    // Marks the installation as done with this login (name, plain password).
    void SetLogin(const std::string& strName, const std::string& strPassword);
    // Plain SQLite access to the copy (UTF-8 texts, "" for NULL).
    std::vector<std::vector<std::string>> Query(const std::string& strSql) const;
    void Exec(const std::string& strSql) const;
    // Points g_ODBC at a file (reset, not connected).
    static void PointConnectionAt(const std::string& strPath);
};

// Statements through the program's own connection (g_ODBC, Access dialect,
// GBK texts). Exec: 0 or the failure code of co_ExecSQL. QueryInt / QueryText:
// the first column of the first row; -999 / "<none>" when there is no row.
int Exec(const std::string& sql);
long long QueryInt(const std::string& sql);
std::string QueryText(const std::string& sql);

// --- Seeding (through g_ODBC; GBK texts; each returns the new record's id) --

struct Opp {
    std::string subject;
    std::string important = "中";
    std::string phase = "初步接触";
    double estimate = 0;
    int probability = 10;
    std::string create = "2024-01-10";
    std::string die = "2024-06-30";
    std::string contact = "2024-02-01";
    std::string description;
};
unsigned AddOpp(const Opp& o);

struct Account {
    std::string name;
    std::string important = "中";
    std::string type;
    std::string industry;
    std::string relation;
    std::string province;
    std::string telephone;
    std::string create = "2024-01-10";
    std::string contact = "2024-02-01";
    std::string description;
};
unsigned AddAccount(const Account& a);

struct Contact {
    std::string name;
    std::string nickname;
    std::string email;
    std::string important = "中";
    std::string relation;
    std::string province;
    std::string create = "2024-01-10";
    std::string contact = "2024-02-01";
    std::string description;
};
unsigned AddContact(const Contact& c);

struct Task {
    std::string subject;
    std::string date = "2024-01-10";
    std::string time = "09:00:00";
    double outlay = 0;
    bool closed = false;
    std::string description;
};
unsigned AddTask(const Task& t);

// Links two records; kinds are "opportunities", "accounts", "contacts",
// "tasks" (in either order).
void Link(const std::string& kindA, unsigned idA, const std::string& kindB, unsigned idB);

// --- The program ----------------------------------------------------------

// The instance handle the tests hand to the program.
HINSTANCE TestInstance();

// Starts the program's main window as WinMain does (without the loop), on the
// database g_ODBC points at. Returns the window or null.
HWND StartMainWindow();
// Ends the run: destroys the main window quietly, frees the history and
// drops a pending quit message, so that the next start in the process is clean.
void StopMainWindow();

// The program's main window, made once per test program: a fresh copy of the
// database, logged in, every view made, the window shown at 1280 x 900.
HWND EnsureProgram();
// The database the program now works on. Before direct SQL the program's
// open cursor is closed, so that the file is not locked for the test.
ProgramDatabase& Database();
// Back to the state after start-up: only the start page shown and current,
// history with the start page's entry alone, 首页 pressed, every record form
// on its first relation tab.
void ResetToStartPage();
// A test's start on the shared window: hooks cleared, a new copy of the
// database connected, the registered page resets run, back to the start page,
// message boxes answered IDOK and their record emptied.
void StartFresh();
// Registers a reset of page state that lives in the global page objects from
// one test to the next; StartFresh runs it. Returns true (for a static
// registration).
bool AddPageReset(std::function<void()> reset);

// --- Views, toolbar, history ------------------------------------------------

int VisibleViewCount();
bool IsButtonChecked(int nCommand);
// Window class name of a view's window.
std::string ClassOf(const BaseDialogClass& view);
// Text of status-bar part nPart.
std::string StatusText(int nPart);
// Dispatches the pending messages (also answers other threads' sends).
void PumpMessages();
// Back / Forward on the toolbar.
void Back();
void Forward();
int HistoryCount();

// --- Lists and controls -----------------------------------------------------

int RowCount(ListViewClass& list);
std::string Cell(ListViewClass& list, int row, int column);
std::vector<std::string> Column(ListViewClass& list, int column);
// The same for a list view window.
int RowCount(HWND hList);
std::string Cell(HWND hList, int row, int column);
std::vector<std::string> Column(HWND hList, int column);
// Notifications of a list, sent to its page as the control sends them.
void ClickColumn(BaseDialogClass& page, ListViewClass& list, int column);
void DoubleClickRow(BaseDialogClass& page, ListViewClass& list, int row);
// The same for the list nListID of a dialog (or page window) hDlg.
void DoubleClickRow(HWND hDlg, int nListID, int row);
void ClickRow(HWND hDlg, int nListID, int row);
void ClickRow(BaseDialogClass& page, ListViewClass& list, int row);
// A click on a push button or link button of a page.
void Click(BaseDialogClass& page, int id);
std::string Text(HWND h);
void SetText(HWND h, const std::string& text);
bool Enabled(HWND h);
// A date as a date picker takes it (DTM_SETSYSTEMTIME).
SYSTEMTIME Day(int y, int m, int d);

// --- Message boxes and dialogs ------------------------------------------------

// Each message box is answered with the answer set here (IDOK when none),
// and its text is kept.
void AnswerBoxes(int answer);
// Texts of the boxes since the last TakeBoxes / ClearMessageBoxes; TakeBoxes
// also empties the record.
std::vector<std::string> TakeBoxes();
std::vector<std::string> MessageTexts();
// Save dialogs are answered with this path (an old file there is removed).
void AnswerSaveDialog(const std::string& path);

// Answers dialogs: each dialog that opens calls the step for its template
// name, in order; the names seen are recorded.
class DialogScript {
public:
    using Step = std::function<void(HWND hDlg)>;
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    // Adds a step for the next dialog, which must have this template name.
    DialogScript& Then(const std::string& strTemplate, Step step);
    const std::vector<std::string>& Seen() const { return m_Seen; }
    bool Finished() const { return m_nNext == m_Steps.size(); }

private:
    std::vector<std::pair<std::string, Step>> m_Steps;
    size_t m_nNext = 0;
    std::vector<std::string> m_Seen;
};

void PressButton(HWND hDlg, int nID);
void SetText(HWND hDlg, int nID, const std::string& strGbk);
std::string GetText(HWND hDlg, int nID);
// Types the password into the login dialog and presses OK.
DialogScript::Step LoginWith(const std::string& strPassword);
// Completes the wizard's user-name page.
DialogScript::Step SetLoginAs(const std::string& strName, const std::string& strPassword);

// --- Windows and files --------------------------------------------------------

// Sizes a top-level window so that its client area is w x h.
void SetClientSize(HWND hWnd, int w, int h);
std::string ReadFile(const std::string& path);
// The folder for the test program's output (screenshots, exported files):
// test-output/<test program>/ under the build folder, ending with '/'.
std::string OutputFolder();
std::string GrabFolder();
std::string OutputPath(const std::string& name);
// Saves a picture of the page's window as <name>.png in the output folder,
// for people to look at; it checks nothing (the checks below do).
void Grab(BaseDialogClass& page, const std::string& name);
// The number of pixels in rc (client coordinates) of the window's own
// painting, without its child windows, that are darker than mid-grey: the
// ink of the texts and lines it drew there.
int InkPixels(HWND hWnd, const RECT& rc);
// The frame of a page as it is shown: the left panel in its colour and, on
// a page with a quick search, the caption "关键字快速查找" written above the
// box and nothing beside it. A page that is no frame page fails.
void ExpectFramePainted(BaseDialogClass& page);

}  // namespace programtest
