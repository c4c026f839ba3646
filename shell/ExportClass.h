// Writes the content of a list on screen to a tab-separated GBK text file
// that the user names, then offers to open it.
#pragma once

#include "win32.h"

class ListViewClass;

class ExportClass {
public:
    // hOwner: the calling page's window; nRows: rows to write from row 0
    // (never more than the list holds; a negative count means all of them);
    // nColumns: columns to write from column 0; bExcel: 1 offers
    // "Export.xls", 0 "Export.txt". 0 when written or cancelled, -1 after a
    // file error (its message shown). Every caption and cell is followed by a
    // tab and every line by CR LF; cells are cut to 255 bytes on a character
    // boundary, and tabs and line breaks inside a cell are written as blanks
    // so that the columns and lines of the file stay in place.
    int Export(HWND hOwner, int nRows, int nColumns, int bExcel, ListViewClass* pList);

    // Writes the list to pszPath without any dialog (the file part of Export).
    // 0, or -1 after the failing step's message.
    int WriteToFile(LPCSTR pszPath, int nRows, int nColumns, ListViewClass* pList);
};

extern ExportClass g_Exporter;
