// The program's entry, its main window and the globals every view shares.
#pragma once

#include "win32.h"

#include "shell/BaseDialogClass.h"
#include "shell/ExportClass.h"
#include "shell/HistoryClass.h"
#include "shell/ListViewClass.h"
#include "shell/MainWindow.h"
#include "shell/StatusBarClass.h"
#include "shell/TabControlClass.h"
#include "shell/ToolbarClass.h"
#include "shell/ViewMessages.h"
#include "shell/ViewSwitch.h"
#include "settings/SettingNavigation.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_Navigation.h"
#include "views/opportunities/Opp_Navigation.h"
#include "views/tasks/Tas_Navigation.h"

#define MAIN_WINDOW_CLASS "Tarvel Sales Logs"
#define COMPANY_NAME "北京塔维尔信息技术有限公司"

extern HIMAGELIST g_hImageList;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The parts of WinMain: registers and creates the main window (its creation
// connects, builds the bars and views and runs the login or the wizard) and
// shows it unless start-up ended; null when creation failed (the message
// shown). Then the message loop, which returns the exit code. Then
// DestroyMainWindow removes a window that is still there without posting
// another quit.
HWND CreateMainWindow(HINSTANCE hInstance);
// Steps of the main window's creation: the toolbar (with its images and
// buttons) and the status bar; then the 37 views below the toolbar. Each
// returns 0, or -1 when the window cannot be used (a message shown).
int CreateBars(HWND hWnd);
int CreateViews(HWND hWnd);
int RunMessageLoop();
void DestroyMainWindow();

// The 37 views in creation order (the view table).
const int VIEW_COUNT = 37;
extern BaseDialogClass* const g_ViewTable[VIEW_COUNT];
// Window class name of each view, in the same order.
extern const char* const g_ViewClassNames[VIEW_COUNT];

// Positions of the views in the view table.
enum ViewIndex {
    VIEW_HOMEPAGE, VIEW_OPP_DETAIL, VIEW_OPP_HOMEPAGE, VIEW_OPP_IMPORTANTSTAT, VIEW_OPP_PHASESTAT,
    VIEW_OPP_DATESTAT, VIEW_ACC_DETAIL, VIEW_ACC_HOMEPAGE, VIEW_ACC_IMPORTANTSTAT,
    VIEW_ACC_OPPORTUNITIESSTAT, VIEW_ACC_RELATIONSTAT, VIEW_ACC_TYPESTAT, VIEW_ACC_INDUSTRYSTAT,
    VIEW_ACC_PROVINCESTAT, VIEW_ACC_DATESTAT, VIEW_CON_DETAIL, VIEW_CON_HOMEPAGE,
    VIEW_CON_IMPORTANT, VIEW_CON_RELATION, VIEW_CON_OPPORTUNITIES, VIEW_CON_INDUSTRY,
    VIEW_CON_PROVINCE, VIEW_CON_DATE, VIEW_TAS_DETAIL, VIEW_TAS_HOMEPAGE, VIEW_TAS_WEEK,
    VIEW_TAS_MONTH, VIEW_TAS_LISTALL, VIEW_MAIL, VIEW_MAILSETTING, VIEW_OPTIONSETTING,
    VIEW_OPP_START, VIEW_ACC_START, VIEW_CON_START, VIEW_TAS_CLOSEDSTAT, VIEW_LOGINSETTING,
    VIEW_EXPORT,
};
inline BaseDialogClass* ViewAt(int nIndex) { return g_ViewTable[nIndex]; }

// The view objects (each defined with its class).
class HomepageDialogClass;
class Opp_DetailDialogClass;
class Opp_HomepageDialogClass;
class Opp_ImportantStatDialogClass;
class Opp_PhaseStatDialogClass;
class Opp_DateStatDialogClass;
class Acc_DetailDialogClass;
class Acc_HomepageDialogClass;
class Acc_ImportantStatDialogClass;
class Acc_OpportunitiesStatDialogClass;
class Acc_RelationStatDialogClass;
class Acc_TypeStatDialogClass;
class Acc_IndustryStatDialogClass;
class Acc_ProvinceStatDialogClass;
class Acc_DateStatDialogClass;
class Con_DetailDialogClass;
class Con_HomepageDialogClass;
class Con_ImportantDialogClass;
class Con_RelationDialogClass;
class Con_OpportunitiesDialogClass;
class Con_IndustryDialogClass;
class Con_ProvinceDialogClass;
class Con_DateDialogClass;
class Tas_DetailDialogClass;
class Tas_HomepageDialogClass;
class Tas_WeekDialogClass;
class Tas_MonthDialogClass;
class Tas_ListAllDialogClass;
class MailDialogClass;
class MailSettingDialogClass;
class OptionSettingDialogClass;
class Opp_StartDialogClass;
class Acc_StartDialogClass;
class Con_StartDialogClass;
class Tas_ClosedStatDialogClass;
class LoginSettingDialogClass;
class ExportDialogClass;

extern HomepageDialogClass g_Homepage;
extern Opp_DetailDialogClass g_Opp_Detail;
extern Opp_HomepageDialogClass g_Opp_Homepage;
extern Opp_ImportantStatDialogClass g_Opp_ImportantStat;
extern Opp_PhaseStatDialogClass g_Opp_PhaseStat;
extern Opp_DateStatDialogClass g_Opp_DateStat;
extern Acc_DetailDialogClass g_Acc_Detail;
extern Acc_HomepageDialogClass g_Acc_Homepage;
extern Acc_ImportantStatDialogClass g_Acc_ImportantStat;
extern Acc_OpportunitiesStatDialogClass g_Acc_OpportunitiesStat;
extern Acc_RelationStatDialogClass g_Acc_RelationStat;
extern Acc_TypeStatDialogClass g_Acc_TypeStat;
extern Acc_IndustryStatDialogClass g_Acc_IndustryStat;
extern Acc_ProvinceStatDialogClass g_Acc_ProvinceStat;
extern Acc_DateStatDialogClass g_Acc_DateStat;
extern Con_DetailDialogClass g_Con_Detail;
extern Con_HomepageDialogClass g_Con_Homepage;
extern Con_ImportantDialogClass g_Con_Important;
extern Con_RelationDialogClass g_Con_Relation;
extern Con_OpportunitiesDialogClass g_Con_Opportunities;
extern Con_IndustryDialogClass g_Con_Industry;
extern Con_ProvinceDialogClass g_Con_Province;
extern Con_DateDialogClass g_Con_Date;
extern Tas_DetailDialogClass g_Tas_Detail;
extern Tas_HomepageDialogClass g_Tas_Homepage;
extern Tas_WeekDialogClass g_Tas_Week;
extern Tas_MonthDialogClass g_Tas_Month;
extern Tas_ListAllDialogClass g_Tas_ListAll;
extern MailDialogClass g_Mail;
extern MailSettingDialogClass g_MailSetting;
extern OptionSettingDialogClass g_OptionSetting;
extern Opp_StartDialogClass g_Opp_Start;
extern Acc_StartDialogClass g_Acc_Start;
extern Con_StartDialogClass g_Con_Start;
extern Tas_ClosedStatDialogClass g_Tas_ClosedStat;
extern LoginSettingDialogClass g_LoginSetting;
extern ExportDialogClass g_Export;

// How start-up ended (for WinMain and the tests).
enum StartupResult {
    STARTUP_RUN = 0,   // logged in or wizard completed: the main window is used
    STARTUP_QUIT = 1,  // cancelled, refused or five wrong passwords: exit 0
    STARTUP_FAIL = 2,  // the first-run flag could not be read: exit -1
};
extern int g_nStartupResult;
