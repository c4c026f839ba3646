// What every page of the contact module that lists contacts shares: the
// data object, the eleven contact columns, the module's left menu, its
// message texts, the record form the rows go to, the quick search that goes
// to the all-contacts list and the hand-over of contacts to the mail page
// (mail/ContactsToMail.h).
#pragma once

#include "mail/ContactsToMail.h"
#include "store/Con_DetailClass.h"
#include "shell/ListPageClass.h"

// The eleven columns of a contact list (their sort columns 0-10).
constexpr int kConColumns = 11;
extern const ListColumnDef g_ConColumns[kConColumns];
// Texts of the contact pages' message boxes.
extern const ListPageTexts g_ConListTexts;

// The left menu of the contact pages with the page's own control ids (8).
PageMenu ConMenu(const int* pIDs);
// Cell text of column nColumn for one contact.
void ConCellText(const ConNode* pNode, int nColumn, char* pszBuf, int nSize);

class Con_ListPageClass : public ListPageClass {
public:
    explicit Con_ListPageClass(int nLastSortColumn);

    Con_DetailClass m_Contact;

protected:
    BOOL FirstRow() override;
    BOOL NextRow() override;
    ULONG RowID() override;
    void RowText(int nColumn, char* pszBuf, int nSize) override;
    RecordFormClass* RecordForm() override;
    const ListPageTexts& Texts() const override { return g_ConListTexts; }
    int ModuleButton() const override;
    // Quick search: the keyword goes to the all-contacts list.
    void SearchOnModuleListPage(HWND hEdit) override;
    void FreeRows() override { m_Contact.ccd_FreeList(); }

    // The record list with the eleven contact columns at (167, y) (and an
    // empty last column nBlankWidth wide, when above 0) and the "邮件群发"
    // button at (837, nMailY).
    void CreateConRecordList(HWND hWnd, int nID, int y, int h, UINT uColumnMask, int nMailID, int nMailY,
                             int nBlankWidth = 0);
};
