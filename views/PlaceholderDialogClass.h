// The least a page of the program does before its own content is built: it
// selects its module's toolbar button whenever it is opened or restored,
// adds a history entry for itself on each opening message, rebuilds itself
// from the current entry on UM_RESTOREVIEW without adding one, scrolls like
// every page, and paints its window class name (the view table names it). The pages derive from it
// and add the members other pages write into.
#pragma once

#include "shell/BaseDialogClass.h"
#include "shell/HistoryClass.h"

#include <initializer_list>

class PlaceholderDialogClass : public BaseDialogClass {
public:
    static const int kMaxOpenMessages = 6;

    // nButton: the view's toolbar button; opens: the messages that open the page.
    PlaceholderDialogClass(int nButton, std::initializer_list<UINT> opens);

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    int GetButton() const { return m_nButton; }
    bool IsOpenMessage(UINT uMsg) const;

protected:
    // An opening message: selects the button and adds an entry of kind 0.
    // Returns the new entry, or null when none was added.
    virtual HistoryNode* OnOpen(UINT uMsg);
    // UM_RESTOREVIEW: selects the button. Pages with a state read it back
    // from the current entry when it is theirs.
    virtual void OnRestore();
    void CheckOwnButton();
    // Builds the controls of a page that was never shown (a message that
    // may come before the first showing).
    void EnsureInit();
    void Repaint();

    int m_nButton;
    UINT m_uOpen[kMaxOpenMessages];
    int m_nOpen;
};
