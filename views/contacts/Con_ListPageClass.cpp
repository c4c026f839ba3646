#include "views/contacts/Con_ListPageClass.h"

#include <cstdio>

#include "mail/MailDialogClass.h"
#include "platform/gbk/gbk.h"
#include "shell/ViewSwitch.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_Navigation.h"
#include "shell/CellText.h"

const ListColumnDef g_ConColumns[kConColumns] = {
    {"姓名", 100}, {"客户单位", 150}, {"职务", 100}, {"电话", 100},         {"手机", 100},     {"邮件", 100},
    {"区域", 100}, {"重要性", 100},   {"关系", 100}, {"最近联系日期", 100}, {"创建日期", 100},
};

const ListPageTexts g_ConListTexts = {
    "Acc_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.",
};

PageMenu ConMenu(const int* pIDs) {
    static const PageLinkDef kMenu[8] = {
        {0, "添加联系人", GotoCon_DetailNew}, {0, "所有联系人", GotoCon_Homepage},
        {0, "重要性查询", GotoCon_Important}, {0, "项目机会查询", GotoCon_Opportunities},
        {0, "关系查询", GotoCon_Relation},    {0, "行业查询", GotoCon_Industry},
        {0, "区域查询", GotoCon_Province},    {0, "时间相关查询", GotoCon_Date},
    };
    return MakePageMenu(kMenu, 8, pIDs);
}

static void FormatDate(const DATE_STRUCT& d, char* pszBuf, int nSize) {
    cell::FormatDate(pszBuf, nSize, (int)d.year, (int)d.month, (int)d.day);
}

void ConCellText(const ConNode* p, int nColumn, char* pszBuf, int nSize) {
    const char* pszText = nullptr;
    switch (nColumn) {
    case 0: pszText = p->con_name; break;
    case 1: pszText = p->acc_name; break;
    case 2: pszText = p->con_department_title; break;
    case 3: pszText = p->con_telephone; break;
    case 4: pszText = p->con_mobile; break;
    case 5: pszText = p->con_email; break;
    case 6: pszText = p->con_province; break;
    case 7: pszText = p->con_important; break;
    case 8: pszText = p->con_relation; break;
    case 9: FormatDate(p->con_recent_contact_date, pszBuf, nSize); return;
    case 10: FormatDate(p->con_create_date, pszBuf, nSize); return;
    default: pszText = ""; break;
    }
    gbk::CopyCut(pszBuf, (size_t)nSize, pszText);
}

void HandContactsToMail(int (*pfnLoad)(Con_DetailClass&, void*), void* pContext) {
    // A run going on works on its own copy: the page takes the new list at once.
    if (pfnLoad) {
        Con_DetailClass& contacts = g_Mail.m_ConDetail;
        contacts.ccd_FreeList();
        contacts.m_iQueryMode = 0;  // the plain listing, whatever the pages' sort
        const int nCount = pfnLoad(contacts, pContext);
        if (nCount < 0) contacts.ccd_FreeList();
        // After a failed load the mail page shows no contact, never -1 rows.
        g_Mail.m_nConCount = nCount < 0 ? 0 : nCount;
    }
    SwitchViewAfterSend(&g_Mail, UM_MAILTOLIST);
}

Con_ListPageClass::Con_ListPageClass(int nLastSortColumn) : ListPageClass(nLastSortColumn) {}

BOOL Con_ListPageClass::FirstRow() { return FirstNode(m_Contact.m_pConHead, m_Contact.m_pCurrent); }

BOOL Con_ListPageClass::NextRow() { return NextNode(m_Contact.m_pCurrent); }

ULONG Con_ListPageClass::RowID() { return m_Contact.m_pCurrent ? (ULONG)m_Contact.m_pCurrent->con_id : 0; }

void Con_ListPageClass::RowText(int nColumn, char* pszBuf, int nSize) {
    if (!m_Contact.m_pCurrent) {
        pszBuf[0] = 0;
        return;
    }
    ConCellText(m_Contact.m_pCurrent, nColumn, pszBuf, nSize);
}

RecordFormClass* Con_ListPageClass::RecordForm() { return &g_Con_Detail; }

int Con_ListPageClass::ModuleButton() const { return TB_CONTACTS; }

void Con_ListPageClass::SearchOnModuleListPage(HWND hEdit) {
    SearchOnListPage(&g_Con_Homepage, g_Con_Homepage.m_szKeyword, hEdit);
}

void Con_ListPageClass::CreateConRecordList(HWND hWnd, int nID, int y, int h, UINT uColumnMask, int nMailID, int nMailY,
                                            int nBlankWidth) {
    CreateRecordList(hWnd, nID, 167, y, 850, h, g_ConColumns, kConColumns, uColumnMask, nBlankWidth);
    CreateMailButton(hWnd, nMailID, nMailY, m_hFontArial);
}
