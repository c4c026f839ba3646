#include "views/KeywordListDialogClass.h"

#include "shell/ViewMessages.h"
#include "platform/gbk/gbk.h"

#include <cstring>

KeywordListDialogClass::KeywordListDialogClass(int nButton)
    : PlaceholderDialogClass(nButton, {UM_OPENVIEW}), m_szKeyword{}, m_szSearch{} {}

HistoryNode* KeywordListDialogClass::OnOpen(UINT uMsg) {
    m_szSearch[0] = '\0';
    return PlaceholderDialogClass::OnOpen(uMsg);
}

void KeywordListDialogClass::OnKeywordSearch() {
    // The message may come before the page was ever shown.
    EnsureInit();
    // The sender's copy may end in half a character; take whole characters.
    gbk::CopyCut(m_szSearch, sizeof m_szSearch, {m_szKeyword, strnlen(m_szKeyword, sizeof m_szKeyword)});
    if (HistoryNode* pNode = g_History.OpenEntry(this)) {
        pNode->m_nKind = 1;
        g_History.SetKeyword(m_szSearch);
    }
    CheckOwnButton();
    Repaint();
}

void KeywordListDialogClass::OnRestore() {
    if (g_History.IsCurrentOf(this)) {
        const HistoryNode* pNode = g_History.m_pCurrent;
        if (pNode->m_nKind == 1 && pNode->m_pszKeyword)
            gbk::CopyCut(m_szSearch, sizeof m_szSearch, pNode->m_pszKeyword);
        else
            m_szSearch[0] = '\0';
    }
    PlaceholderDialogClass::OnRestore();
}

LRESULT KeywordListDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == UM_KEYWORDSEARCH) {
        OnKeywordSearch();
        return 0;
    }
    return PlaceholderDialogClass::DialogProc(hWnd, uMsg, wParam, lParam);
}
