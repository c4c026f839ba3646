// Test hook of the WinSock layer. Used only by tests.
#pragma once

#include "win32.h"

namespace wsatest {

// Caps every SO_RCVTIMEO / SO_SNDTIMEO set from now on at ms milliseconds
// (0 removes the cap), so that a test of a silent server need not wait for
// the program's own limit.
void LimitSocketTimeouts(DWORD ms);

}  // namespace wsatest
