// A salesperson's whole file for the start-up benchmarks: the opportunities of
// OppData.h plus contacts and tasks shaped the same way (Chinese names and
// texts mixed with Latin letters and digits), and a stored login. Tasks are
// dated from today back over ten years, a dozen or so on every day, so the
// start page's list of today's tasks has rows. Sources using it are compiled
// as UTF-8.
#pragma once

#include <sqlite3.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "bench/common/OppData.h"
#include "store/md5.h"

namespace bench {

namespace detail {

inline bool Run(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// Binds the texts in order and steps the statement once.
inline bool Insert(sqlite3_stmt* st, std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* t : texts) sqlite3_bind_text(st, ++i, t, -1, SQLITE_TRANSIENT);
    const bool ok = sqlite3_step(st) == SQLITE_DONE;
    sqlite3_reset(st);
    return ok;
}

// Today minus `days`, as YYYY-MM-DD.
inline void DaysBeforeToday(int days, char* buf, size_t size) {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    t.tm_mday -= days;
    t.tm_hour = 12;
    std::mktime(&t);
    std::strftime(buf, size, "%Y-%m-%d", &t);
}

inline const char* const kCompany[] = {"北京塔维尔", "上海华星", "深圳鹏程", "广州天河", "杭州西湖", "ACME 中国",
                                       "成都蜀汉",   "武汉光谷", "南京钟山", "IBM 华东", "天津海河", "重庆山城"};
inline const char* const kKeyword[] = {"合同", "报价", "续约", "招标", "样品", "回款", "试用", "验收"};

}  // namespace detail

inline bool FillContacts(sqlite3* db, int records) {
    static const char* const kSurname[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙"};
    static const char* const kGiven[] = {"伟", "芳", "娜", "秀英", "敏", "静", "丽", "强", "磊",   "军",
                                         "洋", "勇", "艳", "杰",   "娟", "涛", "明", "超", "秀兰", "霞"};
    static const char* const kTitle[] = {"采购部 经理", "技术部 工程师", "总经理",
                                         "IT 主管",     "财务部 会计",   "销售总监"};
    static const char* const kProvince[] = {"北京", "上海", "广东", "浙江", "江苏", "四川", "湖北", "天津"};
    static const char* const kImportant[] = {"高", "中", "低"};
    static const char* const kRelation[] = {"朋友", "客户", "同事", "合作伙伴"};
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "INSERT INTO contacts(con_name, con_nickname, con_description, con_department_title, "
                           "con_telephone, con_mobile, con_email, con_important, con_relation, con_create_date, "
                           "con_recent_contact_date, con_private, con_province, con_family, con_postcode, con_im) "
                           "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?)",
                           -1, &st, nullptr) != SQLITE_OK)
        return false;
    char szName[64], szNick[64], szDesc[160], szPhone[32], szMobile[32], szMail[64], szDate[16], szRecent[16],
        szFamily[96], szPost[16], szIm[32];
    bool ok = true;
    for (int i = 0; i < records && ok; i++) {
        const int k = (i * 7919) % records;
        std::snprintf(szName, sizeof(szName), "%s%s", kSurname[k % 12], kGiven[(k / 12) % 20]);
        std::snprintf(szNick, sizeof(szNick), "%s%c", k % 2 ? "小" : "老", 'A' + k % 26);
        std::snprintf(szDesc, sizeof(szDesc), "负责%s，关注%s；备注 %d", detail::kKeyword[k % 8],
                      detail::kKeyword[(k / 8) % 8], k % 1000);
        std::snprintf(szPhone, sizeof(szPhone), "010-%08d", (k * 37) % 100000000);
        std::snprintf(szMobile, sizeof(szMobile), "13%09d", (k * 7919) % 1000000000);
        std::snprintf(szMail, sizeof(szMail), "user%d@example%d.com.cn", k, k % 50);
        std::snprintf(szDate, sizeof(szDate), "20%02d-%02d-%02d", 10 + k % 15, 1 + k % 12, 1 + k % 28);
        std::snprintf(szRecent, sizeof(szRecent), "20%02d-%02d-%02d", 11 + k % 14, 1 + (k / 3) % 12, 1 + (k / 5) % 28);
        std::snprintf(szFamily, sizeof(szFamily), "%s市%d号", kProvince[(k / 3) % 8], k % 300);
        std::snprintf(szPost, sizeof(szPost), "%06d", 100000 + k % 800000);
        std::snprintf(szIm, sizeof(szIm), "QQ %d", 10000 + k);
        ok = detail::Insert(st, {szName, szNick, szDesc, kTitle[k % 6], szPhone, szMobile, szMail, kImportant[k % 3],
                                 kRelation[k % 4], szDate, szRecent, kProvince[k % 8], szFamily, szPost, szIm});
    }
    sqlite3_finalize(st);
    return ok;
}

inline bool FillTasks(sqlite3* db, int records) {
    static const char* const kAction[] = {"拜访", "电话回访", "发送报价", "签订合同", "演示", "催收回款"};
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "INSERT INTO tasks(tas_subject, tas_date, tas_time, tas_outlay, tas_description, "
                           "tas_private, tas_remind, tas_closed) VALUES(?, ?, ?, ?, ?, 0, ?, ?)",
                           -1, &st, nullptr) != SQLITE_OK)
        return false;
    char szSubject[128], szDate[16], szTime[16], szOutlay[16], szDesc[160], szRemind[4], szClosed[4];
    bool ok = true;
    for (int i = 0; i < records && ok; i++) {
        const int k = (i * 7919) % records;
        std::snprintf(szSubject, sizeof(szSubject), "%s%s %d", kAction[k % 6], detail::kCompany[k % 12], k % 997);
        detail::DaysBeforeToday(k % 3650, szDate, sizeof(szDate));
        std::snprintf(szTime, sizeof(szTime), "%02d:%02d:00", 8 + k % 10, (k / 10) % 60);
        std::snprintf(szOutlay, sizeof(szOutlay), "%d.5", k % 500);
        std::snprintf(szDesc, sizeof(szDesc), "与%s商谈%s，带样品 %c%d", detail::kCompany[(k / 12) % 12],
                      detail::kKeyword[k % 8], 'A' + k % 26, k % 100);
        std::snprintf(szRemind, sizeof(szRemind), "%d", k % 2);
        std::snprintf(szClosed, sizeof(szClosed), "%d", (k / 2) % 2);
        ok = detail::Insert(st, {szSubject, szDate, szTime, szOutlay, szDesc, szRemind, szClosed});
    }
    sqlite3_finalize(st);
    return ok;
}

// Marks the installation done with this login (ASCII name and password).
inline bool SetLogin(sqlite3* db, const char* name, const char* password) {
    char szDigest[33];
    MD5DigestText(password, szDigest);
    const std::string sql = std::string("UPDATE setting SET set_init=1, set_loginname='") + name + "', set_loginpwd='" +
                            szDigest + "' WHERE set_id=1";
    return detail::Run(db, sql.c_str());
}

// Fills the copy of the empty database at `path`: opportunities, contacts and
// tasks (any of them 0), then the login.
inline bool FillSalesFile(const std::string& path, int opportunities, int contacts, int tasks, const char* name,
                          const char* password) {
    if (opportunities > 0 && !FillOpportunities(path, opportunities)) return false;
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
    bool ok = detail::Run(db, "BEGIN");
    ok = ok && (contacts == 0 || FillContacts(db, contacts));
    ok = ok && (tasks == 0 || FillTasks(db, tasks));
    ok = ok && SetLogin(db, name, password);
    ok = detail::Run(db, ok ? "COMMIT" : "ROLLBACK") && ok;
    sqlite3_close(db);
    return ok;
}

}  // namespace bench
