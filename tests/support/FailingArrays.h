// A test program that links FailingArrays.cpp has its array allocation
// without exceptions (new (std::nothrow) T[n]) fail on request for one size,
// so that the id arrays the pages allocate can be refused one at a time.
#pragma once

#include <cstddef>

namespace programtest {

// Array allocations of this many bytes fail while it is above 0.
void FailArraysOfBytes(std::size_t nBytes);

// Makes every array of nIDs ids fail while it lives.
struct FailArraysOf {
    explicit FailArraysOf(int nIDs);
    ~FailArraysOf();
    FailArraysOf(const FailArraysOf&) = delete;
    FailArraysOf& operator=(const FailArraysOf&) = delete;
};

}  // namespace programtest
