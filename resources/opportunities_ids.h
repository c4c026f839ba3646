// Control ids of the opportunity pages. Plain #defines so that the resource
// script can include this file too.
#pragma once

// Record form "Opp_Detail"
#define IDC_OPPD_SEARCH_EDIT   10101
#define IDC_OPPD_SEARCH        10102
#define IDC_OPPD_SAVE          10103
#define IDC_OPPD_CANCEL        10104
#define IDC_OPPD_EDIT          10105
#define IDC_OPPD_DELETE        10106
#define IDC_OPPD_SUBJECT       10107
#define IDC_OPPD_DESCRIPTION   10108
#define IDC_OPPD_PRIVATE       10109
#define IDC_OPPD_CREATE_DATE   10110
#define IDC_OPPD_DIE_DATE      10111
#define IDC_OPPD_ESTIMATE_SALE 10112
#define IDC_OPPD_SALE          10113
#define IDC_OPPD_IMPORTANT     10114
#define IDC_OPPD_PHASE         10115
#define IDC_OPPD_PROBABILITY   10116
#define IDC_OPPD_CONTACT_DATE  10117
#define IDC_OPPD_FIRST         10118
#define IDC_OPPD_PREV          10119
#define IDC_OPPD_NEXT          10120
#define IDC_OPPD_LAST          10121
#define IDC_OPPD_MENU0         10122
#define IDC_OPPD_MENU1         10123
#define IDC_OPPD_MENU2         10124
#define IDC_OPPD_MENU3         10125
#define IDC_OPPD_MENU4         10126
#define IDC_OPPD_HELP          10127

// List page "Opp_Homepage"
#define IDC_OPPH_SEARCH_EDIT   10151
#define IDC_OPPH_SEARCH        10152
#define IDC_OPPH_LIST          10153
#define IDC_OPPH_MENU0         10154
#define IDC_OPPH_EXPORT        10155
#define IDC_OPPH_MENU1         10156
#define IDC_OPPH_MENU2         10157
#define IDC_OPPH_MENU3         10158
#define IDC_OPPH_MENU4         10159
#define IDC_OPPH_HELP          10160

// Statistics by importance "Opp_ImportantStat"
#define IDC_OPPI_SEARCH_EDIT   10201
#define IDC_OPPI_SEARCH        10202
#define IDC_OPPI_CATEGORIES    10203
#define IDC_OPPI_LIST          10204
#define IDC_OPPI_EXPORT        10205
#define IDC_OPPI_MENU1         10206
#define IDC_OPPI_MENU2         10207
#define IDC_OPPI_MENU3         10208
#define IDC_OPPI_MENU4         10209
#define IDC_OPPI_HELP          10210
#define IDC_OPPI_MENU0         10211

// Statistics by phase "Opp_PhaseStat"
#define IDC_OPPP_SEARCH_EDIT   10301
#define IDC_OPPP_SEARCH        10302
#define IDC_OPPP_CATEGORIES    10303
#define IDC_OPPP_EXPORT        10304
#define IDC_OPPP_MENU2         10305
#define IDC_OPPP_MENU3         10306
#define IDC_OPPP_MENU4         10307
#define IDC_OPPP_HELP          10308
#define IDC_OPPP_MENU0         10309
#define IDC_OPPP_MENU1         10310
#define IDC_OPPP_LIST          10311

// Date statistics "Opp_DateStat"
#define IDC_OPPT_SEARCH_EDIT   10351
#define IDC_OPPT_SEARCH        10352
#define IDC_OPPT_LIST          10353
#define IDC_OPPT_ROW1_TO       10354
#define IDC_OPPT_ROW1_FIND     10355
#define IDC_OPPT_ROW2_FROM     10356
#define IDC_OPPT_ROW2_TO       10357
#define IDC_OPPT_ROW2_FIND     10358
#define IDC_OPPT_ROW3_DATE     10359
#define IDC_OPPT_ROW3_FIND     10360
#define IDC_OPPT_ROW4_FROM     10361
#define IDC_OPPT_ROW4_TO       10362
#define IDC_OPPT_ROW4_FIND     10363
#define IDC_OPPT_ROW5_FROM     10364
#define IDC_OPPT_ROW5_TO       10365
#define IDC_OPPT_ROW5_FIND     10366
#define IDC_OPPT_ROW6_FROM     10367
#define IDC_OPPT_ROW6_TO       10368
#define IDC_OPPT_ROW6_FIND     10369
#define IDC_OPPT_EXPORT        10370
#define IDC_OPPT_MENU0         10371
#define IDC_OPPT_MENU1         10372
#define IDC_OPPT_MENU2         10373
#define IDC_OPPT_MENU3         10374
#define IDC_OPPT_MENU4         10375
#define IDC_OPPT_HELP          10376
#define IDC_OPPT_ROW1_FROM     10377

// Start page "Opp_Start"
#define IDC_OPPS_SEARCH_EDIT   11751
#define IDC_OPPS_SEARCH        11752
#define IDC_OPPS_MENU0         11754
#define IDC_OPPS_MENU1         11755
#define IDC_OPPS_MENU2         11756
#define IDC_OPPS_MENU3         11757
#define IDC_OPPS_MENU4         11758
#define IDC_OPPS_HELP          11759
