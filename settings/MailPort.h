// The check of the mail server's port, shared by the mail-settings page (on
// saving) and the mail page (before a run).
#pragma once

// A port a mail can go to: a decimal number from 1 to 65535 (blanks around
// it allowed). Anything else would wrap to another port.
bool IsMailPort(const char* pszPort);

// What the user is told about a port that is not one.
extern const char kMailPortRangeText[];
