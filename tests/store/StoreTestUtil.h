// Helpers shared by the record store's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/MessageBoxRecorder.h"
#include "store/ODBCClass.h"
#include "tests/support/TestDatabase.h"
#include "platform/gbk/gbk.h"
#include "win32.h"

namespace storetest {

// UTF-8 of a GBK text (the program's literals are GBK; the raw file is UTF-8).
inline std::string U(const std::string& strGbk) { return gbk::ToUtf8(strGbk); }

// A text as an SQL literal for raw statements: UTF-8, quotes doubled.
inline std::string Q(const std::string& strGbk) {
    std::string s = "'";
    for (char c : gbk::ToUtf8(strGbk)) {
        s += c;
        if (c == '\'') s += c;
    }
    return s + "'";
}

inline SYSTEMTIME Day(int y, int m, int d, int wDayOfWeek = 0) {
    SYSTEMTIME st{};
    st.wYear = (WORD)y;
    st.wMonth = (WORD)m;
    st.wDay = (WORD)d;
    st.wDayOfWeek = (WORD)wDayOfWeek;
    return st;
}

inline std::vector<std::string> Boxes() { return testsupport::MessageBoxTexts(); }

// A database copy with g_ODBC connected, plus raw helpers.
class DataTest : public testsupport::StoreTest {
protected:
    // Runs a raw statement (UTF-8) that changes the file.
    void Exec(const std::string& strSql) {
        ReleaseResult();
        Raw(strSql);
    }
    // The single value of a raw query ("" when it has no row).
    std::string Value(const std::string& strSql) {
        auto rows = Raw(strSql);
        return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
    }
    int Number(const std::string& strSql) {
        std::string s = Value(strSql);
        return s.empty() ? 0 : std::stoi(s);
    }
    // Ends the pending result of g_ODBC so that raw writers are not kept
    // waiting for a half-read statement.
    void ReleaseResult() {
        g_ODBC.co_FormatSQL("%s", "SELECT 1");
        g_ODBC.co_ExecSQL();
        while (g_ODBC.co_GetNextData() == 0) {
        }
    }
};

}  // namespace storetest
