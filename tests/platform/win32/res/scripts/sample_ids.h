// Ids of the sample resources: only #defines count in a header.
#ifndef SAMPLE_IDS_H
#define SAMPLE_IDS_H

#define IDC_NAME 1086
#define IDC_PASSWORD 1087
#define IDC_AGREE (1000 + 98)
#define IDC_LIST 1051
#define IDD_NUMBERED 301
#define IDM_NUMBERED 302
#define IDS_FIRST 1
#define IDS_SECOND 2
#define IDS_LONG 5
#define IDM_NEW 40003
#define IDM_OPEN 40004
#define IDM_EXPORT_TEXT 40018
#define EDIT_STYLE (ES_AUTOHSCROLL | WS_BORDER)
#define APP_TITLE "样例程序"

extern int g_ignored_declaration; /* C declarations in headers are skipped */

#endif
