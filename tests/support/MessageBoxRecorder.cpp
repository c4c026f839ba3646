#include "tests/support/MessageBoxRecorder.h"

#include <mutex>

#include "resources/message_texts.h"
#include "store/Report.h"

namespace testsupport {
namespace {

std::mutex g_mutex;
std::vector<MessageBoxCall> g_calls;
std::function<void()> g_fnHook;

void Record(const char* pszText) {
    std::function<void()> fnHook;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_calls.push_back(MessageBoxCall{nullptr, pszText ? pszText : "", msg::kCaption, MB_OK});
        fnHook = g_fnHook;
    }
    if (fnHook) fnHook();  // while the "box" is up
}

const bool kRecording = (store::SetReporter(Record), true);

}  // namespace

void RecordStoreReports() { store::SetReporter(Record); }

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
    g_fnHook = nullptr;
}

void SetMessageBoxHook(std::function<void()> fnHook) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_fnHook = std::move(fnHook);
}

}  // namespace testsupport
