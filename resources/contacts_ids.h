// Control ids of the contact pages. Plain #defines so that a resource script
// can include this file too.
#pragma once

// Record form "Con_Detail"
#define IDC_COND_SEARCH_EDIT 10751
#define IDC_COND_SEARCH 10752
#define IDC_COND_SAVE 10753
#define IDC_COND_CANCEL 10754
#define IDC_COND_EDIT 10755
#define IDC_COND_DELETE 10756
#define IDC_COND_NAME 10757
#define IDC_COND_DESCRIPTION 10758
#define IDC_COND_PRIVATE 10759
#define IDC_COND_CREATE_DATE 10760
#define IDC_COND_IMPORTANT 10761
#define IDC_COND_CONTACT_DATE 10762
#define IDC_COND_RELATION 10765
#define IDC_COND_TELEPHONE 10769
#define IDC_COND_MOBILE 10770
#define IDC_COND_NICKNAME 10772
#define IDC_COND_ACCOUNT 10773
#define IDC_COND_ACCOUNT_MENU 10774
#define IDC_COND_DEPARTMENT 10775
#define IDC_COND_PROVINCE 10776
#define IDC_COND_FIRST 10777
#define IDC_COND_PREV 10778
#define IDC_COND_NEXT 10779
#define IDC_COND_LAST 10780
#define IDC_COND_MENU0 10781
#define IDC_COND_FAMILY 10782
#define IDC_COND_POSTCODE 10783
#define IDC_COND_IM 10784
#define IDC_COND_MENU1 10786
#define IDC_COND_MENU2 10787
#define IDC_COND_MENU3 10788
#define IDC_COND_MENU4 10789
#define IDC_COND_MENU5 10790
#define IDC_COND_MENU6 10791
#define IDC_COND_MENU7 10792
#define IDC_COND_HELP 10793
#define IDC_COND_MAILTO 10794
// Wider than the 16 bits of a WM_COMMAND id: never matched through WM_COMMAND.
#define IDC_COND_EMAIL 104771

// List of all contacts "Con_Homepage"
#define IDC_CONH_SEARCH_EDIT 10801
#define IDC_CONH_SEARCH 10802
#define IDC_CONH_LIST 10803
#define IDC_CONH_MENU0 10804
#define IDC_CONH_EXPORT 10805
#define IDC_CONH_MAIL 10806
#define IDC_CONH_MENU1 10807
#define IDC_CONH_MENU2 10808
#define IDC_CONH_MENU3 10809
#define IDC_CONH_MENU4 10810
#define IDC_CONH_MENU5 10811
#define IDC_CONH_MENU6 10812
#define IDC_CONH_MENU7 10813
#define IDC_CONH_HELP 10814

// Contacts by date "Con_Date"
#define IDC_CONT_SEARCH_EDIT 11101
#define IDC_CONT_SEARCH 11102
#define IDC_CONT_LIST 11103
#define IDC_CONT_ROW1_FROM 11104
#define IDC_CONT_ROW1_TO 11105
#define IDC_CONT_ROW1_FIND 11106
#define IDC_CONT_ROW2_DATE 11107
#define IDC_CONT_ROW2_FIND 11108
#define IDC_CONT_ROW3_FROM 11109
#define IDC_CONT_ROW3_TO 11110
#define IDC_CONT_ROW3_FIND 11111
#define IDC_CONT_EXPORT 11112
#define IDC_CONT_MAIL 11113
#define IDC_CONT_MENU0 11114
#define IDC_CONT_HELP 11122

// Start page "Con_Start"
#define IDC_CONS_SEARCH_EDIT 11851
#define IDC_CONS_SEARCH 11852
#define IDC_CONS_MENU0 11854
#define IDC_CONS_MENU1 11857
#define IDC_CONS_HELP 11864

// Statistics pages: the first id of each page; its controls follow at fixed
// offsets (search edit +0, search +1, categories +2, records +3, export +4,
// mail +5, menu +6 .. +13, help +14). The relation page's menu and help
// start elsewhere.
#define IDC_CONI_BASE 10851
#define IDC_CONR_BASE 10901
#define IDC_CONR_MENU_BASE 11007
#define IDC_CONO_BASE 10951
#define IDC_CONN_BASE 11001
#define IDC_CONP_BASE 11051
