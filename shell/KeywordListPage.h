// The list page of a record kind: every record, or those that match a
// keyword, with the line above the list that says which and how many. Every
// search box of the module searches here (UM_KEYWORDSEARCH adds a history
// entry); the page's own search button turns its current entry into the
// search (UM_LOCALSEARCH). TListPage is the module's list-page base; the page
// class runs the data object's list query.
#pragma once

#include <cstdio>
#include <cstring>

#include "shell/ListPageClass.h"
#include "shell/ToolbarClass.h"
#include "platform/gbk/gbk.h"

struct KeywordPageDef {
    int nSearchEditID, nSearchID, nListID, nExportID, nHelpID;  // nExportID 0: no export
    PageMenu menu;
    const char* pszAllCaption;      // "...共%d条..." with the count
    const char* pszKeywordCaption;  // "...\"%s\"...%d..." with the keyword and the count
    const char* pszQueryError;
    const char* pszTitle;  // handed to the record form
    UINT uColumnMask;
    BOOL bKeepSearchText;  // opening the page leaves the search box's text (else empties it)
};

template <class TListPage>
class KeywordListPage : public TListPage {
public:
    explicit KeywordListPage(const KeywordPageDef& def) : TListPage(-1), m_Def(def) {
        m_szKeyword[0] = 0;
        m_szCaption[0] = 0;
        m_rcCaption = {166, 16, 900, 36};
    }

    char m_szKeyword[50];   // written by a search box before UM_KEYWORDSEARCH
    char m_szCaption[256];  // the line above the list
    RECT m_rcCaption;

    void InitDialog(HWND hWnd) override {
        if (this->m_bInit) return;
        BaseDialogClass::InitDialog(hWnd);
        this->CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.menu, m_Def.nHelpID);
        CreateKeywordRecordList(hWnd, m_Def.nListID);
        // A page without export leaves nExportID 0.
        if (m_Def.nExportID) {
            this->CreateExportButton(hWnd, m_Def.nExportID, 18, this->m_hFontArial);
            this->LoadExportMenu();
        }
    }

    // The page's own search box: Enter searches in a new history entry, the
    // button turns the current entry into the search.
    void OnSearch(HWND hEdit, BOOL bEnter) override {
        if (bEnter) {
            this->ReadSearchText(m_szKeyword);
            SendMessageA(this->m_hWnd, UM_KEYWORDSEARCH, 0, 0);
        } else {
            this->ReadSearchText(DataKeyword());
            SendMessageA(this->m_hWnd, UM_LOCALSEARCH, 0, 0);
        }
    }

    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        switch (uMsg) {
        case UM_OPENVIEW: return OnOpenView();
        case UM_LOCALSEARCH: return OnLocalSearch();
        case UM_KEYWORDSEARCH: return OnKeywordSearch();
        case UM_SORTLIST: return OnSortList(wParam, lParam);
        case UM_RESTOREVIEW: return OnRestoreView();
        default: break;
        }
        return this->DefaultPageProc(hWnd, uMsg, wParam, lParam);
    }

protected:
    // What the page supplies.
    virtual void CreateKeywordRecordList(HWND hWnd, int nID) = 0;
    // The data object's keyword buffer (50 bytes).
    virtual char* DataKeyword() = 0;
    // The data object's list query in mode nMode (0 all, 1 keyword, 2
    // re-sort): the number of records or -1.
    virtual int QueryList(int nMode) = 0;
    // Sets the sort column, toggling the direction when asked.
    virtual void PrepareSort(BOOL bToggle, int nColumn) = 0;

    void HandOverTitle(char* pszBuf, int nSize) override { gbk::CopyCut(pszBuf, (size_t)nSize, m_Def.pszTitle); }

private:
    // Runs the query and shows its result; the data object's rows are freed
    // once the list holds them.
    int RunQuery(int nMode) {
        this->FreeRows();
        const int nResult = this->ShowQueryResult(QueryList(nMode), m_Def.pszQueryError);
        this->FreeRows();
        return nResult;
    }

    // After a failed query the line stays as it was.
    void SetCaption(BOOL bKeyword, int nResult) {
        if (nResult < 0) return;
        char szOld[sizeof(m_szCaption)];
        memcpy(szOld, m_szCaption, sizeof(szOld));
        if (bKeyword)
            snprintf(m_szCaption, sizeof(m_szCaption), m_Def.pszKeywordCaption, DataKeyword(), nResult);
        else
            snprintf(m_szCaption, sizeof(m_szCaption), m_Def.pszAllCaption, nResult);
        this->InvalidateTextLine(m_rcCaption, 166, 16, szOld, m_szCaption);
    }

    LRESULT OnOpenView() {
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        this->AppendHistoryNode();
        const int nResult = RunQuery(0);
        if (!m_Def.bKeepSearchText) SetWindowTextA(this->m_hSearchEdit, "");
        SetCaption(FALSE, nResult);
        return 0;
    }

    LRESULT OnLocalSearch() {
        if (!this->m_bInit) InitDialog(this->m_hWnd);
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        SetFocus(this->m_hSearchEdit);
        if (HistoryNode* pNode = this->OwnHistoryNode()) {
            pNode->m_nKind = 1;
            g_History.SetKeyword(DataKeyword());
        }
        SetCaption(TRUE, RunQuery(1));
        return 0;
    }

    LRESULT OnKeywordSearch() {
        if (!this->m_bInit) InitDialog(this->m_hWnd);
        this->AppendHistoryNode();
        gbk::CopyCut(DataKeyword(), kKeywordSize, m_szKeyword);
        return OnLocalSearch();
    }

    LRESULT OnSortList(WPARAM wParam, LPARAM lParam) {
        PrepareSort(wParam == 1, (int)lParam);
        RunQuery(2);
        return 0;
    }

    LRESULT OnRestoreView() {
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        HistoryNode* pNode = this->OwnHistoryNode();
        const int nKind = pNode ? pNode->m_nKind : 0;
        if (nKind == 0) {
            SetCaption(FALSE, RunQuery(0));
        } else if (nKind == 1) {
            gbk::CopyCut(DataKeyword(), kKeywordSize, pNode->m_pszKeyword ? pNode->m_pszKeyword : "");
            SetCaption(TRUE, RunQuery(1));
        }
        return 0;
    }

    void PaintPage(HDC hdc) override { this->PaintText(hdc, 166, 16, m_szCaption); }

    const KeywordPageDef m_Def;
};
