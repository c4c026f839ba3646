// Threads: start at once, waiting, exit codes, and a handle closed while its
// thread still runs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "win32.h"

namespace {

struct Gate {
    std::atomic<bool> open{false};
    std::atomic<int> ran{0};
    std::atomic<DWORD> seenId{0};
};

DWORD WINAPI WaitForGate(LPVOID p) {
    Gate* g = static_cast<Gate*>(p);
    g->seenId = GetCurrentThreadId();
    while (!g->open) Sleep(1);
    ++g->ran;
    return 7;
}

DWORD WINAPI ReturnParameter(LPVOID p) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(p)); }

TEST(Threads, StartAtOnceAndReportTheirExitCode) {
    Gate g;
    DWORD id = 0;
    HANDLE h = CreateThread(nullptr, 0, WaitForGate, &g, 0, &id);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    // Still blocked on the gate: not signalled, still active.
    EXPECT_EQ(WaitForSingleObject(h, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(h, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    g.open = true;
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(g.seenId.load(), id);  // the id given is the thread's own
    ASSERT_TRUE(GetExitCodeThread(h, &code));
    EXPECT_EQ(code, 7u);
    // A finished thread stays signalled.
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(CloseHandle(h));
}

TEST(Threads, ClosingTheHandleLeavesTheThreadRunning) {
    Gate g;
    HANDLE h = CreateThread(nullptr, 0, WaitForGate, &g, 0, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(CloseHandle(h));
    g.open = true;
    for (int i = 0; i < 5000 && g.ran == 0; ++i) Sleep(1);
    EXPECT_EQ(g.ran.load(), 1);
    // The handle is gone: a second close and a wait fail cleanly.
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_FAILED));
}

TEST(Threads, ManyThreadsEachGetTheirOwnParameter) {
    HANDLE hs[16];
    for (uintptr_t i = 0; i < 16; ++i) {
        hs[i] = CreateThread(nullptr, 0, ReturnParameter, reinterpret_cast<LPVOID>(i * 3), 0, nullptr);
        ASSERT_NE(hs[i], nullptr);
    }
    for (uintptr_t i = 0; i < 16; ++i) {
        ASSERT_EQ(WaitForSingleObject(hs[i], INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(hs[i], &code));
        EXPECT_EQ(code, i * 3);
        EXPECT_TRUE(CloseHandle(hs[i]));
    }
}

TEST(Threads, BadArgumentsAndHandlesAreRefused) {
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(CreateThread(nullptr, 0, ReturnParameter, nullptr, CREATE_SUSPENDED, nullptr), nullptr);
    int notAHandle = 0;
    EXPECT_FALSE(CloseHandle(&notAHandle));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), static_cast<DWORD>(WAIT_FAILED));
}

TEST(Threads, LastErrorIsPerThread) {
    SetLastError(1234);
    HANDLE h = CreateThread(
        nullptr, 0, [](LPVOID) -> DWORD { return GetLastError(); }, nullptr, 0, nullptr);
    ASSERT_NE(h, nullptr);
    WaitForSingleObject(h, INFINITE);
    DWORD code = 99;
    GetExitCodeThread(h, &code);
    CloseHandle(h);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(GetLastError(), 1234u);
}

TEST(Time, SleepBlocksOnlyTheCallingThread) {
    std::atomic<int> ticks{0};
    HANDLE h = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            Sleep(200);
            ++*static_cast<std::atomic<int>*>(p);
            return 0;
        },
        &ticks, 0, nullptr);
    ASSERT_NE(h, nullptr);
    // The sleeping worker has not finished; this thread runs on.
    EXPECT_EQ(WaitForSingleObject(h, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(ticks.load(), 0);
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(ticks.load(), 1);
    CloseHandle(h);
    Sleep(0);  // returns at once
}

}  // namespace

namespace {

TEST(Modules, ModuleFileNameThatDoesNotFitIsReportedAsCut) {
    char whole[MAX_PATH];
    DWORD len = GetModuleFileNameA(nullptr, whole, sizeof whole);
    ASSERT_GT(len, 4u);
    ASSERT_LT(len, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(std::strlen(whole), len);
    char small[MAX_PATH];
    // Room for all but the NUL: cut, terminated, and the size given back.
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, len), len);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), std::string(whole, len - 1));
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, 4), 4u);
    EXPECT_EQ(std::strlen(small), 3u);
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, len + 1), len);  // just fits
}

TEST(Modules, TheExecutableIsTheOnlyModule) {
    HMODULE self = GetModuleHandleA(nullptr);
    EXPECT_NE(self, nullptr);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    EXPECT_EQ(GetModuleHandleA(path), self);
    const char* base = std::strrchr(path, '/');
    std::string name = base ? base + 1 : path;
    EXPECT_EQ(GetModuleHandleA(name.c_str()), self);
    EXPECT_EQ(GetModuleHandleA((name + ".EXE").c_str()), self);
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
