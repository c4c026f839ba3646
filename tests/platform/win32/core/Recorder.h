// A window class that records the messages it receives, for the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32.h"

struct Rec {
    HWND hwnd;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};

// Messages of interest recorded by every window of class "RecWnd" (paint and
// cursor traffic only when asked for).
std::vector<Rec>& Log();
void ClearLog();
extern bool g_logPaint;
// Optional handler run before the default: return true to answer with *result.
using RecHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;
extern RecHandler g_recHandler;

// Registers "RecWnd" (white brush, arrow cursor, redraw on size) once.
void RegisterRec();
HWND MakeTop(int w = 400, int h = 300, const char* title = "rec");
HWND MakeChild(HWND parent, int x, int y, int w, int h, int id = 0, DWORD style = WS_CHILD | WS_VISIBLE);
// The recorded messages (of the given kinds, for the given window or all).
std::vector<UINT> Trace(HWND h = nullptr);
int Count(UINT msg, HWND h = nullptr);
HINSTANCE Inst();

// The Qt widget showing a window, and a direct child of it: the one with the
// given object name, or (name empty) the canvas that shows the backing image.
class QWidget;
QWidget* WidgetOf(HWND h);
QWidget* PartOf(HWND h, const char* objectName = "");
// The message box on screen (the last one the application lists), or null.
class QMessageBox;
QMessageBox* ShownBox();
