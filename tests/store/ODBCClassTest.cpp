// ODBCClass against real database files: connection, statements, column
// reads, message boxes, and the bounds of its two text buffers.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/support/MessageBoxRecorder.h"
#include "resources/message_texts.h"
#include "store/ODBCClass.h"
#include "tests/support/TestDatabase.h"
#include "platform/gbk/gbk.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const char kCaption[] = "Tarvel提示";

std::string ExeFolder() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";
    std::string s(buf, size_t(n));
    return s.substr(0, s.rfind('/') + 1);
}

// A new folder beside this test program (programs may run there even where
// the temporary folder forbids it), removed with the object, holding a copy
// of the shipped database.
class ProgramFolder {
public:
    ProgramFolder() {
        std::string tmpl = ExeFolder() + "odbcclass-run-XXXXXX";
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!mkdtemp(buf.data())) {
            ADD_FAILURE() << "mkdtemp failed in " << ExeFolder();
            return;
        }
        m_strFolder = std::string(buf.data()) + "/";
    }
    ~ProgramFolder() {
        std::error_code ec;
        if (!m_strFolder.empty()) fs::remove_all(m_strFolder, ec);
    }
    // Makes a subfolder (relative, UTF-8) with a fresh database in it.
    std::string WithDatabase(const std::string& sub) {
        std::string folder = m_strFolder + sub;
        fs::create_directories(folder);
        fs::copy_file(TemplateDatabasePath(), folder + "mydata.tvd");
        return folder;
    }

private:
    std::string m_strFolder;
};

// Runs this test program again from a copy at `exe`; before any test runs,
// the copy plays `scenario` (see CopiedProgram below) and exits with its
// result.
int RunCopy(const std::string& exe, const char* scenario) {
    std::error_code ec;
    fs::copy_file("/proc/self/exe", exe, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        ADD_FAILURE() << "cannot copy the test program to " << exe << ": " << ec.message();
        return -1;
    }
    fs::permissions(exe, fs::perms::owner_all, fs::perm_options::add);
    pid_t pid = fork();
    if (pid == 0) {
        setenv("TARVEL_ODBC_CHILD", scenario, 1);
        execl(exe.c_str(), exe.c_str(), (char*)nullptr);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Scenarios of a copied program, run with the g_ODBC its static
// initialisation built. Each returns 0 when all is as expected.
int ConnectsBesideTheExecutable() {
    ClearMessageBoxes();
    if (g_ODBC.co_InitODBC() != 0) {
        std::fprintf(stderr, "connect failed: %s\n", g_ODBC.m_szConnect);
        return 1;
    }
    std::strcpy(g_ODBC.m_szSQL, "SELECT COUNT(*) FROM setting");
    if (g_ODBC.co_ExecSQL() != 0 || !MessageBoxCalls().empty()) return 2;
    return 0;
}

// The folder holds ';', '{' or '}': the path goes in braces, and the file
// is found and named whole.
int ConnectsWithTheFolderInBraces() {
    const std::string strFile = ExeFolder() + "mydata.tvd";
    std::string strQuoted;
    for (char c : strFile) strQuoted += c == '}' ? "}}" : std::string(1, c);
    if (std::string(g_ODBC.m_szConnect).find("DBQ={" + strQuoted + "};") == std::string::npos) {
        std::fprintf(stderr, "path not in braces: %s\n", g_ODBC.m_szConnect);
        return 3;
    }
    if (int rc = ConnectsBesideTheExecutable()) return rc;
    ClearMessageBoxes();
    g_ODBC.co_ShowDamaged();
    const std::vector<std::string> texts = MessageBoxTexts();
    if (texts.size() != 1 || texts[0].find(strFile) == std::string::npos) {
        std::fprintf(stderr, "damaged-file text does not name %s\n", strFile.c_str());
        return 4;
    }
    return 0;
}

int FailsWithTheLongPathMessage() {
    if (g_ODBC.m_szConnect[0] != '\0') {
        std::fprintf(stderr, "connection string was made: %s\n", g_ODBC.m_szConnect);
        return 1;
    }
    ClearMessageBoxes();
    if (g_ODBC.co_InitODBC() != -1) return 2;
    std::vector<std::string> expected = {"程序所在文件夹的路径太长或无法确定，不能打开数据库文件mydata.tvd。",
                                         "ODBCClass.cpp 72: SQLDriverConnect Error."};
    return MessageBoxTexts() == expected ? 0 : 3;
}

class CopiedProgram : public ::testing::Environment {
public:
    void SetUp() override {
        const char* scenario = std::getenv("TARVEL_ODBC_CHILD");
        if (!scenario) return;
        int rc = 100;
        if (std::strcmp(scenario, "connect") == 0)
            rc = ConnectsBesideTheExecutable();
        else if (std::strcmp(scenario, "braces") == 0)
            rc = ConnectsWithTheFolderInBraces();
        else if (std::strcmp(scenario, "longpath") == 0)
            rc = FailsWithTheLongPathMessage();
        std::fflush(nullptr);
        _exit(rc);
    }
};

::testing::Environment* const g_pCopiedProgram = ::testing::AddGlobalTestEnvironment(new CopiedProgram);

}  // namespace

// ---------------------------------------------------------------------------
// Connecting
// ---------------------------------------------------------------------------

TEST(ODBCClassConnect, ConstructorTakesTheFolderUpToTheLastSeparator) {
    ResetGlobalConnection();
    std::string expected =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + ExeFolder() + "mydata.tvd;Uid=Admin;Pwd=qe7volnar;";
    EXPECT_EQ(expected, g_ODBC.m_szConnect);
    EXPECT_EQ(nullptr, g_ODBC.m_hEnv);
    EXPECT_EQ(nullptr, g_ODBC.m_hDbc);
    EXPECT_EQ(nullptr, g_ODBC.m_hStmt);
}

// The database holds the records and the mail password: the build's copy is
// its owner's alone, and a file others may read becomes so when its owner
// opens it. Another user's file is left as it is, and opens.
TEST(ODBCClassConnect, TheDatabaseIsItsOwnersAlone) {
    const auto mode = [](const fs::path& p) {  // in octal, as chmod takes it
        char sz[8];
        std::snprintf(sz, sizeof sz, "%o", unsigned(fs::status(p).permissions() & fs::perms::mask));
        return std::string(sz);
    };
    EXPECT_EQ(mode(fs::path(TemplateDatabasePath()).parent_path().parent_path() / "bin" / "mydata.tvd"), "600");
    TempDatabase db;
    chmod(db.Path().c_str(), 0644);
    ASSERT_EQ(0, ConnectGlobal(db.Path()));
    EXPECT_EQ(mode(db.Path()), "600");
    ResetGlobalConnection();
    if (geteuid() != 0) return;  // only root can hand the file to another user
    ASSERT_EQ(0, chown(db.Path().c_str(), 65534, 65534));
    chmod(db.Path().c_str(), 0644);
    EXPECT_EQ(0, ConnectGlobal(db.Path()));
    EXPECT_EQ(mode(db.Path()), "644");
    ResetGlobalConnection();
}

TEST(ODBCClassConnect, MissingFileFailsWithItsMessageAndCreatesNothing) {
    TempDatabase db;
    fs::remove(db.Path());
    ClearMessageBoxes();
    EXPECT_EQ(-1, ConnectGlobal(db.Path()));
    ASSERT_EQ(1u, MessageBoxCalls().size());
    const MessageBoxCall& call = MessageBoxCalls()[0];
    EXPECT_EQ("ODBCClass.cpp 72: SQLDriverConnect Error.", call.text);
    EXPECT_EQ(kCaption, call.caption);
    EXPECT_EQ(nullptr, call.hWnd);
    EXPECT_EQ(UINT(MB_OK), call.type);
    EXPECT_FALSE(fs::exists(db.Path()));

    // Handles made before the failure stay: a second call returns -1 silently.
    ClearMessageBoxes();
    EXPECT_EQ(-1, g_ODBC.co_InitODBC());
    EXPECT_TRUE(MessageBoxCalls().empty());
    EXPECT_FALSE(fs::exists(db.Path()));
    ResetGlobalConnection();
}

TEST(ODBCClassConnect, FileThatIsNoDatabaseFailsTheConnect) {
    TempDatabase db;
    fs::remove(db.Path());
    {
        FILE* f = std::fopen(db.Path().c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fputs("this is not a database file, just text\n", f);
        std::fclose(f);
    }
    ClearMessageBoxes();
    EXPECT_EQ(-1, ConnectGlobal(db.Path()));
    auto texts = MessageBoxTexts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_NE(std::string::npos, texts[0].find("已损坏，或者不是本程序的数据库文件"));
    EXPECT_NE(std::string::npos, texts[0].find(db.Path()));  // names the file
    EXPECT_EQ("ODBCClass.cpp 72: SQLDriverConnect Error.", texts[1]);
    ResetGlobalConnection();
}

// A database without one of the program's tables, or with a saved query that
// no longer compiles (its own text changed, or that of a table it reads), is
// not the program's: the connect fails as for a damaged file.
TEST(ODBCClassConnect, AFileMissingATableOrWithABrokenSavedQueryFailsTheConnect) {
    for (const char* change :
         {"DROP TABLE relation",
          "DROP VIEW que_contacts_accounts; CREATE VIEW que_contacts_accounts AS SELECT con_nosuch FROM contacts",
          "DROP VIEW rel_contacts_tasks", "DROP TABLE contacts_tasks; CREATE TABLE contacts_tasks (con_id INTEGER)"}) {
        SCOPED_TRACE(change);
        TempDatabase db;
        sqlite3* pOther = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open(db.Path().c_str(), &pOther));
        ASSERT_EQ(SQLITE_OK, sqlite3_exec(pOther, change, nullptr, nullptr, nullptr));
        sqlite3_close(pOther);
        ClearMessageBoxes();
        EXPECT_EQ(-1, ConnectGlobal(db.Path()));
        auto texts = MessageBoxTexts();
        ASSERT_EQ(2u, texts.size());
        EXPECT_NE(std::string::npos, texts[0].find("已损坏，或者不是本程序的数据库文件"));
        EXPECT_EQ("ODBCClass.cpp 72: SQLDriverConnect Error.", texts[1]);
        ResetGlobalConnection();
    }
}

TEST(ODBCClassConnect, SecondInitReturnsMinusOneSilentlyAndKeepsTheConnection) {
    TempDatabase db;
    ClearMessageBoxes();
    ASSERT_EQ(0, ConnectGlobal(db.Path()));
    SQLHDBC first = g_ODBC.m_hDbc;
    EXPECT_EQ(-1, g_ODBC.co_InitODBC());
    EXPECT_TRUE(MessageBoxCalls().empty());
    EXPECT_EQ(first, g_ODBC.m_hDbc);
    std::strcpy(g_ODBC.m_szSQL, "SELECT set_id FROM setting");
    ASSERT_EQ(0, g_ODBC.co_ExecSQL());
    ASSERT_EQ(0, g_ODBC.co_GetNextData());
    SQLINTEGER id = 0;
    EXPECT_EQ(0, g_ODBC.co_SQLGetData(1, SQL_C_SLONG, &id, 0));
    EXPECT_EQ(1, id);
    ResetGlobalConnection();
}

TEST(ODBCClassConnect, StatementWithoutConnectionShowsTheAllocMessage) {
    ResetGlobalConnection();
    ClearMessageBoxes();
    std::strcpy(g_ODBC.m_szSQL, "SELECT * FROM setting");
    EXPECT_EQ(-1, g_ODBC.co_ExecSQL());
    EXPECT_EQ(std::vector<std::string>{"ODBCClass.cpp 96: SQLAllocHandle Error."}, MessageBoxTexts());
}

// The program may be installed under any file name, in a folder with a
// Chinese name: the database is found beside the executable.
TEST(ODBCClassConnect, ProgramUnderAnotherNameFindsItsDatabase) {
    ProgramFolder dir;
    EXPECT_EQ(0, RunCopy(dir.WithDatabase("") + "x", "connect"));
    EXPECT_EQ(0, RunCopy(dir.WithDatabase(gbk::ToUtf8("销售记录") + "/") + "tarvel", "connect"));
}

// A file another program holds in an exclusive lock at start is named as
// in use, not as damaged.
TEST(ODBCClassConnect, AFileLockedByAnotherProgramIsNamedInUseNotDamaged) {
    TempDatabase db;
    sqlite3* pOther = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(db.Path().c_str(), &pOther));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(pOther, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    ClearMessageBoxes();
    EXPECT_EQ(-1, ConnectGlobal(db.Path()));
    sqlite3_exec(pOther, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(pOther);
    const std::vector<std::string> expected = {msg::kFileInUseBefore + gbk::FromUtf8(db.Path()) + msg::kFileInUseAfter,
                                               "ODBCClass.cpp 72: SQLDriverConnect Error."};
    EXPECT_EQ(expected, MessageBoxTexts());
    ResetGlobalConnection();
}

// A folder whose name holds a character the connection-string syntax uses
// (';' ends a value, braces quote one) still finds its database.
TEST(ODBCClassConnect, AFolderWithASemicolonOrBracesFindsItsDatabase) {
    ProgramFolder dir;
    EXPECT_EQ(0, RunCopy(dir.WithDatabase("a;b/") + "tarvel", "braces"));
    EXPECT_EQ(0, RunCopy(dir.WithDatabase("c}d{e/") + "tarvel", "braces"));
    EXPECT_EQ(0, RunCopy(dir.WithDatabase("f;}/") + "tarvel", "braces"));
}

// A folder too long for the connection string fails the connect with a
// clear message instead of writing past the string.
TEST(ODBCClassConnect, FolderTooLongForTheConnectionStringFailsClearly) {
    ProgramFolder dir;
    std::string folder = dir.WithDatabase(std::string(100, 'd') + "/" + std::string(100, 'e') + "/");
    EXPECT_EQ(0, RunCopy(folder + "Tarvel Sales Logs.exe", "longpath"));
}

// ---------------------------------------------------------------------------
// Statements and reads
// ---------------------------------------------------------------------------

class ODBCClassTest : public StoreTest {
protected:
    int Exec(const char* sql) {
        EXPECT_EQ(0, g_ODBC.co_FormatSQL("%s", sql));
        return g_ODBC.co_ExecSQL();
    }
};

TEST_F(ODBCClassTest, FailedStatementShowsTheExecMessage) {
    EXPECT_EQ(-1, Exec("SELECT * FROM no_such_table"));
    ASSERT_EQ(1u, MessageBoxCalls().size());
    EXPECT_EQ("ODBCClass.cpp 103: SQLExecDirect Error.", MessageBoxCalls()[0].text);
    EXPECT_EQ(kCaption, MessageBoxCalls()[0].caption);
}

TEST_F(ODBCClassTest, UndoubledQuoteFailsAndStoresNothing) {
    EXPECT_EQ(-1, Exec("UPDATE setting SET set_sign='it's' WHERE set_id=1"));
    EXPECT_EQ(std::vector<std::string>{"ODBCClass.cpp 103: SQLExecDirect Error."}, MessageBoxTexts());
    EXPECT_EQ("", Raw("SELECT set_sign FROM setting")[0][0]);
}

TEST_F(ODBCClassTest, UpdateOrDeleteOfNoRowReturnsMinus100Silently) {
    EXPECT_EQ(-100, Exec("UPDATE accounts_contacts SET acc_id=3 WHERE con_id=9"));
    EXPECT_EQ(-100, Exec("DELETE * FROM opportunities WHERE opp_id=7"));
    EXPECT_EQ(0, Exec("INSERT INTO accounts_contacts(acc_id,con_id) VALUES(3,9)"));
    EXPECT_EQ(0, Exec("UPDATE accounts_contacts SET acc_id=4 WHERE con_id=9"));
    EXPECT_TRUE(MessageBoxCalls().empty());
}

TEST_F(ODBCClassTest, FetchPastTheLastRowReturnsMinusOneSilently) {
    ASSERT_EQ(0, Exec("SELECT imp_description FROM important WHERE imp_description='高'"));
    EXPECT_EQ(0, g_ODBC.co_GetNextData());
    EXPECT_EQ(-1, g_ODBC.co_GetNextData());
    EXPECT_EQ(SQL_NO_DATA, g_ODBC.m_nResult);
    EXPECT_TRUE(MessageBoxCalls().empty());
}

TEST_F(ODBCClassTest, UnreadRowsAreDroppedByTheNextStatement) {
    ASSERT_EQ(0, Exec("SELECT * FROM province"));
    ASSERT_EQ(0, g_ODBC.co_GetNextData());
    ASSERT_EQ(0, Exec("INSERT INTO important(imp_description) \t\t\tVALUES('紧急')"));
    EXPECT_EQ("4", Raw("SELECT COUNT(*) FROM important")[0][0]);
    EXPECT_TRUE(MessageBoxCalls().empty());
}

TEST_F(ODBCClassTest, ReadErrorsShowTheirMessages) {
    ASSERT_EQ(0, Exec("SELECT set_id, set_port FROM setting"));
    ASSERT_EQ(0, g_ODBC.co_GetNextData());
    char buf[10] = "";
    EXPECT_EQ(-1, g_ODBC.co_SQLGetData(9, SQL_C_CHAR, buf, sizeof buf));
    EXPECT_EQ(-1, g_ODBC.co_GetDataLen(9, SQL_C_CHAR, buf));
    std::vector<std::string> expected = {"ODBCClass.cpp 130: SQLGetData Error.",
                                         "ODBCClass.cpp 160: SQLGetData Error."};
    EXPECT_EQ(expected, MessageBoxTexts());
}

TEST_F(ODBCClassTest, DataLenGivesLengthOfTextEmptyAndNull) {
    ASSERT_EQ(0, Exec("INSERT INTO accounts(acc_name,acc_description) VALUES('甲公司','')"));
    ASSERT_EQ(0, Exec("INSERT INTO accounts(acc_name) VALUES('乙公司')"));
    ASSERT_EQ(0, Exec("SELECT acc_name, acc_description FROM accounts ORDER BY acc_id"));
    char buf[64];
    ASSERT_EQ(0, g_ODBC.co_GetNextData());
    EXPECT_EQ(6, g_ODBC.co_GetDataLen(1, SQL_C_CHAR, buf));
    EXPECT_EQ(0, g_ODBC.co_GetDataLen(2, SQL_C_CHAR, buf));
    ASSERT_EQ(0, g_ODBC.co_GetNextData());
    EXPECT_EQ(-2, g_ODBC.co_GetDataLen(2, SQL_C_CHAR, buf));
    EXPECT_EQ(SQL_NULL_DATA, g_ODBC.m_nIndicator);
    // NULL leaves the target as it was.
    std::strcpy(buf, "unchanged");
    EXPECT_EQ(0, g_ODBC.co_SQLGetData(2, SQL_C_CHAR, buf, sizeof buf));
    EXPECT_STREQ("unchanged", buf);
    EXPECT_TRUE(MessageBoxCalls().empty());
}

// ---------------------------------------------------------------------------
// The statement buffer
// ---------------------------------------------------------------------------

TEST_F(ODBCClassTest, LongStatementRunsWholeAndNeverOverrunsTheBuffer) {
    // A description as long as a multi-line edit holds, every quote doubled.
    std::string desc;
    while (desc.size() < 60000) desc += "第一行''s 内容\r\n";
    SQLHENV env = g_ODBC.m_hEnv;
    ASSERT_EQ(0, g_ODBC.co_FormatSQL("INSERT INTO opportunities(opp_subject,\t\topp_description) \t\tVALUES('%s','%s')",
                                     "长描述", desc.c_str()));
    EXPECT_GT(std::strlen(g_ODBC.co_GetSQL()), sizeof(g_ODBC.m_szSQL));
    EXPECT_EQ(env, g_ODBC.m_hEnv);  // the field after the buffer is intact
    ASSERT_EQ(0, g_ODBC.co_ExecSQL());
    EXPECT_EQ(g_ODBC.m_szSQL, g_ODBC.co_GetSQL());  // runs once

    ASSERT_EQ(0, g_ODBC.co_FormatSQL("SELECT opp_description FROM opportunities WHERE opp_subject='%s'", "长描述"));
    ASSERT_EQ(0, g_ODBC.co_ExecSQL());
    ASSERT_EQ(0, g_ODBC.co_GetNextData());
    char probe[1];
    int len = g_ODBC.co_GetDataLen(1, SQL_C_CHAR, probe);
    std::string expected;
    for (size_t i = 0; i < desc.size(); ++i) {
        expected += desc[i];
        if (desc[i] == '\'') ++i;  // the doubled quote is stored once
    }
    ASSERT_EQ(int(expected.size()), len);
    std::string back(size_t(len) + 1, '\0');
    ASSERT_EQ(0, g_ODBC.co_SQLGetData(1, SQL_C_CHAR, back.data(), len + 1));
    back.resize(size_t(len));
    EXPECT_EQ(expected, back);
    EXPECT_TRUE(MessageBoxCalls().empty());
}

TEST_F(ODBCClassTest, StatementBeyondTheLimitIsRefusedAndNothingRuns) {
    ASSERT_EQ(0, g_ODBC.co_FormatSQL("DELETE * FROM important"));
    std::string huge(2u << 20, 'x');
    EXPECT_EQ(-1, g_ODBC.co_FormatSQL("INSERT INTO important(imp_description) VALUES('%s')", huge.c_str()));
    EXPECT_EQ(std::vector<std::string>{"要保存的内容太长，无法写入数据库。"}, MessageBoxTexts());
    // Neither the refused text nor the statement before it is left to run.
    EXPECT_STREQ("", g_ODBC.co_GetSQL());
    ClearMessageBoxes();
    EXPECT_EQ(-1, g_ODBC.co_ExecSQL());
    EXPECT_EQ("3", Raw("SELECT COUNT(*) FROM important")[0][0]);
}

TEST_F(ODBCClassTest, ShortStatementGoesIntoTheBuffer) {
    ASSERT_EQ(0, g_ODBC.co_FormatSQL("SELECT * FROM tasks WHERE tas_id=%d", 12));
    EXPECT_STREQ("SELECT * FROM tasks WHERE tas_id=12", g_ODBC.m_szSQL);
    EXPECT_EQ(g_ODBC.m_szSQL, g_ODBC.co_GetSQL());
    // Exactly 2047 characters still fit.
    std::string filler(2047 - std::strlen("SELECT ''"), 'a');
    ASSERT_EQ(0, g_ODBC.co_FormatSQL("SELECT '%s'", filler.c_str()));
    EXPECT_EQ(g_ODBC.m_szSQL, g_ODBC.co_GetSQL());
    EXPECT_EQ(2047u, std::strlen(g_ODBC.m_szSQL));
    ASSERT_EQ(0, g_ODBC.co_FormatSQL("SELECT '%sb'", filler.c_str()));
    EXPECT_NE(g_ODBC.m_szSQL, g_ODBC.co_GetSQL());
    EXPECT_EQ(0, g_ODBC.co_ExecSQL());
}

// While another program holds the file, one clear box per failed action:
// reads that fail one after another share one; a change run on its own is
// an action of its own, and so is a transaction.
TEST_F(ODBCClassTest, TheInUseBoxComesOncePerFailedAction) {
    sqlite3* pOther = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(DatabasePath().c_str(), &pOther));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(pOther, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr));
    const std::string inUse = msg::kFileInUseBefore + gbk::FromUtf8(DatabasePath()) + msg::kFileInUseAfter;
    auto countInUse = [&] {
        const auto texts = MessageBoxTexts();
        ClearMessageBoxes();
        return std::count(texts.begin(), texts.end(), inUse);
    };
    ClearMessageBoxes();
    EXPECT_EQ(-1, Exec("SELECT * FROM accounts"));
    EXPECT_EQ(-1, Exec("SELECT * FROM contacts"));
    EXPECT_EQ(1, countInUse());
    EXPECT_EQ(-1, Exec("UPDATE accounts SET acc_name='x'"));
    EXPECT_EQ(1, countInUse());
    ASSERT_EQ(0, g_ODBC.co_BeginTrans());
    EXPECT_EQ(-1, Exec("DELETE FROM accounts"));
    g_ODBC.co_EndTrans(false);
    EXPECT_EQ(1, countInUse());
    sqlite3_exec(pOther, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(pOther);
}
