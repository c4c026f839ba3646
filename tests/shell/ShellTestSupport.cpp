#include "tests/shell/ShellTestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "program/main.h"
#include "platform/gbk/gbk.h"
#include "store/ODBCClass.h"
#include "store/md5.h"
#include "win32_testhooks.h"

namespace shelltest {

HINSTANCE TestInstance() { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000)); }

ProgramDatabase::ProgramDatabase() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tarvel-shell-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data())) {
        ADD_FAILURE() << "mkdtemp: " << std::strerror(errno);
        return;
    }
    m_strFolder = std::string(buf.data()) + "/";
    m_strPath = m_strFolder + "mydata.tvd";
    std::error_code ec;
    std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, m_strPath, ec);
    if (ec) ADD_FAILURE() << "cannot copy the database: " << ec.message();
    PointConnectionAt(m_strPath);
}

ProgramDatabase::~ProgramDatabase() {
    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    std::error_code ec;
    if (!m_strFolder.empty()) std::filesystem::remove_all(m_strFolder, ec);
}

void ProgramDatabase::PointConnectionAt(const std::string& strPath) {
    g_ODBC.~ODBCClass();
    new (&g_ODBC) ODBCClass();
    const std::string connect = "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(strPath) +
                                ";Uid=Admin;Pwd=qe7volnar;";
    ASSERT_LT(connect.size(), sizeof(g_ODBC.m_szConnect));
    std::memcpy(g_ODBC.m_szConnect, connect.c_str(), connect.size() + 1);
}

std::vector<std::vector<std::string>> ProgramDatabase::Query(const std::string& strSql) const {
    std::vector<std::vector<std::string>> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(m_strPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << m_strPath;
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, strSql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "bad statement " << strSql << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return rows;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            const unsigned char* p = sqlite3_column_text(st, i);
            row.emplace_back(p ? reinterpret_cast<const char*>(p) : "");
        }
        rows.push_back(row);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

void ProgramDatabase::Exec(const std::string& strSql) const {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(m_strPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
    char* pszError = nullptr;
    const int rc = sqlite3_exec(db, strSql.c_str(), nullptr, nullptr, &pszError);
    EXPECT_EQ(SQLITE_OK, rc) << strSql << ": " << (pszError ? pszError : "");
    sqlite3_free(pszError);
    sqlite3_close(db);
}

void ProgramDatabase::SetLogin(const std::string& strName, const std::string& strPassword) {
    char szDigest[33];
    MD5DigestText(strPassword.c_str(), szDigest);
    Exec("UPDATE setting SET set_init=1, set_loginname='" + gbk::ToUtf8(strName) + "', set_loginpwd='" +
         szDigest + "' WHERE set_id=1");
}

namespace {
DialogScript* s_pActive = nullptr;
}

DialogScript::DialogScript() {
    s_pActive = this;
    w32test::SetDialogHook([](HWND hDlg, const std::string& strName) {
        DialogScript* p = s_pActive;
        if (!p) return;
        p->m_Seen.push_back(strName);
        if (p->m_nNext >= p->m_Steps.size()) {
            ADD_FAILURE() << "unexpected dialog " << strName;
            SendMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        auto& step = p->m_Steps[p->m_nNext++];
        EXPECT_EQ(step.first, strName);
        step.second(hDlg);
    });
}

DialogScript::~DialogScript() {
    w32test::SetDialogHook(nullptr);
    s_pActive = nullptr;
}

DialogScript& DialogScript::Then(const std::string& strTemplate, Step step) {
    m_Steps.emplace_back(strTemplate, std::move(step));
    return *this;
}

void PressButton(HWND hDlg, int nID) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(hDlg, nID));
}

void SetText(HWND hDlg, int nID, const std::string& strGbk) { SetDlgItemTextA(hDlg, nID, strGbk.c_str()); }

std::string GetText(HWND hDlg, int nID) {
    char sz[1024] = "";
    GetDlgItemTextA(hDlg, nID, sz, sizeof(sz));
    return sz;
}

DialogScript::Step LoginWith(const std::string& strPassword) {
    return [strPassword](HWND hDlg) {
        SetText(hDlg, IDC_LOGIN_PWD, strPassword);
        PressButton(hDlg, IDOK);
    };
}

DialogScript::Step SetLoginAs(const std::string& strName, const std::string& strPassword) {
    return [strName, strPassword](HWND hDlg) {
        SetText(hDlg, IDC_SET_USER, strName);
        SetText(hDlg, IDC_SET_PWD, strPassword);
        SetText(hDlg, IDC_SET_PWD2, strPassword);
        PressButton(hDlg, IDOK);
    };
}

HWND StartMainWindow() { return CreateMainWindow(TestInstance()); }

void StopMainWindow() {
    DestroyMainWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    g_History.FreeAll();
    g_pCurrentDialog = nullptr;
}

std::vector<std::string> MessageTexts() {
    std::vector<std::string> v;
    for (const auto& m : w32test::MessageBoxes()) v.push_back(m.text);
    return v;
}

void SetClientSize(HWND hWnd, int w, int h) {
    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    const int dx = (rcWindow.right - rcWindow.left) - rcClient.right;
    const int dy = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    SetWindowPos(hWnd, nullptr, 0, 0, w + dx, h + dy, SWP_NOZORDER | SWP_NOMOVE);
}

std::string GrabFolder() {
    std::error_code ec;
    std::filesystem::create_directories(TARVEL_GRAB_DIR, ec);
    return std::string(TARVEL_GRAB_DIR) + "/";
}

}  // namespace shelltest
