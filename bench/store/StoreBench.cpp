// The record store's list queries building their node lists from 100,000
// contacts (with accounts) and 100,000 opportunities, against the same
// SELECT read with the plain SQLite API into plain structs. Goal: within 1.5
// times the plain read. The counters report the node list's peak heap bytes.
// Also the cost of writing one record: an opportunity added with its three
// links (seven statements), deleted with its links (four), and changed (one),
// each a durable write to the file.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "store/Con_DetailClass.h"
#include "store/Opp_DetailClass.h"
#include "platform/gbk/gbk.h"
#include "jetsql.h"

// The store reports failures through message boxes; here they go to stderr.
int MessageBoxA(HWND, LPCSTR lpText, LPCSTR, UINT) {
    fprintf(stderr, "%s\n", gbk::ToUtf8(lpText).c_str());
    return IDOK;
}

namespace {

const int kRecords = 100000;
// The search keyword: two Chinese characters (GBK, as the page passes it).
const char kKeyword[] = "建华";

// The collation the driver adds to every ORDER BY term, for the plain reads.
int CollateLikeTheDriver(void*, int na, const void* a, int nb, const void* b) {
    return jetsql::CompareGbkNoCase(static_cast<const char*>(a), size_t(na), static_cast<const char*>(b), size_t(nb));
}

struct Database {
    std::string folder, path;
    Database() {
        char tmpl[] = "/tmp/tarvel-store-bench-XXXXXX";
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
    void Exec(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    void Fill() {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        Exec(db, "BEGIN");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            db, "INSERT INTO accounts(acc_name,acc_type,acc_industry,acc_create_date) VALUES(?,?,?,'2024-01-05')", -1,
            &st, nullptr);
        const std::string accName = gbk::ToUtf8("北京科技有限公司"), accType = gbk::ToUtf8("代理商"),
                          industry = gbk::ToUtf8("软件");
        for (int i = 0; i < 1000; ++i) {
            std::string name = accName + std::to_string(i);
            sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, accType.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, industry.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);

        sqlite3_prepare_v2(db,
                           "INSERT INTO contacts(con_name,con_nickname,con_description,con_department_title,"
                           "con_telephone,con_mobile,con_email,con_important,con_relation,con_create_date,"
                           "con_recent_contact_date,con_private,con_province,con_family,con_postcode,con_im) "
                           "VALUES(?1,'nick',?2,?3,?4,'13800000000','someone@example.com',?5,?6,'2024-01-05',"
                           "'2024-03-07',0,?7,?8,'100080','im:someone')",
                           -1, &st, nullptr);
        // Names as a salesperson's file holds them: many surnames and given
        // names, a few Latin ones, descriptions in several shapes.
        static const char* const kSurname[] = {"张", "李", "王", "赵", "刘", "陈", "杨", "黄", "周", "吴",
                                               "徐", "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗"};
        static const char* const kGiven[] = {"伟",   "建华", "国强", "丽娟", "志明", "秀英", "海燕", "小军", "敏",
                                             "建国", "晓东", "玉兰", "Tom",  "文静", "春梅", "德华", "立新"};
        static const char* const kDesc[] = {"老客户，每季度回访一次，关注价格与售后服务。Contact prefers mail.",
                                            "新客户，展会认识，对报价敏感。", "通过朋友介绍，需要样品和试用。",
                                            "VIP 客户，合同续约在即，注意回款。", ""};
        const std::string dept = gbk::ToUtf8("采购部经理"), imp = gbk::ToUtf8("高"), rel = gbk::ToUtf8("客户"),
                          prov = gbk::ToUtf8("北京"), home = gbk::ToUtf8("北京市海淀区中关村大街1号");
        for (int i = 0; i < kRecords; ++i) {
            const int k = (i * 7919) % kRecords;
            std::string name = gbk::ToUtf8(kSurname[k % 20]) + gbk::ToUtf8(kGiven[(k / 20) % 17]);
            if (k % 3 == 0) name += std::to_string(k % 100);
            const std::string desc = gbk::ToUtf8(kDesc[k % 5]);
            std::string tel = "010-" + std::to_string(10000000 + (i * 7919) % 9000000);
            sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, desc.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 3, dept.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 4, tel.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 5, imp.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 6, rel.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 7, prov.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 8, home.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        Exec(db, "INSERT INTO accounts_contacts(acc_id,con_id) SELECT (con_id % 1000) + 1, con_id FROM contacts");

        sqlite3_prepare_v2(
            db,
            "INSERT INTO opportunities(opp_subject,opp_description,opp_create_date,opp_die_date,"
            "opp_estimate_sale,opp_sale,opp_important,opp_phase,opp_recent_contact_date,opp_private,"
            "opp_succeed_probability) VALUES(?1,?2,'2024-01-05','2024-06-30',?3,0,?4,?5,'2024-03-07',0,40)",
            -1, &st, nullptr);
        const std::string subject = gbk::ToUtf8("服务器采购项目"), phase = gbk::ToUtf8("方案制定"),
                          oppDesc = gbk::ToUtf8("客户计划采购二十台服务器，预算已批，等待方案。");
        for (int i = 0; i < kRecords; ++i) {
            std::string s = subject + std::to_string(i);
            sqlite3_bind_text(st, 1, s.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, oppDesc.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_double(st, 3, 1000.0 + i);
            sqlite3_bind_text(st, 4, imp.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, phase.c_str(), -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        Exec(db, "COMMIT");
        sqlite3_close(db);
    }
};

Database& Db() {
    static Database db;
    return db;
}

bool Connect() {
    if (g_ODBC.m_hEnv) return true;
    std::string conn =
        "DRIVER={Microsoft Access Driver (*.mdb)};DBQ=" + gbk::FromUtf8(Db().path) + ";Uid=Admin;Pwd=qe7volnar;";
    if (conn.size() >= sizeof g_ODBC.m_szConnect) return false;
    memcpy(g_ODBC.m_szConnect, conn.c_str(), conn.size() + 1);
    return g_ODBC.co_InitODBC() == 0;
}

size_t HeapInUse() { return mallinfo2().uordblks; }

// ---------------------------------------------------------------------------
// The store
// ---------------------------------------------------------------------------

enum Mode { PLAIN, SEARCH, RESORT };

void BM_Store_GetAllContacts(benchmark::State& state) {
    if (!Connect()) return state.SkipWithError("connect failed");
    Mode mode = Mode(state.range(0));
    Con_DetailClass con;
    int n = 0;
    size_t peak = 0;
    for (auto _ : state) {
        con.ccd_FreeList();
        size_t before = HeapInUse();
        if (mode != PLAIN) {
            strcpy(con.m_szKeyword, kKeyword);
            con.m_iQueryMode = 1;
        }
        n = con.ccd_GetAllContacts();
        if (mode == RESORT) {  // the search, then its re-sort by telephone
            con.m_iQueryMode = 2;
            con.m_iSortColumn = 3;
            con.m_bDesc = 1;
            n = con.ccd_GetAllContacts();
        }
        peak = std::max(peak, HeapInUse() - before);
    }
    if (n < 0) state.SkipWithError("query failed");
    state.counters["rows"] = n;
    state.counters["list_bytes"] = double(peak);
}
BENCHMARK(BM_Store_GetAllContacts)->Arg(PLAIN)->Arg(SEARCH)->Arg(RESORT)->Unit(benchmark::kMillisecond);

void BM_Store_InitDetail(benchmark::State& state) {
    if (!Connect()) return state.SkipWithError("connect failed");
    Opp_DetailClass opp;
    int n = 0;
    size_t peak = 0;
    for (auto _ : state) {
        opp.cod_FreeList();
        size_t before = HeapInUse();
        n = opp.cod_InitDetail();
        peak = std::max(peak, HeapInUse() - before);
    }
    if (n < 0) state.SkipWithError("query failed");
    state.counters["rows"] = n;
    state.counters["list_bytes"] = double(peak);
}
BENCHMARK(BM_Store_InitDetail)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// Writes: one record per iteration
// ---------------------------------------------------------------------------

void FillOpportunity(OppNode* p, int i) {
    snprintf(p->opp_subject, sizeof p->opp_subject, "bench %d", i);
    p->opp_create_date = {2024, 1, 5};
    p->opp_die_date = {2024, 6, 30};
    p->opp_recent_contact_date = {2024, 3, 7};
    p->opp_estimate_sale = 1000 + i;
    snprintf(p->opp_important, sizeof p->opp_important, "%s", "高");
    snprintf(p->opp_phase, sizeof p->opp_phase, "%s", "方案制定");
}

void BM_Store_AddOpportunityWithLinks(benchmark::State& state) {
    if (!Connect()) return state.SkipWithError("connect failed");
    Opp_DetailClass opp;
    opp.cod_AllocHead();
    std::vector<ULONG> added;
    int i = 0;
    for (auto _ : state) {
        FillOpportunity(opp.m_pCurrent, i++);
        opp.m_ulAccID = opp.m_ulConID = opp.m_ulTasID = 1;
        if (opp.cod_AddOpportunity() != 0) return state.SkipWithError("add failed");
        added.push_back(opp.m_ulOppID);
    }
    state.SetItemsProcessed(state.iterations());
    for (ULONG id : added) opp.cod_DeleteOpportunity(id);
}
BENCHMARK(BM_Store_AddOpportunityWithLinks)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_Store_DeleteOpportunityWithLinks(benchmark::State& state) {
    if (!Connect()) return state.SkipWithError("connect failed");
    Opp_DetailClass opp;
    opp.cod_AllocHead();
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FillOpportunity(opp.m_pCurrent, i++);
        opp.m_ulAccID = opp.m_ulConID = opp.m_ulTasID = 1;
        bool ok = opp.cod_AddOpportunity() == 0;
        state.ResumeTiming();
        if (!ok || opp.cod_DeleteOpportunity(opp.m_ulOppID) != 0) return state.SkipWithError("delete failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Store_DeleteOpportunityWithLinks)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_Store_ChangeOpportunity(benchmark::State& state) {
    if (!Connect()) return state.SkipWithError("connect failed");
    Opp_DetailClass opp;
    opp.cod_AllocHead();
    int i = 0;
    for (auto _ : state) {
        FillOpportunity(opp.m_pCurrent, i++);
        if (opp.cod_ChageOpportunity(1) != 0) return state.SkipWithError("change failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Store_ChangeOpportunity)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// ---------------------------------------------------------------------------
// The same SELECTs with plain SQLite into plain structs
// ---------------------------------------------------------------------------

struct PlainContact {
    int id;
    char name[20], nickname[20];
    char* description;
    char accName[50], department[50], telephone[50], mobile[50], accType[50], email[50], im[50];
    char postcode[20], family[50], important[50], relation[50], province[50];
    int created[3], contacted[3];
    int isPrivate;
    PlainContact* next;
};

struct PlainOpportunity {
    int id;
    char subject[256];
    char* description;
    int created[3], die[3];
    double estimate, sale;
    char important[50], phase[50];
    int probability;
    int contacted[3];
    int isPrivate;
    PlainOpportunity* next;
};

void Text(sqlite3_stmt* st, int col, char* buf, size_t size) {
    const unsigned char* t = sqlite3_column_text(st, col);
    size_t n = t ? size_t(sqlite3_column_bytes(st, col)) : 0;
    if (n >= size) n = size - 1;
    if (n) memcpy(buf, t, n);
    buf[n] = '\0';
}

char* Memo(sqlite3_stmt* st, int col) {
    const unsigned char* t = sqlite3_column_text(st, col);
    size_t n = t ? size_t(sqlite3_column_bytes(st, col)) : 0;
    char* p = static_cast<char*>(malloc(n + 1));
    if (n) memcpy(p, t, n);
    p[n] = '\0';
    return p;
}

void Date(sqlite3_stmt* st, int col, int d[3]) {
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    if (!t || strlen(t) < 10) return;
    d[0] = atoi(t);
    d[1] = atoi(t + 5);
    d[2] = atoi(t + 8);
}

template <class Node, class ReadRow>
int PlainLoad(sqlite3* db, const char* sql, ReadRow read) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return -1;
    Node* head = nullptr;
    Node* tail = nullptr;
    int n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        Node* p = static_cast<Node*>(calloc(1, sizeof(Node)));
        read(st, *p);
        (tail ? tail->next : head) = p;
        tail = p;
        ++n;
    }
    sqlite3_finalize(st);
    while (head) {
        Node* next = head->next;
        free(head->description);
        free(head);
        head = next;
    }
    return n;
}

void ReadContact(sqlite3_stmt* st, PlainContact& c) {
    c.id = sqlite3_column_int(st, 0);
    Text(st, 1, c.name, sizeof c.name);
    Text(st, 2, c.nickname, sizeof c.nickname);
    c.description = Memo(st, 3);
    Text(st, 4, c.department, sizeof c.department);
    Text(st, 5, c.telephone, sizeof c.telephone);
    Text(st, 6, c.mobile, sizeof c.mobile);
    Text(st, 7, c.email, sizeof c.email);
    Text(st, 8, c.important, sizeof c.important);
    Text(st, 9, c.relation, sizeof c.relation);
    Date(st, 10, c.created);
    Date(st, 11, c.contacted);
    c.isPrivate = sqlite3_column_int(st, 12);
    Text(st, 13, c.province, sizeof c.province);
    Text(st, 14, c.family, sizeof c.family);
    Text(st, 15, c.postcode, sizeof c.postcode);
    Text(st, 16, c.im, sizeof c.im);
    Text(st, 18, c.accName, sizeof c.accName);
    Text(st, 19, c.accType, sizeof c.accType);
}

void ReadOpportunity(sqlite3_stmt* st, PlainOpportunity& o) {
    o.id = sqlite3_column_int(st, 0);
    Text(st, 1, o.subject, sizeof o.subject);
    o.description = Memo(st, 2);
    Date(st, 3, o.created);
    Date(st, 4, o.die);
    o.estimate = sqlite3_column_double(st, 5);
    o.sale = sqlite3_column_double(st, 6);
    Text(st, 7, o.important, sizeof o.important);
    Text(st, 8, o.phase, sizeof o.phase);
    Date(st, 9, o.contacted);
    o.isPrivate = sqlite3_column_int(st, 10);
    o.probability = sqlite3_column_int(st, 11);
}

void BM_Plain_AllContacts(benchmark::State& state) {
    // The store's queries, sorted in the driver's order as the store's are.
    const std::string where = "WHERE (con_name LIKE '%" + gbk::ToUtf8(kKeyword) + "%' OR con_description LIKE '%" +
                              gbk::ToUtf8(kKeyword) + "%' OR acc_name LIKE '%" + gbk::ToUtf8(kKeyword) + "%') ";
    const std::string sql[] = {
        "SELECT * FROM que_contacts_accounts ORDER BY con_name COLLATE GBK_NOCASE DESC",
        "SELECT * FROM que_contacts_accounts " + where + "ORDER BY con_name COLLATE GBK_NOCASE DESC",
        "SELECT * FROM que_contacts_accounts " + where + "ORDER BY con_telephone COLLATE GBK_NOCASE DESC",
    };
    const char* const kSql[] = {sql[0].c_str(), sql[1].c_str(), sql[2].c_str()};
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(Db().path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return state.SkipWithError("open failed");
    sqlite3_create_collation(db, jetsql::kOrderCollation, SQLITE_UTF8, nullptr, CollateLikeTheDriver);
    Mode mode = Mode(state.range(0));
    int n = 0;
    for (auto _ : state) {
        if (mode == RESORT) PlainLoad<PlainContact>(db, kSql[SEARCH], ReadContact);  // the search before its re-sort
        n = PlainLoad<PlainContact>(db, kSql[mode], ReadContact);
    }
    state.counters["rows"] = n;
    sqlite3_close(db);
}
BENCHMARK(BM_Plain_AllContacts)->Arg(PLAIN)->Arg(SEARCH)->Arg(RESORT)->Unit(benchmark::kMillisecond);

void BM_Plain_AllOpportunities(benchmark::State& state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(Db().path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return state.SkipWithError("open failed");
    int n = 0;
    for (auto _ : state) n = PlainLoad<PlainOpportunity>(db, "SELECT * FROM opportunities", ReadOpportunity);
    state.counters["rows"] = n;
    sqlite3_close(db);
}
BENCHMARK(BM_Plain_AllOpportunities)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
