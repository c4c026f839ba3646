#include "tests/support/FailingArrays.h"

#include <atomic>
#include <new>

#include "win32.h"

namespace {
std::atomic<std::size_t> g_nFailBytes{0};
}  // namespace

void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    if (n != 0 && n == g_nFailBytes.load()) return nullptr;
    try {
        return ::operator new[](n);
    } catch (...) {
        return nullptr;
    }
}

namespace programtest {

void FailArraysOfBytes(std::size_t nBytes) { g_nFailBytes = nBytes; }

FailArraysOf::FailArraysOf(int nIDs) { FailArraysOfBytes(sizeof(ULONG) * (std::size_t)nIDs); }

FailArraysOf::~FailArraysOf() { FailArraysOfBytes(0); }

}  // namespace programtest
