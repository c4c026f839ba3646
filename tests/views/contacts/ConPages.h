// The contact pages for the tests, and helpers shared by them.
#pragma once

#include <string>
#include <vector>

#include "mail/MailDialogClass.h"
#include "resources/contacts_ids.h"
#include "views/contacts/Con_DateDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"
#include "views/contacts/Con_StartDialogClass.h"

// The five statistics pages, in menu order.
inline std::vector<Con_CategoryStatClass*> ConStatPages() {
    return {&g_Con_Important, &g_Con_Opportunities, &g_Con_Relation, &g_Con_Industry, &g_Con_Province};
}

// Names in column 1 (联系人) of the mail page's recipient list, top row first.
std::vector<std::string> MailNames();

// Drops a view the contact listings read (by default the one of every
// listing but with / without opportunities), so that they fail;
// returns its statement for MendContactView.
std::string BreakContactView(const std::string& view = "que_contacts_accounts");
void MendContactView(const std::string& sql);
