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

// The views of the main window in creation order, one row each: the
// position in the view table, the class, the object (defined with its
// class) and the window class. The view table, the window-class names and
// the positions are all made from this one list.
#define TARVEL_VIEWS(X)                                                                                               \
    X(VIEW_HOMEPAGE, HomepageDialogClass, g_Homepage, "Homepage")                                                     \
    X(VIEW_OPP_DETAIL, Opp_DetailDialogClass, g_Opp_Detail, "Opp_Detail")                                             \
    X(VIEW_OPP_HOMEPAGE, Opp_HomepageDialogClass, g_Opp_Homepage, "Opp_Homepage")                                     \
    X(VIEW_OPP_IMPORTANTSTAT, Opp_ImportantStatDialogClass, g_Opp_ImportantStat, "Opp_ImportantStat")                 \
    X(VIEW_OPP_PHASESTAT, Opp_PhaseStatDialogClass, g_Opp_PhaseStat, "Opp_PhaseStat")                                 \
    X(VIEW_OPP_DATESTAT, Opp_DateStatDialogClass, g_Opp_DateStat, "Opp_DateStat")                                     \
    X(VIEW_ACC_DETAIL, Acc_DetailDialogClass, g_Acc_Detail, "Acc_Detail")                                             \
    X(VIEW_ACC_HOMEPAGE, Acc_HomepageDialogClass, g_Acc_Homepage, "Acc_Homepage")                                     \
    X(VIEW_ACC_IMPORTANTSTAT, Acc_ImportantStatDialogClass, g_Acc_ImportantStat, "Acc_ImportantStat")                 \
    X(VIEW_ACC_OPPORTUNITIESSTAT, Acc_OpportunitiesStatDialogClass, g_Acc_OpportunitiesStat, "Acc_OpportunitiesStat") \
    X(VIEW_ACC_RELATIONSTAT, Acc_RelationStatDialogClass, g_Acc_RelationStat, "Acc_RelationStat")                     \
    X(VIEW_ACC_TYPESTAT, Acc_TypeStatDialogClass, g_Acc_TypeStat, "Acc_TypeStat")                                     \
    X(VIEW_ACC_INDUSTRYSTAT, Acc_IndustryStatDialogClass, g_Acc_IndustryStat, "Acc_IndustryStat")                     \
    X(VIEW_ACC_PROVINCESTAT, Acc_ProvinceStatDialogClass, g_Acc_ProvinceStat, "Acc_ProvinceStat")                     \
    X(VIEW_ACC_DATESTAT, Acc_DateStatDialogClass, g_Acc_DateStat, "Acc_DateStat")                                     \
    X(VIEW_CON_DETAIL, Con_DetailDialogClass, g_Con_Detail, "Con_Detail")                                             \
    X(VIEW_CON_HOMEPAGE, Con_HomepageDialogClass, g_Con_Homepage, "Con_Homepage")                                     \
    X(VIEW_CON_IMPORTANT, Con_ImportantDialogClass, g_Con_Important, "Con_Important")                                 \
    X(VIEW_CON_RELATION, Con_RelationDialogClass, g_Con_Relation, "Con_Relation")                                     \
    X(VIEW_CON_OPPORTUNITIES, Con_OpportunitiesDialogClass, g_Con_Opportunities, "Con_Opportunities")                 \
    X(VIEW_CON_INDUSTRY, Con_IndustryDialogClass, g_Con_Industry, "Con_Industry")                                     \
    X(VIEW_CON_PROVINCE, Con_ProvinceDialogClass, g_Con_Province, "Con_Province")                                     \
    X(VIEW_CON_DATE, Con_DateDialogClass, g_Con_Date, "Con_Date")                                                     \
    X(VIEW_TAS_DETAIL, Tas_DetailDialogClass, g_Tas_Detail, "Tas_Detail")                                             \
    X(VIEW_TAS_HOMEPAGE, Tas_HomepageDialogClass, g_Tas_Homepage, "Tas_Homepage")                                     \
    X(VIEW_TAS_WEEK, Tas_WeekDialogClass, g_Tas_Week, "Tas_Week")                                                     \
    X(VIEW_TAS_MONTH, Tas_MonthDialogClass, g_Tas_Month, "Tas_Month")                                                 \
    X(VIEW_TAS_LISTALL, Tas_ListAllDialogClass, g_Tas_ListAll, "Tas_ListAll")                                         \
    X(VIEW_MAIL, MailDialogClass, g_Mail, "Mail")                                                                     \
    X(VIEW_MAILSETTING, MailSettingDialogClass, g_MailSetting, "MailSetting")                                         \
    X(VIEW_OPTIONSETTING, OptionSettingDialogClass, g_OptionSetting, "OptionSetting")                                 \
    X(VIEW_OPP_START, Opp_StartDialogClass, g_Opp_Start, "Opp_Start")                                                 \
    X(VIEW_ACC_START, Acc_StartDialogClass, g_Acc_Start, "Acc_Start")                                                 \
    X(VIEW_CON_START, Con_StartDialogClass, g_Con_Start, "Con_Start")                                                 \
    X(VIEW_TAS_CLOSEDSTAT, Tas_ClosedStatDialogClass, g_Tas_ClosedStat, "Tas_ClosedStat")                             \
    X(VIEW_LOGINSETTING, LoginSettingDialogClass, g_LoginSetting, "LoginSetting")                                     \
    X(VIEW_EXPORT, ExportDialogClass, g_Export, "Export")

// Positions of the views in the view table.
enum ViewIndex {
#define TARVEL_VIEW_INDEX(index, type, object, name) index,
    TARVEL_VIEWS(TARVEL_VIEW_INDEX)
#undef TARVEL_VIEW_INDEX
        VIEW_COUNT
};

#define TARVEL_VIEW_OBJECT(index, type, object, name) \
    class type;                                       \
    extern type object;
TARVEL_VIEWS(TARVEL_VIEW_OBJECT)
#undef TARVEL_VIEW_OBJECT

// The views in creation order (the view table).
extern BaseDialogClass* const g_ViewTable[VIEW_COUNT];
// Window class name of each view, in the same order.
extern const char* const g_ViewClassNames[VIEW_COUNT];
inline BaseDialogClass* ViewAt(int nIndex) { return g_ViewTable[nIndex]; }
// The window class of a view of the table; "" for any other object.
const char* ViewClassName(const BaseDialogClass* pView);

// The main window, null until it is created.
extern HWND g_hMainWnd;

// How start-up ended (for WinMain and the tests).
enum StartupResult {
    STARTUP_RUN = 0,   // logged in or wizard completed: the main window is used
    STARTUP_QUIT = 1,  // cancelled, refused or five wrong passwords: exit 0
    STARTUP_FAIL = 2,  // the first-run flag could not be read: exit -1
};
extern int g_nStartupResult;
