// The statistics pages of contacts: by importance, relation, industry (of
// the contact's account) and region, and with / without opportunities. The
// category list shows each category's number of contacts; the record list
// the contacts of the category clicked, which 邮件群发 hands to the mail page.
#pragma once

#include "shell/CategoryStatPage.h"
#include "views/contacts/Con_ListPageClass.h"

// What tells the five pages apart: one row of the pages' table.
struct ConCategoryPageDef {
    enum Kind { kImportant, kRelation, kIndustry, kProvince, kOpportunities };
    Kind kind;
    UINT uOpenMessage;
    int nBaseID;      // search edit; the other controls follow (contacts_ids.h)
    int nMenuBaseID;  // the eight menu entries, then the help link
    const char* pszCategoryCaption;
    int nCountWidth;  // width of the count column
    const char* pszTopLine;
    const char* pszTitleFormat;  // title handed to the record form; null: none
    BOOL bKeepRows;              // the record rows stay from one visit to the next
};

class Con_CategoryStatClass : public CategoryStatPage<Con_ListPageClass> {
public:
    explicit Con_CategoryStatClass(const ConCategoryPageDef& def);

    int CategoryCount() const override;
    const char* CategoryName(int i) const override;
    const ConCategoryPageDef& PageDef() const { return m_ConDef; }

    // Lists category i (index into today's categories) into contacts: the
    // number of contacts or -1.
    int QueryCategoryInto(Con_DetailClass& contacts, int i) const;

protected:
    void CreateCategoryRecordList(HWND hWnd, int nID) override;
    int CountCategories() override;
    void CategoryCell(int i, int nColumn, char* pszBuf, int nSize) const override;
    int QueryCategory(const char* pszName) override;
    void PrepareSort(BOOL bToggle, int nColumn, BOOL bSorted) override;
    // The page's own id array fails with the opportunity list's text.
    const ListPageTexts& Texts() const override;
    BOOL KeepsFormTitle() const override { return m_ConDef.pszTitleFormat == nullptr; }
    // The category of the current entry listed again for the mail page;
    // before a category is clicked the mail page keeps its contacts.
    void HandOverToMail() override;

private:
    static CategoryPageDef MakeDef(const ConCategoryPageDef& def);

    const ConCategoryPageDef m_ConDef;
    char m_szOppCategory[2][50];  // the two fixed categories of kOpportunities
};
