// The date page of a record kind: rows of date queries, each with one or two
// date pickers and a button "立刻查找", over one record list. The page keeps
// its latest query in its history entry (kind 1-n and the dates). TListPage
// is the module's list-page base; the page class runs the queries.
#pragma once

#include <cstdio>
#include <cstring>

#include "shell/ListPageClass.h"
#include "shell/ToolbarClass.h"

struct DateRowDef {
    int nFromID, nToID, nFindID;  // nToID 0: a row with one date
    int y;
    const char* pszEnd;    // the row's text after its dates
    const char* pszError;  // its failed query
};

struct DatePageDef {
    UINT uOpenMessage;
    int nSearchEditID, nSearchID, nListID, nExportID, nHelpID;
    PageMenu menu;
    const DateRowDef* pRows;
    int nRows;
    const char* pszTopLine;   // painted at (166, 16)
    const char* pszListLine;  // painted above the record list
    int nListLineY, nExportY, nListY, nListHeight;
    const char* pszTitle;  // handed to the record form
};

template <class TListPage>
class DateStatPage : public TListPage {
public:
    static constexpr int kMaxRows = 8;

    explicit DateStatPage(const DatePageDef& def) : TListPage(0), m_nKind(0), m_stFrom{}, m_stTo{}, m_Def(def) {
        for (int r = 0; r < kMaxRows; r++) m_hFrom[r] = m_hTo[r] = m_hFind[r] = nullptr;
        this->m_bListEndsHover = FALSE;
    }

    // Query row controls: from-date (or the row's one date), to-date, button.
    HWND m_hFrom[kMaxRows];
    HWND m_hTo[kMaxRows];
    HWND m_hFind[kMaxRows];

    // The latest query: kind 1-n (0: none) and its dates.
    int m_nKind;
    SYSTEMTIME m_stFrom;
    SYSTEMTIME m_stTo;

    void InitDialog(HWND hWnd) override {
        if (this->m_bInit) return;
        BaseDialogClass::InitDialog(hWnd);
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        this->CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.menu, m_Def.nHelpID);
        for (int r = 0; r < Rows(); r++) {
            const DateRowDef& d = m_Def.pRows[r];
            m_hFrom[r] = MakePicker(hWnd, d.nFromID, 200, d.y);
            if (d.nToID) m_hTo[r] = MakePicker(hWnd, d.nToID, 345, d.y);
            m_hFind[r] = CreateWindowExA(0, "BUTTON", "立刻查找", WS_CHILD | WS_VISIBLE, 620, d.y, 80, 22, hWnd,
                                         (HMENU)(INT_PTR)d.nFindID, this->m_hInstance, nullptr);
            SendMessageA(m_hFind[r], WM_SETFONT, (WPARAM)this->m_hFontArial, 0);
        }
        this->CreateExportButton(hWnd, m_Def.nExportID, m_Def.nExportY, this->m_hFontArial);
        CreateDateRecordList(hWnd, m_Def.nListID, m_Def.nListY, m_Def.nListHeight);
        this->LoadExportMenu();
        this->m_bHover = 0;
    }

    // Runs query nKind (1-n) with the dates and shows its result; the number
    // of rows shown, or -1.
    int RunQuery(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
        if (nKind < 1 || nKind > Rows()) return 0;
        const int nResult = QueryKind(nKind, stFrom, stTo);
        m_nKind = nKind;
        m_stFrom = stFrom;
        m_stTo = stTo;
        const int nShown = this->ShowQueryResult(nResult, m_Def.pRows[nKind - 1].pszError);
        this->FreeRows();
        return nShown;
    }

    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        if (uMsg == m_Def.uOpenMessage) return OnOpen();
        switch (uMsg) {
        case UM_RESTOREVIEW: return OnRestoreView();
        case UM_SORTLIST: return OnSortList(wParam, lParam);
        case WM_COMMAND:
            for (int r = 0; r < Rows(); r++) {
                if ((int)wParam == m_Def.pRows[r].nFindID) {
                    OnRowButton(r);
                    return 0;
                }
            }
            break;
        default: break;
        }
        return this->DefaultPageProc(hWnd, uMsg, wParam, lParam);
    }

protected:
    // What the page supplies.
    virtual void CreateDateRecordList(HWND hWnd, int nID, int y, int h) = 0;
    // Runs query nKind into the data object: the number of records or -1.
    virtual int QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) = 0;
    // Sets the data object's sort column (toggling the direction when asked)
    // and makes its next query sorted.
    virtual void PrepareSort(BOOL bToggle, int nColumn) = 0;

    void HandOverTitle(char* pszBuf, int nSize) override { snprintf(pszBuf, (size_t)nSize, "%s", m_Def.pszTitle); }

private:
    int Rows() const { return m_Def.nRows < kMaxRows ? m_Def.nRows : kMaxRows; }

    HWND MakePicker(HWND hParent, int nID, int x, int y) {
        HWND h = CreateWindowExA(0, "SysDateTimePick32", "DateTime", WS_CHILD | WS_VISIBLE, x, y, 105, 20, hParent,
                                 (HMENU)(INT_PTR)nID, this->m_hInstance, nullptr);
        SendMessageA(h, WM_SETFONT, (WPARAM)this->m_hFont, 0);
        return h;
    }

    static void ReadPicker(HWND h, SYSTEMTIME* pst) {
        memset(pst, 0, sizeof(*pst));
        if (h) SendMessageA(h, DTM_GETSYSTEMTIME, 0, (LPARAM)pst);
    }

    void OnRowButton(int nRow) {
        SYSTEMTIME stFrom, stTo;
        ReadPicker(m_hFrom[nRow], &stFrom);
        if (m_hTo[nRow])
            ReadPicker(m_hTo[nRow], &stTo);
        else
            stTo = stFrom;
        const int nKind = nRow + 1;
        if (HistoryNode* pNode = this->OwnHistoryNode()) {
            pNode->m_nKind = nKind;
            pNode->m_stFrom = stFrom;
            if (m_hTo[nRow]) pNode->m_stTo = stTo;
        }
        this->FreeRows();
        RunQuery(nKind, stFrom, stTo);
    }

    LRESULT OnOpen() {
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        this->AppendHistoryNode();
        SetWindowTextA(this->m_hSearchEdit, "");
        this->EmptyRecordList();
        this->FreeRows();
        m_nKind = 0;
        return 0;
    }

    LRESULT OnRestoreView() {
        this->FreeRows();
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        HistoryNode* pNode = this->OwnHistoryNode();
        const int nKind = pNode ? pNode->m_nKind : 0;
        if (nKind == 0) {
            this->EmptyRecordList();
            m_nKind = 0;
        } else if (nKind >= 1 && nKind <= Rows()) {
            const BOOL bTwoDates = m_Def.pRows[nKind - 1].nToID != 0;
            RunQuery(nKind, pNode->m_stFrom, bTwoDates ? pNode->m_stTo : pNode->m_stFrom);
        }
        return 0;
    }

    LRESULT OnSortList(WPARAM wParam, LPARAM lParam) {
        PrepareSort(wParam == 1, (int)lParam);
        this->FreeRows();
        if (m_nKind == 0) {
            // Nothing listed yet: the next query comes sorted.
            this->EmptyRecordList();
            return 0;
        }
        const SYSTEMTIME stFrom = m_stFrom, stTo = m_stTo;
        RunQuery(m_nKind, stFrom, stTo);
        return 0;
    }

    void PaintPage(HDC hdc) override {
        this->PaintText(hdc, 166, 16, m_Def.pszTopLine);
        char szNumber[16];
        for (int r = 0; r < Rows(); r++) {
            const DateRowDef& d = m_Def.pRows[r];
            snprintf(szNumber, sizeof(szNumber), "%d、", r + 1);
            this->PaintText(hdc, 166, d.y + 2, szNumber);
            if (d.nToID) {
                this->PaintText(hdc, 320, d.y + 2, "至");
                this->PaintText(hdc, 465, d.y + 2, d.pszEnd);
            } else {
                this->PaintText(hdc, 320, d.y + 2, d.pszEnd);
            }
        }
        this->PaintText(hdc, 166, m_Def.nListLineY, m_Def.pszListLine);
    }

    const DatePageDef m_Def;
};
