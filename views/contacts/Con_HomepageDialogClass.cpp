#include "views/contacts/Con_HomepageDialogClass.h"

#include "platform/gbk/gbk.h"
#include "resources/contacts_ids.h"
#include "shell/Report.h"

namespace {
const int kMenuIDs[8] = {IDC_CONH_MENU0, IDC_CONH_MENU1, IDC_CONH_MENU2, IDC_CONH_MENU3,
                         IDC_CONH_MENU4, IDC_CONH_MENU5, IDC_CONH_MENU6, IDC_CONH_MENU7};
constexpr UINT kColumnMask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
const char kQueryError[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";

KeywordPageDef MakeDef() {
    return {
        IDC_CONH_SEARCH_EDIT,
        IDC_CONH_SEARCH,
        IDC_CONH_LIST,
        IDC_CONH_EXPORT,
        IDC_CONH_HELP,
        ConMenu(kMenuIDs),
        "所有的联系人共%d条，用鼠标双击下面的记录可显示详细内容，点击列表栏可重新排序。",
        "搜索关键字=\"%s\"的记录共%d条",
        kQueryError,
        "所有联系人",
        kColumnMask,
        FALSE,
    };
}
}  // namespace

Con_HomepageDialogClass g_Con_Homepage;

Con_HomepageDialogClass::Con_HomepageDialogClass() : KeywordListPage<Con_ListPageClass>(MakeDef()) {}

void Con_HomepageDialogClass::CreateKeywordRecordList(HWND hWnd, int nID) {
    // A twelfth column that stays empty: it neither sorts nor exports.
    CreateConRecordList(hWnd, nID, 40, 573, kColumnMask, IDC_CONH_MAIL, 18, 220);
}

int Con_HomepageDialogClass::QueryList(int nMode) {
    m_Contact.m_iQueryMode = nMode;
    return m_Contact.ccd_GetAllContacts();
}

void Con_HomepageDialogClass::PrepareSort(BOOL bToggle, int nColumn) {
    if (bToggle) m_Contact.m_bDesc = !m_Contact.m_bDesc;
    m_Contact.m_iSortColumn = nColumn;
}

void Con_HomepageDialogClass::HandOverToMail() {
    const HistoryNode* pNode = OwnHistoryNode();
    const int nKind = pNode ? pNode->m_nKind : 0;
    // A keyword entry without its keyword searches for the empty keyword.
    const char* pszKeyword = nKind == 1 && pNode->m_pszKeyword ? pNode->m_pszKeyword : "";
    HandContactsToMail([&](Con_DetailClass& c) {
        if (nKind == 1) {
            gbk::CopyCut(c.m_szKeyword, sizeof(c.m_szKeyword), pszKeyword);
            c.m_iQueryMode = 1;
        } else {
            c.m_iQueryMode = 0;
        }
        const int n = c.ccd_GetAllContacts();
        if (n < 0) ReportError(kQueryError);
        return n;
    });
}
