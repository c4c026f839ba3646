// Control ids of the settings pages. Plain #defines so that the resource
// script can include this file too.
#pragma once

// Mail settings "MailSetting"
#define IDC_MSET_SMTPSERVER  11651
#define IDC_MSET_USER        11652
#define IDC_MSET_PASSWORD    11653
#define IDC_MSET_SSL         11654
#define IDC_MSET_ESMTP       11655
#define IDC_MSET_PORT        11656
#define IDC_MSET_EMAIL       11657
#define IDC_MSET_SIGN        11658
#define IDC_MSET_SAVE        11659
#define IDC_MSET_MENU1       11661
#define IDC_MSET_MENU2       11662
#define IDC_MSET_MENU3       11663
#define IDC_MSET_MENU4       11664
#define IDC_MSET_MENU5       11665
#define IDC_MSET_MENU6       11666
#define IDC_MSET_MENU7       11667
#define IDC_MSET_HELP        11668
#define IDC_MSET_NAME        11669
#define IDC_MSET_MENU8       11670
#define IDC_MSET_AGAINTIME   11671

// Lookup-category editor "OptionSetting"
#define IDC_OSET_LIST        11701
#define IDC_OSET_VALUE       11702
#define IDC_OSET_PROBABILITY 11703
#define IDC_OSET_ADD         11704
#define IDC_OSET_MODIFY      11705
#define IDC_OSET_DELETE      11706
#define IDC_OSET_OK          11707
#define IDC_OSET_CANCEL      11708
#define IDC_OSET_MENU1       11710
#define IDC_OSET_MENU2       11711
#define IDC_OSET_MENU3       11712
#define IDC_OSET_MENU4       11713
#define IDC_OSET_MENU5       11714
#define IDC_OSET_MENU6       11715
#define IDC_OSET_MENU7       11716
#define IDC_OSET_HELP        11717
#define IDC_OSET_MENU8       11718

// Login settings "LoginSetting"
#define IDC_LSET_SAVE        11951
#define IDC_LSET_NAME        11952
#define IDC_LSET_OLDPWD      11953
#define IDC_LSET_NEWPWD      11954
#define IDC_LSET_CONFIRM     11955
#define IDC_LSET_MENU1       11957
#define IDC_LSET_MENU2       11958
#define IDC_LSET_MENU3       11959
#define IDC_LSET_MENU4       11960
#define IDC_LSET_MENU5       11961
#define IDC_LSET_MENU7       11963
#define IDC_LSET_HELP        11964
#define IDC_LSET_MENU8       11965
#define IDC_LSET_MENU6       11966
