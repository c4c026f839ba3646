// Control ids of the account pages. Plain #defines so that a resource script
// can include this file too.
#pragma once

// Record form "Acc_Detail"
#define IDC_ACCD_SEARCH_EDIT   10401
#define IDC_ACCD_SEARCH        10402
#define IDC_ACCD_SAVE          10403
#define IDC_ACCD_CANCEL        10404
#define IDC_ACCD_EDIT          10405
#define IDC_ACCD_DELETE        10406
#define IDC_ACCD_NAME          10407
#define IDC_ACCD_DESCRIPTION   10408
#define IDC_ACCD_PRIVATE       10409
#define IDC_ACCD_CREATE_DATE   10410
#define IDC_ACCD_IMPORTANT     10411
#define IDC_ACCD_CONTACT_DATE  10412
#define IDC_ACCD_TYPE          10413
#define IDC_ACCD_INDUSTRY      10414
#define IDC_ACCD_RELATION      10415
#define IDC_ACCD_ADDRESS       10416
#define IDC_ACCD_POSTCODE      10417
#define IDC_ACCD_PROVINCE      10418
#define IDC_ACCD_TELEPHONE     10419
#define IDC_ACCD_FAX           10420
#define IDC_ACCD_WEBSITE       10421
#define IDC_ACCD_FIRST         10422
#define IDC_ACCD_PREV          10423
#define IDC_ACCD_NEXT          10424
#define IDC_ACCD_LAST          10425
#define IDC_ACCD_MENU0         10426
#define IDC_ACCD_MENU1         10428
#define IDC_ACCD_MENU2         10429
#define IDC_ACCD_MENU3         10430
#define IDC_ACCD_MENU4         10431
#define IDC_ACCD_MENU5         10432
#define IDC_ACCD_MENU6         10433
#define IDC_ACCD_MENU7         10434
#define IDC_ACCD_MENU8         10435
#define IDC_ACCD_HELP          10436

// List page "Acc_Homepage"
#define IDC_ACCH_SEARCH_EDIT   10451
#define IDC_ACCH_SEARCH        10452
#define IDC_ACCH_LIST          10453
#define IDC_ACCH_MENU0         10454
#define IDC_ACCH_EXPORT        10455
#define IDC_ACCH_MENU1         10456
#define IDC_ACCH_MENU2         10457
#define IDC_ACCH_MENU3         10458
#define IDC_ACCH_MENU4         10459
#define IDC_ACCH_MENU5         10460
#define IDC_ACCH_MENU6         10461
#define IDC_ACCH_MENU7         10462
#define IDC_ACCH_MENU8         10463
#define IDC_ACCH_HELP          10464

// Date statistics "Acc_DateStat"
#define IDC_ACCT_SEARCH_EDIT   10501
#define IDC_ACCT_SEARCH        10502
#define IDC_ACCT_LIST          10503
#define IDC_ACCT_ROW1_FROM     10504
#define IDC_ACCT_ROW1_TO       10505
#define IDC_ACCT_ROW1_FIND     10506
#define IDC_ACCT_ROW2_DATE     10507
#define IDC_ACCT_ROW2_FIND     10508
#define IDC_ACCT_ROW3_FROM     10509
#define IDC_ACCT_ROW3_TO       10510
#define IDC_ACCT_ROW3_FIND     10511
#define IDC_ACCT_EXPORT        10512
#define IDC_ACCT_MENU0         10513  // entries 0-8: 10513-10521
#define IDC_ACCT_HELP          10522

// Statistics by category: importance and type "Acc_ImportantStat", "Acc_TypeStat"
// (each page is the parent of its own controls, so the two share their ids)
#define IDC_ACCI_SEARCH_EDIT   10501
#define IDC_ACCI_SEARCH        10502
#define IDC_ACCI_CATEGORIES    10503
#define IDC_ACCI_LIST          10504
#define IDC_ACCI_EXPORT        10505
#define IDC_ACCI_MENU0         10506  // entries 0-8: 10506-10514
#define IDC_ACCI_HELP          10515

// "Acc_OpportunitiesStat"
#define IDC_ACCO_SEARCH_EDIT   10551
#define IDC_ACCO_SEARCH        10552
#define IDC_ACCO_CATEGORIES    10553
#define IDC_ACCO_LIST          10554
#define IDC_ACCO_EXPORT        10555
#define IDC_ACCO_MENU0         10556  // entries 0-8: 10556-10564
#define IDC_ACCO_HELP          10565

// "Acc_RelationStat"
#define IDC_ACCR_SEARCH_EDIT   10601
#define IDC_ACCR_SEARCH        10602
#define IDC_ACCR_CATEGORIES    10603
#define IDC_ACCR_LIST          10604
#define IDC_ACCR_EXPORT        10605
#define IDC_ACCR_MENU0         10606  // entries 0-8: 10606-10614
#define IDC_ACCR_HELP          10615

// "Acc_IndustryStat" (its menu takes the list page's menu ids)
#define IDC_ACCN_SEARCH_EDIT   10651
#define IDC_ACCN_SEARCH        10652
#define IDC_ACCN_CATEGORIES    10653
#define IDC_ACCN_LIST          10654
#define IDC_ACCN_EXPORT        10655
#define IDC_ACCN_HELP          10464

// "Acc_ProvinceStat"
#define IDC_ACCP_SEARCH_EDIT   10701
#define IDC_ACCP_SEARCH        10702
#define IDC_ACCP_CATEGORIES    10703
#define IDC_ACCP_LIST          10704
#define IDC_ACCP_EXPORT        10705
#define IDC_ACCP_MENU0         10706  // entries 0-8: 10706-10714
#define IDC_ACCP_HELP          10715

// Start page "Acc_Start"
#define IDC_ACCS_SEARCH_EDIT   11801
#define IDC_ACCS_SEARCH        11802
#define IDC_ACCS_MENU0         11803  // entries 0-8: 11803-11811
#define IDC_ACCS_HELP          11812
