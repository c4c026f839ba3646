// The opportunities file the list benchmarks share: a copy of the empty
// database filled (plain SQLite, one transaction) with records shaped like a
// salesperson's: Chinese company and product names mixed with Latin letters
// and digits, Chinese keywords in the descriptions. The same count gives the
// same file in every benchmark. Sources using it are compiled as UTF-8.
#pragma once

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <vector>

#include "jetsql.h"

namespace bench {

// The collation the driver adds to every ORDER BY term, for bare connections.
inline int CollateLikeTheDriver(void*, int na, const void* a, int nb, const void* b) {
    return jetsql::CompareGbkNoCase(static_cast<const char*>(a), size_t(na), static_cast<const char*>(b), size_t(nb));
}
inline void AddDriverCollation(sqlite3* db) {
    sqlite3_create_collation(db, jetsql::kOrderCollation, SQLITE_UTF8, nullptr, CollateLikeTheDriver);
}

inline bool FillOpportunities(const std::string& path, int records) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO opportunities(opp_subject, opp_description, opp_create_date, opp_die_date, "
                       "opp_estimate_sale, opp_sale, opp_important, opp_phase, opp_recent_contact_date, opp_private, "
                       "opp_succeed_probability) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)",
                       -1, &st, nullptr);
    static const char* const kCompany[] = {"北京塔维尔", "上海华星", "深圳鹏程", "广州天河", "杭州西湖", "ACME 中国",
                                           "成都蜀汉",   "武汉光谷", "南京钟山", "IBM 华东", "天津海河", "重庆山城"};
    static const char* const kProduct[] = {"服务器采购", "办公桌椅", "软件授权", "网络设备", "打印机",
                                           "年度维护",   "ERP 升级", "安防系统", "培训服务", "数据中心"};
    static const char* const kKeyword[] = {"合同", "报价", "续约", "招标", "样品", "回款", "试用", "验收"};
    static const char* const kImportant[] = {"高", "中", "低"};
    static const char* const kPhase[] = {"初步接触", "需求分析", "方案制定", "商务谈判", "合同签订"};
    char sz[160], szDesc[160], szDate[16], szDie[16];
    for (int i = 0; i < records; i++) {
        const int k = (i * 7919) % records;
        snprintf(sz, sizeof(sz), "%s%s %d", kCompany[k % 12], kProduct[(k / 12) % 10], k % 997);
        snprintf(szDesc, sizeof(szDesc), "客户要求%s，下周%s；联系人 %c%d", kKeyword[k % 8], kKeyword[(k / 8) % 8],
                 'A' + k % 26, k % 100);
        snprintf(szDate, sizeof(szDate), "20%02d-%02d-%02d", 10 + k % 15, 1 + k % 12, 1 + k % 28);
        snprintf(szDie, sizeof(szDie), "20%02d-%02d-%02d", 11 + k % 15, 1 + (k / 3) % 12, 1 + (k / 5) % 28);
        sqlite3_bind_text(st, 1, sz, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, szDesc, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 3, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 4, szDie, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 5, (k % 1000) * 10.5);
        sqlite3_bind_double(st, 6, (k % 7) * 1234.25);
        sqlite3_bind_text(st, 7, kImportant[k % 3], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 8, kPhase[k % 5], -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 9, szDate, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 10, (k % 10) * 10);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Reads every row of the query into strings, as a hand-written program would;
// returns the row count, or -1.
inline int ReadAllRows(sqlite3* db, const char* sql, std::vector<std::string>& cells) {
    cells.clear();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return -1;
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
