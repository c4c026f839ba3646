#include "views/contacts/Con_DateDialogClass.h"

#include "resources/contacts_ids.h"
#include "shell/Report.h"

namespace {
const char kGetAddError[] = "Opp_HomepageDialogClass.cpp 58: cod_GetAdd Error.";
const char kNoTrackError[] = "Opp_HomepageDialogClass.cpp 58: cod_NoTrack Error.";
const ListPageTexts kTexts = {
    "Opp_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.",
};

const DateRowDef kRowDefs[Con_DateDialogClass::kRows] = {
    {IDC_CONT_ROW1_FROM, IDC_CONT_ROW1_TO, IDC_CONT_ROW1_FIND, 45, "间增加的联系人", kGetAddError},
    {IDC_CONT_ROW2_DATE, 0, IDC_CONT_ROW2_FIND, 75, "以来没有跟踪过的联系人", kNoTrackError},
    {IDC_CONT_ROW3_FROM, IDC_CONT_ROW3_TO, IDC_CONT_ROW3_FIND, 105, "间跟踪过的联系人", kGetAddError},
};

const int kMenuIDs[8] = {IDC_CONT_MENU0,     IDC_CONT_MENU0 + 1, IDC_CONT_MENU0 + 2, IDC_CONT_MENU0 + 3,
                         IDC_CONT_MENU0 + 4, IDC_CONT_MENU0 + 5, IDC_CONT_MENU0 + 6, IDC_CONT_MENU0 + 7};

DatePageDef MakeDef() {
    return {
        UM_OPEN_DATE,
        IDC_CONT_SEARCH_EDIT,
        IDC_CONT_SEARCH,
        IDC_CONT_LIST,
        IDC_CONT_EXPORT,
        IDC_CONT_HELP,
        ConMenu(kMenuIDs),
        kRowDefs,
        Con_DateDialogClass::kRows,
        "所有联系人按其日期分类统计如下，用鼠标单击按某日期查找，可以显示符合条件的记录。",
        "用鼠标双击下面的记录可显示详细内容，点击列表标题栏，可重新排序。",
        147,
        147,
        170,
        440,
        "",
    };
}
}  // namespace

Con_DateDialogClass g_Con_Date;

Con_DateDialogClass::Con_DateDialogClass() : DateStatPage<Con_ListPageClass>(MakeDef()) {}

void Con_DateDialogClass::CreateDateRecordList(HWND hWnd, int nID, int y, int h) {
    CreateConRecordList(hWnd, nID, y, h, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT, IDC_CONT_MAIL, 147);
}

int Con_DateDialogClass::QueryInto(Con_DetailClass& contacts, int nKind, const SYSTEMTIME& stFrom,
                                   const SYSTEMTIME& stTo) {
    switch (nKind) {
    case 1: return contacts.ccd_GetAdd(stFrom, stTo);
    case 2: return contacts.ccd_NoTrack(stFrom);
    case 3: return contacts.ccd_GetTrack(stFrom, stTo);
    default: return 0;
    }
}

int Con_DateDialogClass::QueryKind(int nKind, const SYSTEMTIME& stFrom, const SYSTEMTIME& stTo) {
    return QueryInto(m_Contact, nKind, stFrom, stTo);
}

const ListPageTexts& Con_DateDialogClass::Texts() const { return kTexts; }

void Con_DateDialogClass::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) m_Contact.m_bDesc = !m_Contact.m_bDesc;
    m_Contact.m_iSortColumn = nColumn;
    m_Contact.m_iQueryMode = 2;
}

void Con_DateDialogClass::HandOverToMail() {
    const HistoryNode* pNode = OwnHistoryNode();
    const int nKind = pNode && pNode->m_nKind >= 1 && pNode->m_nKind <= kRows ? pNode->m_nKind : 0;
    const SYSTEMTIME stFrom = pNode ? pNode->m_stFrom : SYSTEMTIME{};
    const SYSTEMTIME stTo = nKind == 2 || !pNode ? stFrom : pNode->m_stTo;
    HandContactsToMail([&](Con_DetailClass& c) {
        if (nKind == 0) return 0;  // nothing queried yet: no contact
        const int n = QueryInto(c, nKind, stFrom, stTo);
        if (n < 0) ReportError(kRowDefs[nKind - 1].pszError);
        return n;
    });
}
