// The eleven relation tab pages of the record forms: each is a table for the
// relation-page core and one page object kept by its procedure.
#include "dialogs/RelatedPages.h"

#include "dialogs/RelatedListPage.h"
#include "resources/shell_ids.h"

namespace {

const RelatedButtonDef kMailButton = {"邮件群发", 11409, 660, 10, 100};
const RelatedButtonDef kNoMailButton = {nullptr, 0, 0, 0, 0};

RelatedListDef TaskList(RelatedQuery query, int nHeight, DLGPROC pfnNew, DLGPROC pfnSelect) {
    return {kKindTasks,
            query,
            10153,
            30,
            nHeight,
            {"添加相关计划日志", 11404, 10, 10, 150},
            {"删除相关计划日志", 11405, 180, 10, 150},
            IDM_SUB_TASK,
            IDM_NEWTASK,
            IDM_SELECTTASK,
            IDD_NEW_TASK,
            pfnNew,
            pfnSelect,
            false};
}

RelatedListDef OpportunityList(RelatedQuery query, int nHeight, DLGPROC pfnNew, DLGPROC pfnSelect) {
    return {kKindOpportunities,
            query,
            1079,
            30,
            nHeight,
            {"添加相关销售机会", 11403, 10, 10, 150},
            {"删除相关销售机会", 11408, 180, 10, 150},
            IDM_SUB_OPPORTUNITY,
            IDM_NEWOPPORTUNITY,
            IDM_SELECTOPPORTUNITY,
            IDD_NEW_OPPORTUNITY,
            pfnNew,
            pfnSelect,
            false};
}

// bWithoutAccount: the new contact starts with no account chosen.
RelatedListDef ContactList(RelatedQuery query, int y, int nHeight, int nButtonY, int nAddWidth, DLGPROC pfnNew,
                           DLGPROC pfnSelect, bool bWithoutAccount) {
    return {kKindContacts,
            query,
            1079,
            y,
            nHeight,
            {"添加相关联系人", 11402, 10, nButtonY, nAddWidth},
            {"删除相关联系人", 11407, 180, nButtonY, 150},
            IDM_SUB_CONTACT,
            IDM_NEWCONTACT,
            IDM_SELECTCONTACT,
            IDD_NEW_CONTACT,
            pfnNew,
            pfnSelect,
            bWithoutAccount};
}

RelatedListDef AccountList(RelatedQuery query, DLGPROC pfnNew, DLGPROC pfnSelect) {
    return {kKindAccounts,
            query,
            1078,
            30,
            100,
            {"添加相关客户", 11401, 10, 10, 100},
            {"删除相关客户", 11406, 130, 10, 100},
            IDM_SUB_ACCOUNT,
            IDM_NEWACCOUNT,
            IDM_SELECTACCOUNT,
            IDD_NEW_ACCOUNT,
            pfnNew,
            pfnSelect,
            false};
}

}  // namespace

#define SINGLE_LIST_PAGE(name, host, list, mail)                                \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) { \
        static const RelatedPageDef kDef = {host, list, mail};                  \
        static RelatedListPage s_Page(kDef);                                    \
        return s_Page.Proc(hDlg, uMsg, wParam, lParam);                         \
    }

#define ACCOUNTS_PAGE(name, host, accounts, contacts)                                            \
    INT_PTR CALLBACK name(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {                  \
        static const RelatedPageDef kDef = {host, accounts, {"邮件群发", 11409, 660, 130, 100}}; \
        static const RelatedListDef kContacts = contacts;                                        \
        static RelatedAccountsPage s_Page(kDef, kContacts);                                      \
        return s_Page.Proc(hDlg, uMsg, wParam, lParam);                                          \
    }

// Tasks pages.
SINGLE_LIST_PAGE(RelatedTasksPageProc_OppDetail, kHostOpportunity,
                 TaskList(kTasksOfOpportunity, 240, NewTaskDlgProc_OppDetail, SelectTaskDlgProc_OppDetail),
                 kNoMailButton)
SINGLE_LIST_PAGE(RelatedTasksPageProc_AccDetail, kHostAccount,
                 TaskList(kTasksOfAccount, 200, NewTaskDlgProc_AccDetail, SelectTaskDlgProc_AccDetail), kNoMailButton)
SINGLE_LIST_PAGE(RelatedTasksPageProc_ConDetail, kHostContact,
                 TaskList(kTasksOfContact, 200, NewTaskDlgProc_ConDetail, SelectTaskDlgProc_ConDetail), kNoMailButton)

// Opportunities pages.
SINGLE_LIST_PAGE(RelatedOpportunitiesPageProc_AccDetail, kHostAccount,
                 OpportunityList(kOpportunitiesOfAccount, 200, NewOpportunityDlgProc_AccDetail,
                                 SelectOpportunityDlgProc_AccDetail),
                 kNoMailButton)
SINGLE_LIST_PAGE(RelatedOpportunitiesPageProc_ConDetail, kHostContact,
                 OpportunityList(kOpportunitiesOfContact, 200, NewOpportunityDlgProc_ConDetail,
                                 SelectOpportunityDlgProc_ConDetail),
                 kNoMailButton)
SINGLE_LIST_PAGE(RelatedOpportunitiesPageProc_TasDetail, kHostTask,
                 OpportunityList(kOpportunitiesOfTask, 270, NewOpportunityDlgProc_TasDetailOpportunities,
                                 SelectOpportunityDlgProc_TasDetailOpportunities),
                 kNoMailButton)

// Contacts pages (with 邮件群发).
SINGLE_LIST_PAGE(RelatedContactsPageProc_OppDetail, kHostOpportunity,
                 ContactList(kContactsOfOpportunity, 30, 240, 10, 150, NewContactDlgProc_OppDetailContacts,
                             SelectContactDlgProc_OppDetailContacts, true),
                 kMailButton)
SINGLE_LIST_PAGE(RelatedContactsPageProc_AccDetail, kHostAccount,
                 ContactList(kContactsOfAccount, 30, 200, 10, 150, NewContactDlgProc_AccDetail,
                             SelectContactDlgProc_AccDetail, false),
                 kMailButton)
SINGLE_LIST_PAGE(RelatedContactsPageProc_TasDetail, kHostTask,
                 ContactList(kContactsOfTask, 30, 270, 10, 150, NewContactDlgProc_TasDetailContacts,
                             SelectContactDlgProc_TasDetailContacts, true),
                 kMailButton)

// Accounts pages: the accounts, and the contacts under the clicked one.
ACCOUNTS_PAGE(RelatedAccountsPageProc_OppDetail, kHostOpportunity,
              AccountList(kAccountsOfOpportunity, NewAccountDlgProc_OppDetailAccounts,
                          SelectAccountDlgProc_OppDetailAccounts),
              ContactList(kContactsOfOpportunityAccount, 150, 120, 130, 150, NewContactDlgProc_OppDetailAccounts,
                          SelectContactDlgProc_OppDetailAccounts, false))
ACCOUNTS_PAGE(RelatedAccountsPageProc_TasDetail, kHostTask,
              AccountList(kAccountsOfTask, NewAccountDlgProc_TasDetailAccounts, SelectAccountDlgProc_TasDetailAccounts),
              ContactList(kContactsOfTaskAccount, 150, 150, 130, 150, NewContactDlgProc_TasDetailAccounts,
                          SelectContactDlgProc_TasDetailAccounts, false))
