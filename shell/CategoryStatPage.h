// The statistics page of a record kind by one lookup category: a category
// list (the category's name and its figures) above the record list of the
// category the user clicks. TListPage is the module's list-page base (a
// ListPageClass that holds the data object and walks its rows); the page
// class supplies the category queries through the hooks below.
#pragma once

#include <cstdio>

#include "shell/ListPageClass.h"
#include "shell/ToolbarClass.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

// What a category page is made of.
struct CategoryPageDef {
    UINT uOpenMessage;  // the message that opens the page
    int nSearchEditID, nSearchID, nCategoryListID, nExportID, nRecordListID, nHelpID;
    PageMenu menu;                     // left menu, with the page's ids
    ListColumnDef categoryColumns[4];  // column 0: the category's name
    int nCategoryColumns;
    const char* pszTopLine;      // painted above the category list
    const char* pszTitleFormat;  // title handed to the record form, "%s" = the category
    const char* pszQueryError;   // a failed listing (and a failed count without pszCountError)
    HFONT BaseDialogClass::*pExportFont;
    const char* pszCountError;  // a failed count; null: pszQueryError
    BOOL bKeepRows;             // opening keeps the record rows, their ids and the category of the last visit
};

template <class TListPage>
class CategoryStatPage : public TListPage {
public:
    static constexpr int kMaxCategoryColumns = 4;  // entries of CategoryPageDef::categoryColumns

    explicit CategoryStatPage(const CategoryPageDef& def) : TListPage(0), m_nCategory(0), m_Def(def) {}

    ListViewClass m_CategoryList;
    int m_nCategory;  // index of the category whose records the list shows

    void InitDialog(HWND hWnd) override {
        if (this->m_bInit) return;
        BaseDialogClass::InitDialog(hWnd);
        this->CreateFrameControls(hWnd, m_Def.nSearchEditID, m_Def.nSearchID, m_Def.menu, m_Def.nHelpID);
        m_CategoryList.Create(this->m_hInstance, hWnd, 167, 40, 850, 150,
                              WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, m_Def.nCategoryListID);
        m_CategoryList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
        m_CategoryList.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
        for (int c = 0; c < m_Def.nCategoryColumns && c < kMaxCategoryColumns; c++)
            m_CategoryList.InsertColumn(m_Def.categoryColumns[c].pszCaption, m_Def.categoryColumns[c].nWidth);
        SendMessageA(m_CategoryList.m_hListView, WM_SETFONT, (WPARAM)this->m_hFont, 0);
        m_CategoryList.InitItem();
        this->CreateExportButton(hWnd, m_Def.nExportID, 198, this->*m_Def.pExportFont);
        CreateCategoryRecordList(hWnd, m_Def.nRecordListID);
        this->LoadExportMenu();
        this->m_bHover = 0;
    }

    // Rows of the category list: category i in row (count - 1 - i).
    void FillCategoryList() {
        char szCell[64];
        const int n = CategoryCount();
        for (int i = 0; i < n; i++) {
            m_CategoryList.InsertItem(0, CategoryName(i));
            for (int c = 1; c < m_Def.nCategoryColumns && c < kMaxCategoryColumns; c++) {
                CategoryCell(i, c, szCell, sizeof(szCell));
                m_CategoryList.SetItemText(0, c, szCell);
            }
        }
    }

    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        if (uMsg == m_Def.uOpenMessage) return OnOpen();
        switch (uMsg) {
        case UM_RESTOREVIEW: return OnRestoreView();
        case UM_SORTLIST: return OnSortList(wParam, lParam);
        case WM_NOTIFY: {
            const NMHDR* pHdr = (const NMHDR*)lParam;
            if (pHdr && pHdr->hwndFrom == m_CategoryList.m_hListView) {
                if (this->m_bListEndsHover) this->LeaveHover();
                if (pHdr->code == NM_CUSTOMDRAW) return m_CategoryList.OnCustomDraw((NMLVCUSTOMDRAW*)lParam);
                if (pHdr->code == NM_CLICK) OnCategoryClick(((const NMITEMACTIVATE*)lParam)->iItem);
                return 0;
            }
            break;
        }
        default: break;
        }
        return this->DefaultPageProc(hWnd, uMsg, wParam, lParam);
    }

protected:
    // What the page supplies.
    virtual void CreateCategoryRecordList(HWND hWnd, int nID) = 0;
    virtual int CountCategories() = 0;  // the counting query: 0 or -1
    virtual int CategoryCount() const = 0;
    virtual const char* CategoryName(int i) const = 0;
    virtual void CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const = 0;
    // Lists one category's records into the data object; the query mode as
    // the caller set it. The number of records or -1.
    virtual int QueryCategory(const char* pszName) = 0;
    // Sets the data object's sort column, toggling the direction when asked;
    // with bSorted the next listing comes sorted.
    virtual void PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) = 0;

    void HandOverTitle(char* pszBuf, int nSize) override {
        const char* pszName = m_nCategory >= 0 && m_nCategory < CategoryCount() ? CategoryName(m_nCategory) : "";
        snprintf(pszBuf, (size_t)nSize, m_Def.pszTitleFormat, pszName);
    }

private:
    void Count() {
        if (CountCategories() == -1) ReportError(m_Def.pszCountError ? m_Def.pszCountError : m_Def.pszQueryError);
    }

    // Lists category m_nCategory; an index past today's categories (the
    // lookup table changed since) lists nothing.
    void ListCategory() {
        if (m_nCategory < 0 || m_nCategory >= CategoryCount()) {
            this->EmptyRecordList();
            return;
        }
        this->ShowQueryResult(QueryCategory(CategoryName(m_nCategory)), m_Def.pszQueryError);
        this->FreeRows();
    }

    LRESULT OnOpen() {
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        if (!this->m_bInit) return 0;
        this->AppendHistoryNode();
        m_CategoryList.DeleteAllItems();
        if (!m_Def.bKeepRows) this->EmptyRecordList();
        this->FreeRows();
        Count();
        SetWindowTextA(this->m_hSearchEdit, "");
        FillCategoryList();
        return 0;
    }

    void OnCategoryClick(int nRow) {
        const int n = CategoryCount();
        if (nRow < 0 || nRow >= n) return;
        this->FreeRows();
        this->EmptyRecordList();
        m_nCategory = n - 1 - nRow;
        if (HistoryNode* pNode = this->OwnHistoryNode()) {
            pNode->m_nKind = 1;
            pNode->m_nParam = m_nCategory;
        }
        ListCategory();
    }

    LRESULT OnSortList(WPARAM wParam, LPARAM lParam) {
        this->FreeRows();
        // Without a category of today's list there is nothing to sort.
        const BOOL bListed = m_nCategory >= 0 && m_nCategory < CategoryCount();
        PrepareSort(wParam == 1, (int)lParam, bListed);
        if (bListed) ListCategory();
        return 0;
    }

    LRESULT OnRestoreView() {
        g_Toolbar.CheckButton(this->ModuleButton(), 1);
        m_CategoryList.DeleteAllItems();
        this->EmptyRecordList();
        this->FreeRows();
        Count();
        FillCategoryList();
        HistoryNode* pNode = this->OwnHistoryNode();
        if (pNode && pNode->m_nKind == 1) {
            m_nCategory = pNode->m_nParam;
            ListCategory();
        }
        return 0;
    }

    void PaintPage(HDC hdc) override {
        this->PaintText(hdc, 166, 16, m_Def.pszTopLine);
        this->PaintText(hdc, 166, 200, "用鼠标双击下面的记录可显示详细内容，点击列表标题栏，可重新排序。");
    }

    const CategoryPageDef m_Def;
};
