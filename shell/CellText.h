// The list pages' fixed cell formats, written without printf: the same bytes
// as snprintf with "%d-%d-%d", "%d:%d", "%d%%" and "%.2f" (C locale),
// truncated the same way. Each returns the length the full text has.
#pragma once

namespace cell {

int FormatDate(char* pszBuf, int nSize, int nYear, int nMonth, int nDay);  // "%d-%d-%d"
int FormatTime(char* pszBuf, int nSize, int nHour, int nMinute);           // "%d:%d"
int FormatPercent(char* pszBuf, int nSize, int nValue);                    // "%d%%"
int FormatAmount(char* pszBuf, int nSize, double dValue);                  // "%.2f"

}  // namespace cell
