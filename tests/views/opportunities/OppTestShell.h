// A main window with the toolbar and every view, made as the program makes
// them, on a fresh copy of the database, for the tests of the opportunity
// pages; plus helpers that drive a page the way the controls would.
#pragma once

#include <string>
#include <vector>

#include "program/main.h"

class ListPageClass;
class Opp_CategoryStatClass;
class Opp_DetailDialogClass;

namespace opptest {

// Makes the window once per test program; every call connects to a new copy
// of the pristine database and returns to the start page with one history
// entry.
void StartFresh();

// Runs one statement on the database; 0 or the failure code of co_ExecSQL.
int Exec(const std::string& sql);
// The first column of the first row as a number / as text; -999 / "<none>"
// when there is no row.
long long QueryInt(const std::string& sql);
std::string QueryText(const std::string& sql);

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
// Inserts an opportunity; its id.
unsigned AddOpp(const Opp& o);

// Rows and cells of a list as shown.
int RowCount(ListViewClass& list);
std::string Cell(ListViewClass& list, int row, int column);
std::vector<std::string> Column(ListViewClass& list, int column);

// Notifications of a list, sent to its page as the control sends them.
void ClickColumn(BaseDialogClass& page, ListViewClass& list, int column);
void DoubleClickRow(BaseDialogClass& page, ListViewClass& list, int row);
void ClickRow(BaseDialogClass& page, ListViewClass& list, int row);
// A click on a push button or link button of a page.
void Click(BaseDialogClass& page, int id);

std::string Text(HWND h);
void SetText(HWND h, const std::string& text);
bool Enabled(HWND h);

// Message boxes: each is answered with the answer set here (IDOK when none),
// and its text is kept.
void AnswerBoxes(int answer);
std::vector<std::string> TakeBoxes();
// Save dialogs are answered with this path.
void AnswerSaveDialog(const std::string& path);

// Number of view windows now visible.
int VisibleViewCount();
// Back / Forward on the toolbar.
void Back();
void Forward();
int HistoryCount();

std::string ReadFile(const std::string& path);
// A file under the build folder for the test's output.
std::string OutputPath(const std::string& name);
// Saves an image of the page's window under the build folder.
void Grab(BaseDialogClass& page, const std::string& name);

}  // namespace opptest
