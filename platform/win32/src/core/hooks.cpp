// The layer's hook points: message boxes, dialogs and popup menus ask here
// whether a test answers them. Without the test hooks library nothing is
// set and every call goes on as usual.
#include "core.h"

namespace w32 {

TestHookState& Hooks() {
    static auto* s = new TestHookState;
    return *s;
}

bool HookMessageBox(HWND owner, const char* text, const char* caption, UINT flags, int* result) {
    TestHookState& st = Hooks();
    w32test::MessageBoxCall call{owner, text ? text : "", caption ? caption : "", flags};
    w32test::MessageBoxHook hook;
    bool autoAnswer;
    {
        std::lock_guard<std::mutex> lock(st.mutex);
        st.boxCalls.push_back(call);
        hook = st.boxHook;
        autoAnswer = st.autoAnswer;
    }
    if (hook) {
        *result = hook(call);
        return true;
    }
    if (autoAnswer) {
        *result = DefaultBoxAnswer(flags);
        return true;
    }
    return false;
}

void RunDialogHook(HWND dlg, const std::string& name) {
    if (Hooks().dialogHook) {
        auto hook = Hooks().dialogHook;
        hook(dlg, name);
    }
}

bool HookPopupMenu(HMENU m, HWND owner, int x, int y, UINT flags, UINT* id) {
    w32test::PopupMenuCall call{m, owner, x, y, flags, MenuCaptions(m)};
    Hooks().menuCalls.push_back(call);
    if (!Hooks().menuHook) return false;
    auto hook = Hooks().menuHook;
    *id = hook(call);
    return true;
}

}  // namespace w32
