#include "bench/common/SeededFile.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>
#include <system_error>

#include "jetsql.h"
#include "platform/gbk/gbk.h"

// The driver's own registration of what Jet statements need on SQLite.
namespace odbcdrv {
int RegisterFunctions(sqlite3* db);
}

namespace bench {

namespace {

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// One prepared INSERT, stepped and reset per row.
class Insert {
public:
    Insert(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr); }
    ~Insert() { sqlite3_finalize(m_st); }
    Insert(const Insert&) = delete;
    Insert& operator=(const Insert&) = delete;
    Insert& Text(int n, const char* s) {
        sqlite3_bind_text(m_st, n, s, -1, SQLITE_TRANSIENT);
        return *this;
    }
    Insert& Int(int n, int v) {
        sqlite3_bind_int(m_st, n, v);
        return *this;
    }
    Insert& Double(int n, double v) {
        sqlite3_bind_double(m_st, n, v);
        return *this;
    }
    bool Step() {
        const bool ok = m_st && sqlite3_step(m_st) == SQLITE_DONE;
        sqlite3_reset(m_st);
        return ok;
    }

private:
    sqlite3_stmt* m_st = nullptr;
};

const char* const kCompany[] = {"北京塔维尔", "上海华星", "深圳鹏程", "广州天河", "杭州西湖", "ACME 中国",
                                "成都蜀汉",   "武汉光谷", "南京钟山", "IBM 华东", "天津海河", "重庆山城"};
const char* const kCompanyKind[] = {"科技有限公司", "贸易公司", "集团", "(China) Ltd.", "电子厂", "软件研究所"};
const char* const kProduct[] = {"服务器采购", "办公桌椅", "软件授权", "网络设备", "打印机",
                                "年度维护",   "ERP 升级", "安防系统", "培训服务", "数据中心"};
const char* const kKeyword[] = {"合同", "报价", "续约", "招标", "样品", "回款", "试用", "验收"};
const char* const kImportant[] = {"高", "中", "低"};
const char* const kPhase[] = {"初步接触", "需求分析", "方案制定", "商务谈判", "合同签订"};
const char* const kAccType[] = {"最终用户", "代理商", "集成商", "分销商", "其他"};
const char* const kRelation[] = {"客户", "潜在客户", "合作伙伴", "供应商", "竞争对手", "其他"};
const char* const kIndustry[] = {"政府机关", "金融", "电信", "能源", "制造业", "交通物流", "教育", "医疗卫生"};
const char* const kProvince[] = {"北京", "天津", "上海", "重庆", "河北", "山西", "广东", "浙江", "江苏"};
const char* const kSurname[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静"};
const char* const kTaskVerb[] = {"拜访", "电话回访", "发送报价给", "约见", "Email"};

void Date(char* sz, size_t n, int k) { snprintf(sz, n, "20%02d-%02d-%02d", 10 + k % 15, 1 + k % 12, 1 + k % 28); }

bool FillOpportunities(sqlite3* db, int records) {
    Insert ins(db,
               "INSERT INTO opportunities(opp_subject, opp_description, opp_create_date, opp_die_date, "
               "opp_estimate_sale, opp_sale, opp_important, opp_phase, opp_recent_contact_date, opp_private, "
               "opp_succeed_probability) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)");
    char sz[160], szDesc[160], szDate[16], szDie[16];
    for (int i = 0; i < records; i++) {
        const int k = (int)((i * 7919LL) % records);
        snprintf(sz, sizeof(sz), "%s%s %d", kCompany[k % 12], kProduct[(k / 12) % 10], k % 997);
        snprintf(szDesc, sizeof(szDesc), "客户要求%s，下周%s；联系人 %c%d", kKeyword[k % 8], kKeyword[(k / 8) % 8],
                 'A' + k % 26, k % 100);
        Date(szDate, sizeof szDate, k);
        snprintf(szDie, sizeof(szDie), "20%02d-%02d-%02d", 11 + k % 15, 1 + (k / 3) % 12, 1 + (k / 5) % 28);
        if (!ins.Text(1, sz)
                 .Text(2, szDesc)
                 .Text(3, szDate)
                 .Text(4, szDie)
                 .Double(5, (k % 1000) * 10.5)
                 .Double(6, (k % 7) * 1234.25)
                 .Text(7, kImportant[k % 3])
                 .Text(8, kPhase[k % 5])
                 .Text(9, szDate)
                 .Int(10, (k % 10) * 10)
                 .Step())
            return false;
    }
    return true;
}

// Accounts spread over the shipped lookup values, every second one linked to
// one of 1,000 opportunities.
bool FillAccounts(sqlite3* db, int records) {
    {
        Insert opp(db, "INSERT INTO opportunities(opp_subject) VALUES(?)");
        char sz[32];
        for (int i = 0; i < 1000; i++) {
            snprintf(sz, sizeof sz, "机会%d", i);
            if (!opp.Text(1, sz).Step()) return false;
        }
    }
    Insert ins(db,
               "INSERT INTO accounts(acc_name, acc_description, acc_important, acc_type, acc_industry, "
               "acc_relation, acc_address, acc_postcode, acc_province, acc_telephone, acc_fax, acc_website, "
               "acc_create_date, acc_recent_contact_date, acc_private) "
               "VALUES(?, ?, ?, ?, ?, ?, '某路1号', '100000', ?, '010-1', '010-2', 'www.example.cn', ?, ?, 0)");
    char sz[128], szDesc[128], szDate[16];
    for (int i = 0; i < records; i++) {
        const int k = (int)((i * 7919LL) % records);
        snprintf(sz, sizeof(sz), "%s%s %d", kCompany[k % 12], kCompanyKind[(k / 12) % 6], k % 9973);
        snprintf(szDesc, sizeof(szDesc), "%s客户，关注%s和%s", kImportant[i % 3], kKeyword[k % 8],
                 kKeyword[(k / 8) % 8]);
        Date(szDate, sizeof szDate, i);
        if (!ins.Text(1, sz)
                 .Text(2, szDesc)
                 .Text(3, kImportant[i % 3])
                 .Text(4, kAccType[i % 5])
                 .Text(5, kIndustry[i % 8])
                 .Text(6, kRelation[i % 6])
                 .Text(7, kProvince[i % 9])
                 .Text(8, szDate)
                 .Text(9, szDate)
                 .Step())
            return false;
    }
    return Exec(db,
                "INSERT INTO opportunities_accounts(opp_id, acc_id) "
                "SELECT 1 + acc_id % 1000, acc_id FROM accounts WHERE acc_id % 2 = 0");
}

// Contacts, each working for one of kContactAccounts accounts.
bool FillContacts(sqlite3* db, int records) {
    char sz[128], szDate[16];
    {
        Insert acc(db,
                   "INSERT INTO accounts(acc_id, acc_name, acc_industry, acc_important, acc_create_date, "
                   "acc_recent_contact_date, acc_private) VALUES(?, ?, ?, '中', '2020-01-01', '2020-01-01', 0)");
        for (int i = 1; i <= kContactAccounts; i++) {
            const int k = (i * 7919) % kContactAccounts;
            snprintf(sz, sizeof(sz), "%s%s %05d", kCompany[k % 12], kCompanyKind[(k / 12) % 6], k);
            if (!acc.Int(1, i).Text(2, sz).Text(3, kIndustry[i % 8]).Step()) return false;
        }
    }
    Insert ins(db,
               "INSERT INTO contacts(con_id, con_name, con_nickname, con_description, con_email, "
               "con_telephone, con_important, con_relation, con_province, con_create_date, "
               "con_recent_contact_date, con_private) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)");
    Insert link(db, "INSERT INTO accounts_contacts(acc_id, con_id) VALUES(?, ?)");
    char szDesc[128], szMail[48], szTel[24];
    for (int i = 1; i <= records; i++) {
        const int k = (int)((i * 7919LL) % records);
        snprintf(sz, sizeof(sz), "%s%s%05d", kSurname[k % 10], kGiven[(k / 10) % 5], k);
        snprintf(szDesc, sizeof(szDesc), "%s，谈过%s", kRelation[k % 6], kKeyword[k % 8]);
        snprintf(szMail, sizeof szMail, "c%05d@example.com", k);
        snprintf(szTel, sizeof szTel, "010-%08d", 10000000 + k);
        Date(szDate, sizeof szDate, i);
        if (!ins.Int(1, i)
                 .Text(2, sz)
                 .Text(3, sz)
                 .Text(4, szDesc)
                 .Text(5, szMail)
                 .Text(6, szTel)
                 .Text(7, kImportant[i % 3])
                 .Text(8, kRelation[i % 6])
                 .Text(9, kProvince[i % 9])
                 .Text(10, szDate)
                 .Text(11, szDate)
                 .Step())
            return false;
        if (!link.Int(1, 1 + i % kContactAccounts).Int(2, i).Step()) return false;
    }
    return true;
}

// Tasks over 2022 to 2024, kTasksInJune2024 of them in June 2024.
bool FillTasks(sqlite3* db, int records) {
    Insert ins(db,
               "INSERT INTO tasks(tas_subject, tas_date, tas_time, tas_outlay, tas_description, tas_private, "
               "tas_remind, tas_closed) VALUES(?, ?, ?, ?, ?, 0, 0, ?)");
    char sz[128], szDesc[128], szDate[16], szTime[16];
    int nOther = 0;
    for (int i = 0; i < records; i++) {
        int y, m, d;
        if (i < kTasksInJune2024) {
            y = 2024, m = 6, d = 1 + (i * 7) % 30;
        } else {
            // Months 0 .. 34 of 2022-2024 without June 2024 (month 29).
            int k = nOther++ % 35;
            if (k >= 29) k++;
            y = 2022 + k / 12, m = 1 + k % 12, d = 1 + (nOther * 13) % 28;
        }
        const int k = (int)((i * 7919LL) % records);
        snprintf(sz, sizeof(sz), "%s%s %d", kTaskVerb[k % 5], kCompany[(k / 5) % 12], k % 997);
        snprintf(szDesc, sizeof(szDesc), "带上%s材料，谈%s", kProduct[k % 10], kKeyword[(k / 10) % 8]);
        snprintf(szDate, sizeof(szDate), "%04d-%02d-%02d", y, m, d);
        snprintf(szTime, sizeof(szTime), "%02d:%02d:00", 8 + i % 10, i % 60);
        if (!ins.Text(1, sz)
                 .Text(2, szDate)
                 .Text(3, szTime)
                 .Double(4, (i % 100) * 1.5)
                 .Text(5, szDesc)
                 .Int(6, i % 2)
                 .Step())
            return false;
    }
    return true;
}

}  // namespace

SeededFile::SeededFile(const char* pszTag) {
    std::string tmpl =
        (std::filesystem::temp_directory_path() / ("tarvel-" + std::string(pszTag) + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) return;
    m_strFolder = tmpl;
    std::error_code ec;
    if (std::filesystem::copy_file(TARVEL_DB_TEMPLATE_PATH, m_strFolder + "/mydata.tvd", ec))
        m_strPath = m_strFolder + "/mydata.tvd";
}

SeededFile::~SeededFile() {
    std::error_code ec;
    if (!m_strFolder.empty()) std::filesystem::remove_all(m_strFolder, ec);
}

bool SeededFile::Fill(Records kind, int count) {
    sqlite3* db = nullptr;
    if (m_strPath.empty() || sqlite3_open(m_strPath.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    bool ok = Exec(db, "BEGIN");
    switch (kind) {
    case Records::Opportunities: ok = ok && FillOpportunities(db, count); break;
    case Records::Accounts: ok = ok && FillAccounts(db, count); break;
    case Records::Contacts: ok = ok && FillContacts(db, count); break;
    case Records::Tasks: ok = ok && FillTasks(db, count); break;
    }
    ok = ok && Exec(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

long long SeededFile::Scalar(const char* pszSql) const {
    sqlite3* db = nullptr;
    long long v = -1;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(m_strPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, pszSql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return v;
}

const SeededFile* FileOf(Records kind, int count) {
    static std::map<std::pair<Records, int>, std::unique_ptr<SeededFile>> files;
    std::unique_ptr<SeededFile>& f = files[{kind, count}];
    if (!f) {
        static const char* const kTags[] = {"opp", "acc", "con", "tas"};
        auto made = std::make_unique<SeededFile>(kTags[static_cast<int>(kind)]);
        if (!made->Fill(kind, count)) return nullptr;
        f = std::move(made);
    }
    return f.get();
}

void AddDriverCollation(sqlite3* db) { odbcdrv::RegisterFunctions(db); }

std::string ToSqlite(const char* pszJet) {
    jetsql::Translation t;
    return jetsql::Translate(gbk::ToUtf8(pszJet), t) ? t.sql : std::string();
}

const ListQueries& QueriesOf(Records kind) {
    // The texts the store formats for the page's open and for a click on
    // its first column (the list is re-sorted the other way at each click).
    static const ListQueries kQueries[] = {
        {"opportunities",
         "SELECT * FROM opportunities",
         {"SELECT * FROM opportunities \t\t\t\t\tORDER BY opp_subject",
          "SELECT * FROM opportunities \t\t\t\t\tORDER BY opp_subject DESC"}},
        {"accounts",
         "SELECT * FROM accounts",
         {"SELECT * FROM accounts \t\t\t\t\tORDER BY acc_name",
          "SELECT * FROM accounts \t\t\t\t\tORDER BY acc_name DESC"}},
        {"contacts",
         "SELECT * FROM que_contacts_accounts ORDER BY con_name DESC",
         {"SELECT * FROM que_contacts_accounts \t\t\t\t\tORDER BY con_name",
          "SELECT * FROM que_contacts_accounts \t\t\t\t\tORDER BY con_name DESC"}},
        // The task list has one order: a click on a column runs it again.
        {"tasks",
         "SELECT * FROM tasks \t\t\tORDER BY tas_date DESC,tas_time DESC",
         {"SELECT * FROM tasks \t\t\tORDER BY tas_date DESC,tas_time DESC",
          "SELECT * FROM tasks \t\t\tORDER BY tas_date DESC,tas_time DESC"}},
    };
    return kQueries[static_cast<int>(kind)];
}

int ReadAllRows(sqlite3* db, const std::string& sql, std::vector<std::string>& cells) {
    cells.clear();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return -1;
    const int columns = sqlite3_column_count(st);
    int rows = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            const unsigned char* t = sqlite3_column_text(st, c);
            cells.emplace_back(t ? reinterpret_cast<const char*>(t) : "", size_t(sqlite3_column_bytes(st, c)));
        }
        ++rows;
    }
    sqlite3_finalize(st);
    return rows;
}

}  // namespace bench
