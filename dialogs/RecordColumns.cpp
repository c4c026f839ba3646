#include "dialogs/RecordColumns.h"

#include "platform/gbk/gbk.h"
#include "shell/CellText.h"
#include "shell/ListViewClass.h"

namespace {

const RecordColumn kTaskColumns[] = {{"日期", 100}, {"时间", 100}, {"计划日志标题", 150}, {"费用", 100}};
const RecordColumn kAccountColumns[] = {{"客户单位", 150}, {"客户类型", 100}, {"重要性", 100},       {"客户关系", 100},
                                        {"客户行业", 100}, {"客户区域", 100}, {"最近联系日期", 100}, {"创建日期", 100}};
const RecordColumn kOppColumns[] = {{"项目名称", 150},     {"成功可能性", 100}, {"项目阶段", 100},
                                    {"重要性", 100},       {"预计销售额", 150}, {"预计结束日期", 150},
                                    {"最近联系日期", 150}, {"创建日期", 150}};
const RecordColumn kContactColumns[] = {{"姓名", 100}, {"客户单位", 150},     {"职务", 100},    {"电话", 100},
                                        {"手机", 100}, {"邮件", 100},         {"区域", 100},    {"重要性", 100},
                                        {"关系", 100}, {"最近联系日期", 100}, {"创建日期", 100}};
const RecordColumns kColumns[] = {{kTaskColumns, 4}, {kAccountColumns, 8}, {kOppColumns, 8}, {kContactColumns, 11}};

void Date(const DATE_STRUCT& d, char* pszBuf, int nSize) { cell::FormatDate(pszBuf, nSize, d.year, d.month, d.day); }
void Text(const char* pszText, char* pszBuf, int nSize) { gbk::CopyCut(pszBuf, (size_t)nSize, pszText); }

}  // namespace

const RecordColumns& ColumnsOf(RecordKind kind) { return kColumns[kind]; }

void InsertColumns(ListViewClass& list, RecordKind kind) {
    list.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
    const RecordColumns& c = ColumnsOf(kind);
    for (int i = 0; i < c.nColumns; ++i) list.InsertColumn(c.pColumns[i].pszCaption, c.pColumns[i].nWidth);
}

void CellText(const TasNode& t, int nColumn, char* pszBuf, int nSize) {
    switch (nColumn) {
    case 0: Date(t.tas_date, pszBuf, nSize); break;
    case 1: cell::FormatTime(pszBuf, nSize, t.tas_time.hour, t.tas_time.minute); break;
    case 2: Text(t.tas_subject, pszBuf, nSize); break;
    default: cell::FormatAmount(pszBuf, nSize, (double)t.tas_outlay); break;
    }
}

void CellText(const AccNode& a, int nColumn, char* pszBuf, int nSize) {
    const char* kTexts[] = {a.acc_name, a.acc_type, a.acc_important, a.acc_relation, a.acc_industry, a.acc_province};
    if (nColumn < 6)
        Text(kTexts[nColumn], pszBuf, nSize);
    else
        Date(nColumn == 6 ? a.acc_recent_contact_date : a.acc_create_date, pszBuf, nSize);
}

void CellText(const OppNode& o, int nColumn, char* pszBuf, int nSize) {
    switch (nColumn) {
    case 0: Text(o.opp_subject, pszBuf, nSize); break;
    case 1: cell::FormatPercent(pszBuf, nSize, o.opp_succeed_probability); break;
    case 2: Text(o.opp_phase, pszBuf, nSize); break;
    case 3: Text(o.opp_important, pszBuf, nSize); break;
    case 4: cell::FormatAmount(pszBuf, nSize, o.opp_estimate_sale); break;
    case 5: Date(o.opp_die_date, pszBuf, nSize); break;
    case 6: Date(o.opp_recent_contact_date, pszBuf, nSize); break;
    default: Date(o.opp_create_date, pszBuf, nSize); break;
    }
}

void CellText(const ConNode& c, int nColumn, char* pszBuf, int nSize) {
    const char* kTexts[] = {c.con_name,  c.acc_name,     c.con_department_title, c.con_telephone, c.con_mobile,
                            c.con_email, c.con_province, c.con_important,        c.con_relation};
    if (nColumn < 9)
        Text(kTexts[nColumn], pszBuf, nSize);
    else
        Date(nColumn == 9 ? c.con_recent_contact_date : c.con_create_date, pszBuf, nSize);
}
