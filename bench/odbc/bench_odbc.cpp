// Reading 100,000 contacts of que_contacts_accounts, every column, through
// the ODBC layer as the record store reads them (SQLFetch, SQLGetData into
// fixed buffers, the description by length probe), against the same read
// with the plain SQLite API. Goal: the layer within 1.5 times the plain read.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/gbk/gbk.h"
#include "odbc.h"

namespace {

const int kContacts = 100000;
const char kQuery[] = "SELECT * FROM que_contacts_accounts";

// A contact node as the store holds it.
struct ContactNode {
    SQLINTEGER id;
    char name[20], nickname[20];
    char* description;
    char department[50], telephone[50], mobile[50], email[50], important[50], relation[50];
    DATE_STRUCT created, contacted;
    SQLINTEGER isPrivate;
    char province[50], family[50], postcode[20], im[50];
    SQLINTEGER accId;
    char accName[50], accType[50], accIndustry[50];
};

struct Database {
    std::string folder, path;
    Database() {
        char tmpl[] = "/tmp/tarvel-bench-XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        folder = tmpl;
        path = folder + "/mydata.tvd";
        std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, path);
        Fill();
    }
    ~Database() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    void Fill() {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* acc = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO accounts(acc_name,acc_type,acc_industry,acc_create_date) "
                           "VALUES(?,'代理商','软件','2024-01-05')",
                           -1, &acc, nullptr);
        for (int i = 0; i < 1000; ++i) {
            std::string name = gbk::ToUtf8("北京科技有限公司") + std::to_string(i);
            sqlite3_bind_text(acc, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_step(acc);
            sqlite3_reset(acc);
        }
        sqlite3_finalize(acc);
        sqlite3_stmt* con = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO contacts(con_name,con_nickname,con_description,con_department_title,"
                           "con_telephone,con_mobile,con_email,con_important,con_relation,con_create_date,"
                           "con_recent_contact_date,con_private,con_province,con_family,con_postcode,con_im) "
                           "VALUES(?1,?2,?3,?4,'010-12345678','13800000000','someone@example.com',?5,?6,"
                           "'2024-01-05','2024-03-07',0,?7,?8,'100080','im:someone')",
                           -1, &con, nullptr);
        // Many surnames and given names, some with Latin letters or digits.
        static const char* const kSurname[] = {"张", "李", "王", "赵", "刘", "陈", "杨", "黄", "周", "吴",
                                               "徐", "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗"};
        static const char* const kGiven[] = {"伟",   "建华", "国强", "丽娟", "志明", "秀英", "海燕", "小军", "敏",
                                             "建国", "晓东", "玉兰", "Tom",  "文静", "春梅", "德华", "立新"};
        const std::string desc = gbk::ToUtf8("老客户，每季度回访一次，关注价格与售后服务。Contact prefers mail.");
        const std::string dept = gbk::ToUtf8("采购部经理");
        const std::string imp = gbk::ToUtf8("高"), rel = gbk::ToUtf8("客户"), prov = gbk::ToUtf8("北京");
        const std::string home = gbk::ToUtf8("北京市海淀区中关村大街1号");
        for (int i = 0; i < kContacts; ++i) {
            const int k = (i * 7919) % kContacts;
            std::string name = gbk::ToUtf8(kSurname[k % 20]) + gbk::ToUtf8(kGiven[(k / 20) % 17]);
            if (k % 3 == 0) name += std::to_string(k % 100);
            sqlite3_bind_text(con, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(con, 2, "nick", -1, SQLITE_STATIC);
            sqlite3_bind_text(con, 3, desc.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(con, 4, dept.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(con, 5, imp.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(con, 6, rel.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(con, 7, prov.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(con, 8, home.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(con);
            sqlite3_reset(con);
        }
        sqlite3_finalize(con);
        // Nine contacts in ten belong to an account.
        sqlite3_exec(db,
                     "INSERT INTO accounts_contacts(acc_id,con_id) "
                     "SELECT (con_id % 1000) + 1, con_id FROM contacts WHERE con_id % 10 <> 0",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

Database& Db() {
    static Database db;
    return db;
}

void ReadText(SQLHSTMT st, SQLUSMALLINT col, char* buf, SQLLEN size) {
    SQLLEN ind;
    SQLGetData(st, col, SQL_C_CHAR, buf, size, &ind);
}

void BM_OdbcLayer(benchmark::State& state) {
    SQLHENV env;
    SQLHDBC dbc;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, SQL_IS_INTEGER);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    std::string conn = "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + Db().path + ";Uid=Admin;Pwd=qe7volnar;";
    SQLCHAR out[1024];
    SQLSMALLINT outLen;
    if (SQLDriverConnect(dbc, nullptr, (SQLCHAR*)conn.c_str(), SQL_NTS, out, sizeof out, &outLen,
                         SQL_DRIVER_NOPROMPT) != SQL_SUCCESS) {
        state.SkipWithError("connect failed");
        return;
    }
    long rows = 0;
    for (auto _ : state) {
        SQLHSTMT st;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
        SQLExecDirect(st, (SQLCHAR*)kQuery, SQL_NTS);
        while (SQLFetch(st) == SQL_SUCCESS) {
            ContactNode n;
            std::memset(&n, 0, sizeof n);
            SQLLEN ind;
            SQLGetData(st, 1, SQL_C_SLONG, &n.id, 0, &ind);
            ReadText(st, 2, n.name, sizeof n.name);
            ReadText(st, 3, n.nickname, sizeof n.nickname);
            char probe[1];
            if (SQLGetData(st, 4, SQL_C_CHAR, probe, 0, &ind) == SQL_SUCCESS_WITH_INFO) {
                n.description = static_cast<char*>(std::malloc(size_t(ind) + 2));
                SQLGetData(st, 4, SQL_C_CHAR, n.description, ind + 1, &ind);
            }
            ReadText(st, 5, n.department, sizeof n.department);
            ReadText(st, 6, n.telephone, sizeof n.telephone);
            ReadText(st, 7, n.mobile, sizeof n.mobile);
            ReadText(st, 8, n.email, sizeof n.email);
            ReadText(st, 9, n.important, sizeof n.important);
            ReadText(st, 10, n.relation, sizeof n.relation);
            SQLGetData(st, 11, SQL_C_TYPE_DATE, &n.created, 0, &ind);
            SQLGetData(st, 12, SQL_C_TYPE_DATE, &n.contacted, 0, &ind);
            SQLGetData(st, 13, SQL_C_SLONG, &n.isPrivate, 0, &ind);
            ReadText(st, 14, n.province, sizeof n.province);
            ReadText(st, 15, n.family, sizeof n.family);
            ReadText(st, 16, n.postcode, sizeof n.postcode);
            ReadText(st, 17, n.im, sizeof n.im);
            SQLGetData(st, 18, SQL_C_SLONG, &n.accId, 0, &ind);
            ReadText(st, 19, n.accName, sizeof n.accName);
            ReadText(st, 20, n.accType, sizeof n.accType);
            ReadText(st, 21, n.accIndustry, sizeof n.accIndustry);
            benchmark::DoNotOptimize(n);
            std::free(n.description);
            ++rows;
        }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
    state.counters["rows"] = double(rows) / double(state.iterations());
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
}

void CopyText(sqlite3_stmt* st, int col, char* buf, size_t size) {
    const unsigned char* t = sqlite3_column_text(st, col);
    if (!t) return;
    size_t n = size_t(sqlite3_column_bytes(st, col));
    if (n >= size) n = size - 1;
    std::memcpy(buf, t, n);
    buf[n] = '\0';
}

void CopyDate(sqlite3_stmt* st, int col, DATE_STRUCT& d) {
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    if (!t || std::strlen(t) < 10) return;
    d.year = SQLSMALLINT(std::atoi(t));
    d.month = SQLUSMALLINT(std::atoi(t + 5));
    d.day = SQLUSMALLINT(std::atoi(t + 8));
}

void BM_PlainSqlite(benchmark::State& state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(Db().path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        state.SkipWithError("open failed");
        return;
    }
    long rows = 0;
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, kQuery, -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            ContactNode n;
            std::memset(&n, 0, sizeof n);
            n.id = sqlite3_column_int(st, 0);
            CopyText(st, 1, n.name, sizeof n.name);
            CopyText(st, 2, n.nickname, sizeof n.nickname);
            if (sqlite3_column_type(st, 3) != SQLITE_NULL) {
                size_t len = size_t(sqlite3_column_bytes(st, 3));
                n.description = static_cast<char*>(std::malloc(len + 2));
                CopyText(st, 3, n.description, len + 1);
            }
            CopyText(st, 4, n.department, sizeof n.department);
            CopyText(st, 5, n.telephone, sizeof n.telephone);
            CopyText(st, 6, n.mobile, sizeof n.mobile);
            CopyText(st, 7, n.email, sizeof n.email);
            CopyText(st, 8, n.important, sizeof n.important);
            CopyText(st, 9, n.relation, sizeof n.relation);
            CopyDate(st, 10, n.created);
            CopyDate(st, 11, n.contacted);
            n.isPrivate = sqlite3_column_int(st, 12);
            CopyText(st, 13, n.province, sizeof n.province);
            CopyText(st, 14, n.family, sizeof n.family);
            CopyText(st, 15, n.postcode, sizeof n.postcode);
            CopyText(st, 16, n.im, sizeof n.im);
            n.accId = sqlite3_column_int(st, 17);
            CopyText(st, 18, n.accName, sizeof n.accName);
            CopyText(st, 19, n.accType, sizeof n.accType);
            CopyText(st, 20, n.accIndustry, sizeof n.accIndustry);
            benchmark::DoNotOptimize(n);
            std::free(n.description);
            ++rows;
        }
        sqlite3_finalize(st);
    }
    state.counters["rows"] = double(rows) / double(state.iterations());
    sqlite3_close(db);
}

BENCHMARK(BM_PlainSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OdbcLayer)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
