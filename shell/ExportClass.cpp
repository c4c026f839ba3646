#include "shell/ExportClass.h"

#include <cstring>

#include "shell/ListViewClass.h"
#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

ExportClass g_Exporter;

namespace {

// Writes one cell and its tab. Tabs and line breaks inside the cell become
// blanks so that the columns and lines of the file stay in place.
bool WriteCell(HANDLE hFile, const char* pszCell) {
    char szBuf[256 + 1];
    size_t n = std::strlen(pszCell);
    if (n > 255) n = 255;
    for (size_t i = 0; i < n; ++i) {
        const char c = pszCell[i];
        szBuf[i] = (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    szBuf[n] = '\t';
    DWORD dwWritten = 0;
    return WriteFile(hFile, szBuf, (DWORD)(n + 1), &dwWritten, nullptr) && dwWritten == n + 1;
}

bool WriteLineEnd(HANDLE hFile) {
    DWORD dwWritten = 0;
    return WriteFile(hFile, "\r\n", 2, &dwWritten, nullptr) && dwWritten == 2;
}

}  // namespace

int ExportClass::WriteToFile(LPCSTR pszPath, int nRows, int nColumns, ListViewClass* pList) {
    HANDLE hFile = CreateFileA(pszPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        ReportError(msg::kExportCreateFile);
        return -1;
    }
    // Never more rows than the list holds; a negative count (a page whose
    // last query failed) means the rows the list shows.
    const int nListRows = pList ? pList->GetItemCount() : 0;
    if (nRows < 0 || nRows > nListRows) nRows = nListRows;
    if (nColumns < 0 || !pList) nColumns = 0;

    bool bOk = true;
    char szText[256];
    for (int c = 0; bOk && c < nColumns; ++c) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT;
        szText[0] = '\0';
        col.pszText = szText;
        col.cchTextMax = sizeof(szText);
        pList->GetColumn(c, &col);
        szText[sizeof(szText) - 1] = '\0';
        // Never end a caption inside a character.
        szText[gbk::SafeCut(szText, std::strlen(szText), sizeof(szText) - 1)] = '\0';
        bOk = WriteCell(hFile, szText);
    }
    if (bOk) bOk = WriteLineEnd(hFile);
    for (int r = 0; bOk && r < nRows; ++r) {
        for (int c = 0; bOk && c < nColumns; ++c) {
            pList->GetItemText(r, c, szText, sizeof(szText));
            bOk = WriteCell(hFile, szText);
        }
        if (bOk) bOk = WriteLineEnd(hFile);
    }
    if (!bOk) {
        ReportError(msg::kExportWriteFile);
        CloseHandle(hFile);
        return -1;
    }
    if (!CloseHandle(hFile)) {
        ReportError(msg::kExportCloseFile);
        return -1;
    }
    return 0;
}

int ExportClass::Export(HWND hOwner, int nRows, int nColumns, int bExcel, ListViewClass* pList) {
    char szFile[MAX_PATH];
    std::memset(szFile, 0, sizeof(szFile));
    std::strcpy(szFile, bExcel ? "Export.xls" : "Export.txt");

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = "All Files (*.*)\0*.*\0\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof(szFile);
    ofn.lpstrDefExt = bExcel ? "xls" : "txt";
    ofn.Flags = OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&ofn)) return 0;

    if (WriteToFile(szFile, nRows, nColumns, pList) != 0) return -1;

    if (MessageBoxA(hOwner, msg::kExportOpenFile, msg::kConfirmOpenCaption,
                    MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES) {
        if ((INT_PTR)ShellExecuteA(nullptr, nullptr, szFile, nullptr, nullptr, SW_SHOW) <= 32)
            MessageBoxA(hOwner, msg::kNoProgramForFile, msg::kConfirmOpenCaption, MB_OK | MB_ICONWARNING);
    }
    return 0;
}
