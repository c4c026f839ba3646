// Numeric ids of the shell's resources: popup-menu commands, dialog
// controls and string-table entries. Plain #defines so that the resource
// scripts can include this file too.
#pragma once

// Popup menu "IDM_POP_MENU". These ids share their values with private view
// messages (see ViewMessages.h); a menu choice arrives as WM_COMMAND.
#define IDM_NEWACCOUNT 40003
#define IDM_SELECTACCOUNT 40004
#define IDM_NORELATION 40005
#define IDM_NEWOPP_LINK 40006
#define IDM_SELECTOPP_LINK 40007
#define IDM_NEWACCOUNT_LINK 40008
#define IDM_SELECTACCOUNT_LINK 40009
#define IDM_NEWCONTACT_LINK 40010
#define IDM_SELECTCONTACT_LINK 40011
#define IDM_NEWCONTACT 40012
#define IDM_SELECTCONTACT 40013
#define IDM_NEWOPPORTUNITY 40014
#define IDM_NEWTASK 40015
#define IDM_SELECTTASK 40016
#define IDM_SELECTOPPORTUNITY 40017
#define IDM_EXPORTTEXT 40018
#define IDM_EXPORTEXCEL 40019

// Submenus of "IDM_POP_MENU", by position.
#define IDM_SUB_ACCOUNT 0
#define IDM_SUB_RELATION 1
#define IDM_SUB_CONTACT 2
#define IDM_SUB_OPPORTUNITY 3
#define IDM_SUB_TASK 4
#define IDM_SUB_EXPORT 5

// Main window controls.
#define IDC_MAIN_TOOLBAR 10001
#define IDC_MAIN_STATUSBAR 11551

// Toolbar commands.
#define IDC_TB_HOMEPAGE 10002
#define IDC_TB_OPPORTUNITIES 10003
#define IDC_TB_ACCOUNTS 10004
#define IDC_TB_CONTACTS 10005
#define IDC_TB_TASKS 10006
#define IDC_TB_MAIL 10007
#define IDC_TB_BACK 10008
#define IDC_TB_FORWARD 10009
#define IDC_TB_SETTING 10010
#define IDC_TB_EXPORT 10011

// First-run wizard and login dialogs.
#define IDC_WELCOME_LINE1 1103
#define IDC_WELCOME_LINE2 1104
#define IDC_WELCOME_LINE3 1106
#define IDC_WELCOME_LINE4 1093
#define IDC_BACK 1097
#define IDC_AGREE 1098
#define IDC_DISAGREE 1099
#define IDC_AGREEMENT 1100
#define IDC_SET_USER 1086
#define IDC_SET_PWD 1087
#define IDC_SET_PWD2 1088
#define IDC_LOGIN_PWD 1087
#define IDC_LOGIN_USER 1100
#define IDC_LOGIN_USERLABEL 1101
#define IDC_LOGIN_PWDLABEL 1102
#define IDC_LOGIN_NOTE1 1093
#define IDC_LOGIN_NOTE2 1094
#define IDC_LOGIN_NOTE3 1095
#define IDC_LOGIN_NOTE4 1096
#define IDC_LOGIN_NOTE5 1097

// String table: the usage agreement in five parts.
#define IDS_AGREEMENT1 1
#define IDS_AGREEMENT2 2
#define IDS_AGREEMENT3 3
#define IDS_AGREEMENT4 4
#define IDS_AGREEMENT5 5
