#include "store/RecordList.h"
#include "resources/message_texts.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gbk/gbk.h"

namespace store {

Transaction::Transaction() : m_bOpen(g_ODBC.co_BeginTrans() == 0) {}

Transaction::~Transaction() {
    if (m_bOpen) g_ODBC.co_EndTrans(false);
}

int Transaction::Commit() {
    if (!m_bOpen) return -1;
    m_bOpen = false;
    return g_ODBC.co_EndTrans(true);
}

int Transaction::Finish(int nResult) {
    if (nResult == -1) return -1;  // the destructor rolls back
    return Commit() == -1 ? -1 : nResult;
}

int SetSQL(const char* pszText) { return g_ODBC.co_FormatSQL("%s", pszText); }

// Text that is not code page 936 never reaches a statement (msg::kTextNotGbk):
// a byte the driver could not read as part of a character might end the
// quoted text.

static void AppendQuoted(std::string& out, const char* s) {
    if (!s) return;
    for (; *s; ++s) {
        out += *s;
        if (*s == '\'') out += '\'';
    }
}

int FormatSQL(const char* pszFormat, ...) {
    std::string out;
    out.reserve(512);
    va_list ap;
    va_start(ap, pszFormat);
    for (const char* p = pszFormat; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case '%': out += '%'; break;
        case 'd': {
            char buf[16];
            int n = snprintf(buf, sizeof buf, "%d", va_arg(ap, int));
            out.append(buf, (size_t)n);
            break;
        }
        case 's': {
            const char* s = va_arg(ap, const char*);
            if (s && !gbk::IsValid(s)) {
                va_end(ap);
                ShowError(msg::kTextNotGbk);
                return -1;
            }
            AppendQuoted(out, s);
            break;
        }
        case 'f': {
            // Fixed notation with six decimals, independent of LC_NUMERIC.
            // The largest double needs 309 digits before the point.
            char buf[400];
            auto r = std::to_chars(buf, buf + sizeof buf, va_arg(ap, double), std::chars_format::fixed, 6);
            if (r.ec != std::errc()) {
                va_end(ap);
                return -1;
            }
            out.append(buf, r.ptr);
            break;
        }
        default:  // a conversion the data classes never use
            va_end(ap);
            return -1;
        }
    }
    va_end(ap);
    return g_ODBC.co_FormatSQL("%s", out.c_str());
}

int CheckTextFits(const char* pszText, size_t nFieldSize, size_t nMaxBytes, const char* pszLabel) {
    if (strnlen(pszText, nFieldSize) <= nMaxBytes) return 0;
    char szText[160];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    snprintf(szText, sizeof szText, msg::kTextTooLongFormat, pszLabel, (unsigned)nMaxBytes, (unsigned)(nMaxBytes / 2));
#pragma GCC diagnostic pop
    ShowError(szText);
    return -1;
}

void EscapeQuotes(const char* pszSource, char* pszTarget) {
    while (*pszSource) {
        if (*pszSource == '\'') *pszTarget++ = '\'';
        *pszTarget++ = *pszSource++;
    }
    *pszTarget = '\0';
}

int FetchRow() {
    int r = g_ODBC.co_GetNextData();
    SQLRETURN rc = g_ODBC.m_nResult;
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return r == -1 ? 0 : 1;
    if (rc == SQL_NO_DATA) return 0;
    return -1;
}

static int ReadMemo(char* pNode, const ColumnSpec& c, const char* pszLenMsg) {
    char** ppText = reinterpret_cast<char**>(pNode + c.nOffset);
    char cDummy = 0;
    int nLen = g_ODBC.co_GetDataLen(c.nColumn, SQL_C_CHAR, &cDummy);
    if (nLen == -1) {
        ShowError(pszLenMsg);
        return -1;
    }
    if (nLen < 0) nLen = 0;  // NULL: an empty text
    if (*ppText) {
        ShowError(c.pszMsgAlloc);
        return -1;
    }
    char* pText = new (std::nothrow) char[(size_t)nLen + 1]();
    if (!pText) {
        ShowError(c.pszMsgAlloc);
        return -1;
    }
    *ppText = pText;
    if (g_ODBC.co_SQLGetData(c.nColumn, SQL_C_CHAR, pText, nLen + 1) == -1) {
        ShowError(c.pszMsgText);
        return -1;
    }
    if (g_ODBC.m_nIndicator == SQL_NULL_DATA) pText[0] = '\0';
    return 0;
}

int ReadColumns(void* pNode, const ColumnSpec* pColumns, size_t nColumns, bool bLaterRow) {
    char* pBase = static_cast<char*>(pNode);
    for (size_t i = 0; i < nColumns; ++i) {
        const ColumnSpec& c = pColumns[i];
        const char* pszMsg = (bLaterRow && c.pszMsgLater) ? c.pszMsgLater : c.pszMsg;
        void* pField = pBase + c.nOffset;
        SQLSMALLINT nType;
        SQLINTEGER nLen;
        size_t nSize;
        switch (c.kind) {
        case COL_MEMO:
            if (ReadMemo(pBase, c, pszMsg) == -1) return -1;
            continue;
        case COL_LONG:
            nType = SQL_C_SLONG;
            nLen = nSize = 4;
            break;
        case COL_TEXT:
            nType = SQL_C_CHAR;
            nLen = c.nLength;
            nSize = (size_t)c.nLength;
            break;
        case COL_DATE:
            nType = SQL_C_TYPE_DATE;
            nLen = nSize = sizeof(DATE_STRUCT);
            break;
        case COL_TIME:
            nType = SQL_C_TYPE_TIME;
            nLen = nSize = sizeof(TIME_STRUCT);
            break;
        case COL_DOUBLE:
            nType = SQL_C_DOUBLE;
            nLen = nSize = sizeof(double);
            break;
        case COL_FLOAT:
            nType = SQL_C_FLOAT;
            nLen = nSize = sizeof(float);
            break;
        default: return -1;
        }
        if (g_ODBC.co_SQLGetData(c.nColumn, nType, pField, nLen) == -1) {
            ShowError(pszMsg);
            return -1;
        }
        // A NULL value never leaves what the field held before.
        if (g_ODBC.m_nIndicator == SQL_NULL_DATA) memset(pField, 0, nSize);
    }
    return 0;
}

int ExecOrShow(const char* pszMsg) {
    int r = g_ODBC.co_ExecSQL();
    if (r == -1) ShowError(pszMsg);
    return r;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
int LinkIfMissing(const char* pszCount, const char* pszInsert, int nArgs, ULONG a, ULONG b, ULONG c) {
    static const char* const kExec = "Con_DetailClass.cpp 66: co_ExecSQL Error.";
    int r = nArgs == 3 ? FormatSQL(pszCount, (int)a, (int)b, (int)c) : FormatSQL(pszCount, (int)a, (int)b);
    if (r == -1) return -1;
    int nCount = 0;
    if (ReadFirstLong(kExec, "Opp_DetailClass.cpp 652: co_SQLGetData Error.", &nCount) == -1) return -1;
    if (nCount != 0) return 0;
    r = nArgs == 3 ? FormatSQL(pszInsert, (int)a, (int)b, (int)c) : FormatSQL(pszInsert, (int)a, (int)b);
    if (r == -1 || ExecOrShow(kExec) == -1) return -1;
    return 1;
}
#pragma GCC diagnostic pop

const char* SortColumnName(const char* const* pTable, int nEntries, int iColumn) {
    if (iColumn < 0 || iColumn >= nEntries) return nullptr;
    return pTable[iColumn];
}

// A re-sort's statement: pszSorted into sSQL, " DESC" appended when bDesc
// is 1, and the mode set to 0. Result: the sort column's entry of the table,
// or null (nothing changed) when the column lies outside it.
static const char* SortedText(const Steering& s, const char* pszSorted, std::string& sSQL) {
    const char* pszColumn = SortColumnName(s.pSortTable, s.nSortEntries, s.iSortColumn);
    if (!pszColumn) return nullptr;
    sSQL = pszSorted;
    if (s.bDesc == 1) sSQL += " DESC";
    s.iQueryMode = 0;
    return pszColumn;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
int FormatKeywordQuery(const Steering& s, const KeywordQueryTexts& t, const char* pszKeyword) {
    const char* k = pszKeyword;
    if (s.iQueryMode == 1) {
        s.bSearch = 1;
        s.iQueryMode = 0;
        return t.nKeywordUses == 3 ? FormatSQL(t.pszSearch, k, k, k) : FormatSQL(t.pszSearch, k, k);
    }
    if (s.iQueryMode == 2) {
        const char* pszColumn = SortColumnName(s.pSortTable, s.nSortEntries, s.iSortColumn);
        if (!pszColumn) return -1;
        s.iQueryMode = 0;
        if (s.bSearch != 1) return FormatSQL(s.bDesc == 1 ? t.pszSortedDesc : t.pszSorted, pszColumn);
        const char* pszSQL = s.bDesc == 1 ? t.pszSearchSortedDesc : t.pszSearchSorted;
        return t.nKeywordUses == 3 ? FormatSQL(pszSQL, k, k, k, pszColumn) : FormatSQL(pszSQL, k, k, pszColumn);
    }
    s.bSearch = 0;
    return SetSQL(t.pszPlain);
}

int FormatCategoryQuery(const Steering& s, const char* pszPlain, const char* pszSorted, const char* pszValue) {
    if (s.iQueryMode == 2) {
        std::string sSQL;
        const char* pszColumn = SortedText(s, pszSorted, sSQL);
        if (!pszColumn) return -1;
        return FormatSQL(sSQL.c_str(), pszValue, pszColumn);
    }
    s.bSearch = 0;
    return FormatSQL(pszPlain, pszValue);
}

int FormatGroupedQuery(const Steering& s, const char* pszPlain, const char* pszSorted) {
    if (s.iQueryMode == 2) {
        std::string sSQL;
        const char* pszColumn = SortedText(s, pszSorted, sSQL);
        if (!pszColumn) return -1;
        return FormatSQL(sSQL.c_str(), pszColumn);
    }
    s.bSearch = 0;
    return SetSQL(pszPlain);
}

int FormatDateQuery(const Steering& s, const char* pszPlain, const char* pszSorted, const SYSTEMTIME* pFrom,
                    const SYSTEMTIME& stTo) {
    if (s.iQueryMode == 2) {
        std::string sSQL;
        const char* pszColumn = SortedText(s, pszSorted, sSQL);
        if (!pszColumn) return -1;
        if (pFrom)
            return FormatSQL(sSQL.c_str(), pFrom->wYear, pFrom->wMonth, pFrom->wDay, stTo.wYear, stTo.wMonth, stTo.wDay,
                             pszColumn);
        return FormatSQL(sSQL.c_str(), stTo.wYear, stTo.wMonth, stTo.wDay, pszColumn);
    }
    if (pFrom) return FormatSQL(pszPlain, pFrom->wYear, pFrom->wMonth, pFrom->wDay, stTo.wYear, stTo.wMonth, stTo.wDay);
    return FormatSQL(pszPlain, stTo.wYear, stTo.wMonth, stTo.wDay);
}
#pragma GCC diagnostic pop

// The "categories left out" notice, once per object.
static void NoticeDropped(const CategoryArray& a) {
    if (a.pNoticeShown && !*a.pNoticeShown) {
        *a.pNoticeShown = true;
        ShowError(msg::kTooManyCategories);
    }
}

// AppendCategory without the notice: for loops over a result that is still
// being read (the notice follows once the result is done).
static int AppendQuietly(const CategoryArray& a, const char* pszName, const char* pszProbability) {
    if (*a.pCount >= a.nCapacity) return -1;
    char* pDest = a.pNames[*a.pCount];
    snprintf(pDest, CATEGORY_NAME_LEN, "%s", pszName);
    if (a.pProbability) snprintf(a.pProbability[*a.pCount], 20, "%s", pszProbability ? pszProbability : "");
    ++*a.pCount;
    return 0;
}

int AppendCategory(const CategoryArray& a, const char* pszName, const char* pszProbability) {
    if (AppendQuietly(a, pszName, pszProbability) == 0) return 0;
    NoticeDropped(a);
    return -1;
}

static void ClearCategories(const CategoryArray& a) {
    *a.pCount = 0;
    memset(a.pNames, 0, sizeof(CategoryName) * (size_t)a.nCapacity);
    if (a.pProbability) memset(a.pProbability, 0, 20 * (size_t)a.nCapacity);
}

static int ReadText(SQLUSMALLINT nColumn, char* pBuffer, SQLINTEGER nLength) {
    pBuffer[0] = '\0';
    if (g_ODBC.co_SQLGetData(nColumn, SQL_C_CHAR, pBuffer, nLength) == -1) return -1;
    if (g_ODBC.m_nIndicator == SQL_NULL_DATA) pBuffer[0] = '\0';
    pBuffer[nLength - 1] = '\0';
    return 0;
}

int LoadLookupTable(const char* pszSQL, const CategoryArray& a) {
    ClearCategories(a);
    if (SetSQL(pszSQL) == -1 || g_ODBC.co_ExecSQL() == -1) {
        ShowError(msg::kListExec);
        return -1;
    }
    int nRow = FetchRow();
    if (nRow == 0) {
        ShowError(msg::kListNextData);
        return -1;
    }
    bool bDropped = false;
    while (nRow > 0) {
        char szName[CATEGORY_NAME_LEN];
        char szProbability[20] = "";
        if (ReadText(1, szName, sizeof szName) == -1 ||
            (a.pProbability && ReadText(2, szProbability, sizeof szProbability) == -1)) {
            ShowError(msg::kListGetData);
            return -1;
        }
        // Rows past the capacity are dropped (with one notice once the
        // result set has been read to its end).
        if (AppendQuietly(a, szName, szProbability) == -1) bDropped = true;
        nRow = FetchRow();
    }
    if (nRow < 0) return -1;
    if (bDropped) NoticeDropped(a);
    return *a.pCount;
}

int GatherCategories(const char* pszLookupSQL, const char* pszInUseSQL, const CategoryArray& a) {
    LoadLookupTable(pszLookupSQL, a);  // an empty or failed table still gives the values in use
    if (SetSQL(pszInUseSQL) == -1 || g_ODBC.co_ExecSQL() == -1) {
        ShowError(msg::kListExec);
        return -1;
    }
    int nRow = FetchRow();
    if (nRow == 0) return 0;
    bool bDropped = false;
    while (nRow > 0) {
        char szValue[CATEGORY_NAME_LEN];
        if (ReadText(1, szValue, sizeof szValue) == -1) {
            ShowError(msg::kListGetData);
            return -1;
        }
        if (szValue[0]) {
            bool bListed = false;
            for (int i = 0; i < *a.pCount && !bListed; ++i) bListed = strcmp(a.pNames[i], szValue) == 0;
            if (!bListed && AppendQuietly(a, szValue, nullptr) == -1) bDropped = true;
        }
        nRow = FetchRow();
    }
    if (nRow < 0) return -1;
    if (bDropped) NoticeDropped(a);
    return *a.pCount;
}

int CountPerCategory(const CategoryArray& a, const CountTexts& t, int* pCounts, double* pSums) {
    int n = *a.pCount;
    if (n > a.nCapacity) n = a.nCapacity;
    for (int i = 0; i < n; ++i) {
        const char* pszExec = i == 0 ? t.pszExecFirst : t.pszExecLater;
        if (FormatSQL(i == 0 ? t.pszFirstSQL : t.pszLaterSQL, a.pNames[i]) == -1 || g_ODBC.co_ExecSQL() == -1) {
            ShowError(pszExec);
            return -1;
        }
        pCounts[i] = 0;
        if (pSums) pSums[i] = 0;
        int nRow = FetchRow();
        if (nRow < 0) {
            ShowError(pszExec);
            return -1;
        }
        if (nRow == 0) continue;
        int nCount = 0;
        if (g_ODBC.co_SQLGetData(1, SQL_C_SLONG, &nCount, 4) == -1) {
            ShowError(t.pszReadCount);
            return -1;
        }
        pCounts[i] = g_ODBC.m_nIndicator == SQL_NULL_DATA ? 0 : nCount;
        if (pSums) {
            double fSum = 0;
            if (g_ODBC.co_SQLGetData(2, SQL_C_DOUBLE, &fSum, sizeof fSum) == -1) {
                ShowError(t.pszReadSum);
                return -1;
            }
            pSums[i] = g_ODBC.m_nIndicator == SQL_NULL_DATA ? 0 : fSum;
        }
        g_ODBC.co_CloseStatement();
    }
    return 0;
}

int CountRows(const char* pszSQL, int* pCount, const char* pszExec) {
    *pCount = 0;
    if (SetSQL(pszSQL) == -1 || g_ODBC.co_ExecSQL() == -1) {
        ShowError(pszExec);
        return -1;
    }
    int nRow;
    while ((nRow = FetchRow()) > 0) ++*pCount;
    if (nRow < 0) {
        ShowError(pszExec);
        return -1;
    }
    return 0;
}

int ReadFirstLong(const char* pszExec, const char* pszRead, int* pValue) {
    if (g_ODBC.co_ExecSQL() == -1) {
        ShowError(pszExec);
        return -1;
    }
    int nRow = FetchRow();
    if (nRow < 0) {
        ShowError(pszExec);
        return -1;
    }
    if (nRow == 0) return 0;
    int nValue = 0;
    if (g_ODBC.co_SQLGetData(1, SQL_C_SLONG, &nValue, 4) == -1) {
        ShowError(pszRead);
        return -1;
    }
    *pValue = g_ODBC.m_nIndicator == SQL_NULL_DATA ? 0 : nValue;
    g_ODBC.co_CloseStatement();
    return 0;
}

}  // namespace store
