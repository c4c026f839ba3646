// Every store operation that runs more than one changing statement, run in a
// child process that is killed (SIGKILL) at each statement boundary in turn:
// before each statement, before the commit and after it. Afterwards the file
// passes integrity_check, holds no link row naming a missing record, and
// holds the operation whole or not at all.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "store/Acc_DetailClass.h"
#include "store/Con_DetailClass.h"
#include "tests/support/MessageBoxRecorder.h"
#include "store/Opp_DetailClass.h"
#include "tests/support/TestDatabase.h"
#include "store/Tas_DetailClass.h"

namespace {

// Boundaries seen in this process, and the one to die at (-1: none).
int g_nSeen = 0;
int g_nKillAt = -1;

void Boundary() {
    if (g_nKillAt >= 0 && g_nSeen == g_nKillAt) raise(SIGKILL);
    ++g_nSeen;
}

}  // namespace

// The driver's entry points as the store calls them (C++ names).
extern "C" SQLRETURN __real__Z13SQLExecDirectPvPhi(SQLHSTMT, SQLCHAR*, SQLINTEGER);
extern "C" SQLRETURN __wrap__Z13SQLExecDirectPvPhi(SQLHSTMT h, SQLCHAR* text, SQLINTEGER len) {
    Boundary();
    return __real__Z13SQLExecDirectPvPhi(h, text, len);
}
extern "C" SQLRETURN __real__Z10SQLEndTransPvs(SQLSMALLINT, SQLHANDLE, SQLSMALLINT);
extern "C" SQLRETURN __wrap__Z10SQLEndTransPvs(SQLSMALLINT type, SQLHANDLE h, SQLSMALLINT completion) {
    Boundary();
    SQLRETURN r = __real__Z10SQLEndTransPvs(type, h, completion);
    Boundary();
    return r;
}

namespace {

// Seed rows: opportunities 1 and 2, accounts 1 and 2, contacts 1 and 2,
// tasks 1 and 2; record 1 of each kind linked to record 1 of every other.
const char kSeed[] =
    "INSERT INTO opportunities(opp_id, opp_subject, opp_create_date) VALUES(1, 'o1', '2024-01-01'), (2, "
    "'o2', '2024-01-01');"
    "INSERT INTO accounts(acc_id, acc_name) VALUES(1, 'a1'), (2, 'a2');"
    "INSERT INTO contacts(con_id, con_name) VALUES(1, 'c1'), (2, 'c2');"
    "INSERT INTO tasks(tas_id, tas_subject) VALUES(1, 't1'), (2, 't2');"
    "INSERT INTO opportunities_accounts(opp_id, acc_id) VALUES(1, 1);"
    "INSERT INTO opportunities_contacts(opp_id, con_id, acc_id) VALUES(1, 1, 1);"
    "INSERT INTO opportunities_tasks(opp_id, tas_id) VALUES(1, 1);"
    "INSERT INTO accounts_contacts(acc_id, con_id) VALUES(1, 1);"
    "INSERT INTO accounts_tasks(acc_id, tas_id) VALUES(1, 1);"
    "INSERT INTO contacts_tasks(con_id, tas_id) VALUES(1, 1);";

std::string Exec(const std::string& strPath, const std::string& strSql) {
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open_v2(strPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) return "cannot open";
    char* err = nullptr;
    auto collect = [](void* p, int n, char** values, char**) {
        std::string& s = *static_cast<std::string*>(p);
        for (int i = 0; i < n; ++i) (s += values[i] ? values[i] : "NULL") += '|';
        s += '\n';
        return 0;
    };
    if (sqlite3_exec(db, strSql.c_str(), collect, &out, &err) != SQLITE_OK)
        out = std::string("error: ") + (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
    return out;
}

// Every table's rows in order: two files with the same dump hold the same data.
std::string Dump(const std::string& strPath) {
    std::string tables = Exec(strPath, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    std::string out;
    size_t b = 0;
    for (size_t e; (e = tables.find('\n', b)) != std::string::npos; b = e + 1) {
        std::string name = tables.substr(b, e - b - 1);  // without the trailing '|'
        out += "[" + name + "]\n" + Exec(strPath, "SELECT * FROM \"" + name + "\" ORDER BY rowid");
    }
    return out;
}

// Link rows that name a record that does not exist.
std::string Orphans(const std::string& strPath) {
    return Exec(strPath,
                "SELECT 'oa', * FROM opportunities_accounts WHERE opp_id NOT IN (SELECT opp_id FROM opportunities) "
                "OR acc_id NOT IN (SELECT acc_id FROM accounts);"
                "SELECT 'oc', * FROM opportunities_contacts WHERE opp_id NOT IN (SELECT opp_id FROM opportunities) "
                "OR con_id NOT IN (SELECT con_id FROM contacts) OR (acc_id<>0 AND acc_id NOT IN (SELECT acc_id FROM "
                "accounts));"
                "SELECT 'ot', * FROM opportunities_tasks WHERE opp_id NOT IN (SELECT opp_id FROM opportunities) "
                "OR tas_id NOT IN (SELECT tas_id FROM tasks);"
                "SELECT 'ac', * FROM accounts_contacts WHERE acc_id NOT IN (SELECT acc_id FROM accounts) "
                "OR con_id NOT IN (SELECT con_id FROM contacts);"
                "SELECT 'at', * FROM accounts_tasks WHERE acc_id NOT IN (SELECT acc_id FROM accounts) "
                "OR tas_id NOT IN (SELECT tas_id FROM tasks);"
                "SELECT 'ct', * FROM contacts_tasks WHERE con_id NOT IN (SELECT con_id FROM contacts) "
                "OR tas_id NOT IN (SELECT tas_id FROM tasks);");
}

// Runs the operation in a child on the file, dying at boundary nKillAt (-1:
// never). Returns the child's status; a child that lives exits with the
// number of boundaries it passed, or 255 when the operation failed.
int RunChild(const std::string& strPath, const std::function<int()>& op, int nKillAt) {
    fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        testsupport::ClearMessageBoxes();
        if (testsupport::ConnectGlobal(strPath) != 0) _exit(254);
        g_nSeen = 0;
        g_nKillAt = nKillAt;
        int r = op();
        int n = g_nSeen;
        g_nKillAt = -1;
        _exit(r == -1 ? 255 : n);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

void DateOf(DATE_STRUCT& d) { d = {2024, 5, 6}; }

struct Operation {
    const char* name;
    std::function<int()> run;
};

const Operation kOperations[] = {
    {"add opportunity with its links",
     [] {
         Opp_DetailClass o;
         o.cod_AllocHead();
         snprintf(o.m_pCurrent->opp_subject, 256, "new");
         DateOf(o.m_pCurrent->opp_create_date);
         DateOf(o.m_pCurrent->opp_die_date);
         DateOf(o.m_pCurrent->opp_recent_contact_date);
         o.m_ulAccID = o.m_ulConID = o.m_ulTasID = 1;
         return o.cod_AddOpportunity();
     }},
    {"delete opportunity",
     [] {
         Opp_DetailClass o;
         return o.cod_DeleteOpportunity(1);
     }},
    {"link opportunity",
     [] {
         Opp_DetailClass o;
         o.m_ulOppID = 2;
         o.m_ulAccID = o.m_ulConID = o.m_ulTasID = 1;
         return o.cod_LinkOpportunity();
     }},
    {"unlink opportunity",
     [] {
         Opp_DetailClass o;
         o.m_ulOppID = o.m_ulAccID = o.m_ulConID = o.m_ulTasID = 1;
         return o.cod_UnlinkOpportunity();
     }},
    {"add account with its links",
     [] {
         Acc_DetailClass a;
         a.cad_AllocHead();
         snprintf(a.m_pCurrent->acc_name, 50, "new");
         DateOf(a.m_pCurrent->acc_create_date);
         DateOf(a.m_pCurrent->acc_recent_contact_date);
         a.m_ulOppID = a.m_ulTasID = 1;
         return a.cad_AddAccount();
     }},
    {"delete account",
     [] {
         Acc_DetailClass a;
         return a.cad_DeleteAccount(1);
     }},
    {"link account",
     [] {
         Acc_DetailClass a;
         a.m_ulAccID = 2;
         a.m_ulOppID = a.m_ulTasID = 1;
         return a.cad_LinkAccount();
     }},
    {"unlink account",
     [] {
         Acc_DetailClass a;
         a.m_ulAccID = a.m_ulOppID = a.m_ulTasID = 1;
         return a.cad_UnlinkAccount();
     }},
    {"add contact with its links",
     [] {
         Con_DetailClass c;
         c.ccd_AllocHead();
         snprintf(c.m_pCurrent->con_name, 20, "new");
         DateOf(c.m_pCurrent->con_create_date);
         DateOf(c.m_pCurrent->con_recent_contact_date);
         c.m_ulOppID = c.m_ulAccID = c.m_ulTasID = 1;
         return c.ccd_AddContact();
     }},
    {"change contact and its account",
     [] {
         Con_DetailClass c;
         c.ccd_AllocHead();
         snprintf(c.m_pCurrent->con_name, 20, "changed");
         DateOf(c.m_pCurrent->con_create_date);
         DateOf(c.m_pCurrent->con_recent_contact_date);
         c.m_ulAccID = 2;
         return c.ccd_ChageContact(1);
     }},
    {"delete contact",
     [] {
         Con_DetailClass c;
         return c.ccd_DeleteContact(1);
     }},
    {"link contact",
     [] {
         Con_DetailClass c;
         c.m_ulConID = 2;
         c.m_ulOppID = c.m_ulAccID = c.m_ulTasID = 1;
         return c.ccd_LinkContact();
     }},
    {"link a picked contact with its account to an opportunity",
     [] {
         Con_DetailClass c;
         c.m_ulConID = 1;  // of account 1
         c.m_ulOppID = 2;
         return c.ccd_LinkContactWithAccount();
     }},
    {"link a picked contact with its account to a task",
     [] {
         Con_DetailClass c;
         c.m_ulConID = 1;
         c.m_ulTasID = 2;
         return c.ccd_LinkContactWithAccount();
     }},
    {"unlink contact",
     [] {
         Con_DetailClass c;
         c.m_ulConID = c.m_ulOppID = c.m_ulAccID = c.m_ulTasID = 1;
         return c.ccd_UnlinkContact();
     }},
    {"add task with its link",
     [] {
         Tas_DetailClass t;
         t.ctd_AllocHead();
         snprintf(t.m_pCurrent->tas_subject, 256, "new");
         DateOf(t.m_pCurrent->tas_date);
         t.m_pCurrent->tas_time = {9, 30, 0};
         t.m_ulAccID = 1;
         return t.ctd_AddTask();
     }},
    {"link task",
     [] {
         Tas_DetailClass t;
         t.m_ulTasID = 2;
         t.m_ulOppID = 1;
         return t.ctd_LinkTask();
     }},
    {"delete task",
     [] {
         Tas_DetailClass t;
         return t.ctd_DeleteTask(1);
     }},
    {"unlink task",
     [] {
         Tas_DetailClass t;
         t.m_ulTasID = t.m_ulOppID = t.m_ulAccID = t.m_ulConID = 1;
         return t.ctd_UnlinkTask();
     }},
};

class KillTest : public ::testing::TestWithParam<size_t> {};

TEST_P(KillTest, AtEveryStatementBoundaryTheOperationIsWholeOrAbsent) {
    const Operation& op = kOperations[GetParam()];
    testsupport::TempDatabase base;
    ASSERT_EQ("", Exec(base.Path(), kSeed));
    const std::string before = Dump(base.Path());
    ASSERT_EQ("", Orphans(base.Path()));

    // The whole operation, to know its result and its number of boundaries.
    std::string after;
    int nBoundaries;
    {
        testsupport::TempDatabase full;
        std::filesystem::copy_file(base.Path(), full.Path(), std::filesystem::copy_options::overwrite_existing);
        int status = RunChild(full.Path(), op.run, -1);
        ASSERT_TRUE(WIFEXITED(status)) << op.name;
        nBoundaries = WEXITSTATUS(status);
        ASSERT_LT(nBoundaries, 250) << op.name << ": the operation failed or could not connect";
        after = Dump(full.Path());
        ASSERT_NE(before, after) << op.name << " changed nothing";
        ASSERT_EQ("", Orphans(full.Path())) << op.name;
    }
    ASSERT_GE(nBoundaries, 3) << op.name;

    for (int k = 0; k < nBoundaries; ++k) {
        testsupport::TempDatabase run;
        std::filesystem::copy_file(base.Path(), run.Path(), std::filesystem::copy_options::overwrite_existing);
        int status = RunChild(run.Path(), op.run, k);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << op.name << " at " << k;
        // Opening the file rolls back what a killed transaction left.
        EXPECT_EQ("ok|\n", Exec(run.Path(), "PRAGMA integrity_check")) << op.name << " at " << k;
        EXPECT_EQ("", Orphans(run.Path())) << op.name << " at " << k;
        std::string now = Dump(run.Path());
        EXPECT_TRUE(now == before || now == after)
            << op.name << " killed at boundary " << k << " of " << nBoundaries << " is cut part-way:\n"
            << now;
    }
}

INSTANTIATE_TEST_SUITE_P(StoreOperations, KillTest, ::testing::Range<size_t>(0, std::size(kOperations)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string s = kOperations[info.param].name;
                             for (char& c : s)
                                 if (!isalnum((unsigned char)c)) c = '_';
                             return s;
                         });

}  // namespace
