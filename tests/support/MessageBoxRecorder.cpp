#include "tests/support/MessageBoxRecorder.h"

#include <mutex>

namespace testsupport {
namespace {

std::mutex g_mutex;
std::vector<MessageBoxCall> g_calls;
int g_nResult = IDOK;

}  // namespace

const std::vector<MessageBoxCall>& MessageBoxCalls() { return g_calls; }

std::vector<std::string> MessageBoxTexts() {
    std::lock_guard<std::mutex> lock(g_mutex);
    std::vector<std::string> texts;
    for (const MessageBoxCall& c : g_calls) texts.push_back(c.text);
    return texts;
}

void ClearMessageBoxes() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_calls.clear();
    g_nResult = IDOK;
}

void SetMessageBoxResult(int nResult) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_nResult = nResult;
}

}  // namespace testsupport

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    using namespace testsupport;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_calls.push_back(MessageBoxCall{hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "", uType});
    return g_nResult;
}
