// Private messages that the views send each other (always synchronously with
// SendMessageA to the receiver's m_hWnd), and the popup-menu ids that share
// their values. A view tells the two apart by the message that carries the
// value: a private message arrives as itself, a menu choice as WM_COMMAND.
#pragma once

#include "win32.h"
#include "resources/shell_ids.h"

enum : UINT {
    UM_SHOWRECORD = 40001,  // wParam row in the handed id array or -1, lParam record id
    UM_OPENVIEW = 40002,
    UM_NEWRECORD = 40003,
    UM_OPEN_IMPORTANT = 40004,
    // 40005 is no message (menu id IDM_NORELATION only)
    UM_OPEN_PHASE = 40006,
    UM_OPEN_DATE = 40007,
    UM_OPEN_RELATION = 40008,  // relation statistics; lookup list "relation"
    UM_OPEN_HASOPP = 40008,    // with / without opportunities (same value)
    UM_OPEN_TYPE = 40009,
    UM_OPEN_INDUSTRY = 40010,
    UM_OPEN_WEEK = 40011,
    UM_RELOADRELATED = 40012,
    UM_OPEN_TODAY = 40013,
    UM_OPEN_MONTH = 40014,
    UM_RESTOREVIEW = 40015,
    UM_OPEN_PROVINCE = 40016,
    UM_LOCALSEARCH = 40017,
    // 40018 is no message (menu id IDM_EXPORTTEXT only)
    UM_SORTLIST = 40019,  // wParam 1 = same column again (toggle), lParam column
    UM_KEYWORDSEARCH = 40020,
    UM_MAILTOLIST = 40021,
    UM_MAILSENDDONE = 40022,
    UM_OPEN_CLOSED = 40023,
    UM_MAILSTART = 40024,
    UM_OPENACCOUNT = 40025,
};

// Toolbar buttons that the views select (ToolbarClass::CheckButton).
enum : int {
    TB_HOMEPAGE = IDC_TB_HOMEPAGE,
    TB_OPPORTUNITIES = IDC_TB_OPPORTUNITIES,
    TB_ACCOUNTS = IDC_TB_ACCOUNTS,
    TB_CONTACTS = IDC_TB_CONTACTS,
    TB_TASKS = IDC_TB_TASKS,
    TB_MAIL = IDC_TB_MAIL,
    TB_BACK = IDC_TB_BACK,
    TB_FORWARD = IDC_TB_FORWARD,
    TB_SETTING = IDC_TB_SETTING,
    TB_EXPORT = IDC_TB_EXPORT,
};
