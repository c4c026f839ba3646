#include "program/main.h"

#include <clocale>
#include <new>

#include "shell/FirstRunWizard.h"
#include "program/HomepageDialogClass.h"
#include "store/ODBCClass.h"
#include "store/Report.h"
#include "store/SettingClass.h"

#include "views/accounts/Acc_DateStatDialogClass.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ImportantStatDialogClass.h"
#include "views/accounts/Acc_IndustryStatDialogClass.h"
#include "views/accounts/Acc_OpportunitiesStatDialogClass.h"
#include "views/accounts/Acc_ProvinceStatDialogClass.h"
#include "views/accounts/Acc_RelationStatDialogClass.h"
#include "views/accounts/Acc_StartDialogClass.h"
#include "views/accounts/Acc_TypeStatDialogClass.h"
#include "views/contacts/Con_DateDialogClass.h"
#include "views/contacts/Con_DetailDialogClass.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ImportantDialogClass.h"
#include "views/contacts/Con_IndustryDialogClass.h"
#include "views/contacts/Con_OpportunitiesDialogClass.h"
#include "views/contacts/Con_ProvinceDialogClass.h"
#include "views/contacts/Con_RelationDialogClass.h"
#include "views/contacts/Con_StartDialogClass.h"
#include "settings/ExportDialogClass.h"
#include "settings/LoginSettingDialogClass.h"
#include "mail/MailDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "views/opportunities/Opp_DateStatDialogClass.h"
#include "views/opportunities/Opp_DetailDialogClass.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ImportantStatDialogClass.h"
#include "views/opportunities/Opp_PhaseStatDialogClass.h"
#include "views/opportunities/Opp_StartDialogClass.h"
#include "views/tasks/Tas_ClosedStatDialogClass.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_HomepageDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_MonthDialogClass.h"
#include "views/tasks/Tas_WeekDialogClass.h"
#include "resources/message_texts.h"
#include "shell/Report.h"

HIMAGELIST g_hImageList = nullptr;
int g_nStartupResult = STARTUP_RUN;

BaseDialogClass* const g_ViewTable[VIEW_COUNT] = {
#define TARVEL_VIEW_ADDRESS(index, type, object, name) &object,
    TARVEL_VIEWS(TARVEL_VIEW_ADDRESS)
#undef TARVEL_VIEW_ADDRESS
};

const char* const g_ViewClassNames[VIEW_COUNT] = {
#define TARVEL_VIEW_NAME(index, type, object, name) name,
    TARVEL_VIEWS(TARVEL_VIEW_NAME)
#undef TARVEL_VIEW_NAME
};

const char* ViewClassName(const BaseDialogClass* pView) {
    for (int i = 0; i < VIEW_COUNT; ++i)
        if (g_ViewTable[i] == pView) return g_ViewClassNames[i];
    return "";
}

namespace {

// Message shown when a view's creation fails, by its row in the view table.
const char* CreateFailureText(int nIndex) {
    switch (nIndex) {
    case VIEW_HOMEPAGE: return msg::kCreateHomepage;
    case VIEW_OPP_DETAIL: return msg::kCreateOppDetail;
    case VIEW_OPP_HOMEPAGE: return msg::kCreateOppHomepage;
    case VIEW_OPP_IMPORTANTSTAT: return msg::kCreateOppImportantStat;
    case VIEW_OPP_PHASESTAT:
    case VIEW_OPP_DATESTAT: return msg::kCreateOppPhaseAndDateStat;
    case VIEW_ACC_DETAIL: return msg::kCreateAccDetail;
    default: return msg::kCreateOtherView;
    }
}

// The ten toolbar images, in image-list order.
const char* const kToolbarBitmaps[10] = {
    "ID_BMP_HOMEPAGE", "ID_BMP_OPPORTUNITIES", "ID_BMP_ACCOUNTS", "ID_BMP_CONTACTS", "ID_BMP_TASKS",
    "ID_BMP_MAIL",     "ID_BMP_BACK",          "ID_BMP_FORWARD",  "ID_BMP_SETTING",  "ID_BMP_EXPORT",
};
const COLORREF kToolbarMask = 0xCA08D1;

bool s_bClosingQuietly = false;  // WinMain destroys a window nobody uses

}  // namespace

int CreateBars(HWND hWnd) {
    // Without a toolbar the views would sit at y = -1; give up instead.
    if (g_Toolbar.Create(g_hInstance, hWnd, WS_CHILD, IDC_MAIN_TOOLBAR) != 0) return -1;

    if (!g_hImageList) {
        g_hImageList = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 10, 0);
        for (const char* pszName : kToolbarBitmaps) {
            HBITMAP hBmp = LoadBitmapA(g_hInstance, pszName);
            ImageList_AddMasked(g_hImageList, hBmp, kToolbarMask);
            if (hBmp) DeleteObject(hBmp);
        }
    }
    g_Toolbar.SetImageList(0, g_hImageList);

    g_Toolbar.m_nButtons = 0;
    g_Toolbar.AddButton("后退", IDC_TB_BACK, 6);
    g_Toolbar.AddButton("前进", IDC_TB_FORWARD, 7);
    g_Toolbar.AddSeparator();
    g_Toolbar.AddSeparator();
    g_Toolbar.AddCheckButton("首页", IDC_TB_HOMEPAGE, 0);
    g_Toolbar.AddCheckButton("项目机会", IDC_TB_OPPORTUNITIES, 1);
    g_Toolbar.AddCheckButton("客户单位", IDC_TB_ACCOUNTS, 2);
    g_Toolbar.AddCheckButton("联系人", IDC_TB_CONTACTS, 3);
    g_Toolbar.AddCheckButton("计划日志", IDC_TB_TASKS, 4);
    g_Toolbar.AddCheckButton("邮件群发", IDC_TB_MAIL, 5);
    g_Toolbar.AddCheckButton("选项设置", IDC_TB_SETTING, 8);
    g_Toolbar.AddCheckButton("导出日志", IDC_TB_EXPORT, 9);
    g_Toolbar.CommitButtons();
    g_Toolbar.SetTarget(IDC_TB_HOMEPAGE, ViewAt(VIEW_HOMEPAGE));
    g_Toolbar.SetTarget(IDC_TB_OPPORTUNITIES, ViewAt(VIEW_OPP_START));
    g_Toolbar.SetTarget(IDC_TB_ACCOUNTS, ViewAt(VIEW_ACC_START));
    g_Toolbar.SetTarget(IDC_TB_CONTACTS, ViewAt(VIEW_CON_START));
    g_Toolbar.SetTarget(IDC_TB_TASKS, ViewAt(VIEW_TAS_HOMEPAGE));
    g_Toolbar.SetTarget(IDC_TB_MAIL, ViewAt(VIEW_MAIL));
    g_Toolbar.SetTarget(IDC_TB_SETTING, ViewAt(VIEW_MAILSETTING));
    g_Toolbar.SetTarget(IDC_TB_EXPORT, ViewAt(VIEW_EXPORT));
    g_Toolbar.CheckButton(IDC_TB_HOMEPAGE, 1);

    g_StatusBar.Create(hWnd, IDC_MAIN_STATUSBAR, 2);
    g_StatusBar.SetText(0, COMPANY_NAME);
    return g_Toolbar.GetHeight() < 0 ? -1 : 0;
}

namespace {

// A view object that had a window in an earlier main window of this process
// starts again as a new object: its controls went with that window, and its
// InitDialog builds only once per object.
template <class View>
void RenewView(View& view) {
    if (!view.m_hWnd) return;
    view.~View();
    new (&view) View();
}

}  // namespace

int CreateViews(HWND hWnd) {
    const int y = g_Toolbar.GetHeight();
    if (y < 0) return -1;
#define TARVEL_RENEW_VIEW(index, type, object, name) RenewView(object);
    TARVEL_VIEWS(TARVEL_RENEW_VIEW)
#undef TARVEL_RENEW_VIEW
    BaseDialogClass::SetViewTable(g_ViewTable, VIEW_COUNT);
    for (int i = 0; i < VIEW_COUNT; ++i) {
        if (g_ViewTable[i]->CreateDialog(g_hInstance, hWnd, g_ViewClassNames[i], y) == -1) {
            ReportError(CreateFailureText(i));
            return -1;
        }
    }
    return 0;
}

namespace {

int OnCreate(HWND hWnd) {
    g_hMainWnd = hWnd;
    if (g_ODBC.co_InitODBC() == -1) {
        ReportError(msg::kMainInitODBC);
        return -1;
    }

    if (CreateBars(hWnd) != 0 || CreateViews(hWnd) != 0) return -1;

    // A failed read of the first-run flag must not run the wizard over an
    // existing installation: start-up ends here.
    if (g_Setting.cst_GetInit() == -1) {
        g_nStartupResult = STARTUP_FAIL;
        return -1;
    }
    const int bStart = g_Setting.set_init ? RunLogin(g_hInstance) : RunFirstRunWizard(g_hInstance);
    if (!bStart) {
        // Cancelled, refused or locked out: the quit is posted; nothing is
        // shown and the start page runs no query.
        g_nStartupResult = STARTUP_QUIT;
        return 0;
    }

    g_Homepage.ShowDialog();
    SendMessageA(g_Homepage.m_hWnd, UM_OPENVIEW, 0, 0);
    g_pCurrentDialog = &g_Homepage;
    return 0;
}

void OnSize(HWND hWnd) {
    g_StatusBar.Resize();
    g_Toolbar.AutoSize();
    for (int i = 0; i < VIEW_COUNT; ++i) {
        if (g_ViewTable[i]->m_hWnd) g_ViewTable[i]->ResizeDialog(hWnd);
    }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_CREATE: return OnCreate(hWnd);
    case WM_SIZE:
        if (g_nStartupResult == STARTUP_RUN) OnSize(hWnd);
        return 0;
    case WM_COMMAND: g_Toolbar.OnCommand(hWnd, uMsg, wParam, lParam); return 0;
    case UM_REPORTEDACTIONDONE: EndReportedAction(); return 0;
    case WM_DESTROY:
        // A mail run must end before the pages it reports to go.
        g_Mail.StopRun(MailDialogClass::kStopWaitMs);
        if (!s_bClosingQuietly) PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

HWND CreateMainWindow(HINSTANCE hInstance) {
    g_hInstance = hInstance;
    g_nStartupResult = STARTUP_RUN;
    // The store reports its errors the way the program reports its own.
    store::SetReporter(ReportError);
    // Statements format numbers with "%f": keep the decimal point a point.
    std::setlocale(LC_NUMERIC, "C");

    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, "IDI_APPLICATION_ICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = MAIN_WINDOW_CLASS;
    WNDCLASSA wcOld{};
    if (!RegisterClassA(&wc) &&
        !(GetClassInfoA(hInstance, MAIN_WINDOW_CLASS, &wcOld) && wcOld.lpfnWndProc == MainWndProc)) {
        ReportError(msg::kMainRegisterClass);
        g_nStartupResult = STARTUP_FAIL;
        return nullptr;
    }

    HWND hWnd = CreateWindowExA(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_CLASS, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd) {
        ReportError(msg::kMainCreateWindow);
        g_nStartupResult = STARTUP_FAIL;
        g_hMainWnd = nullptr;
        return nullptr;
    }

    // After a cancelled login nothing is shown; the loop ends at once.
    if (g_nStartupResult == STARTUP_RUN) {
        ShowWindow(hWnd, SW_SHOWMAXIMIZED);
        UpdateWindow(hWnd);
    }
    return hWnd;
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL r = GetMessageA(&msg, nullptr, 0, 0);
        if (r == 0) return (int)msg.wParam;
        if (r == -1) return -1;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void DestroyMainWindow() {
    if (g_hMainWnd && IsWindow(g_hMainWnd)) {
        s_bClosingQuietly = true;
        DestroyWindow(g_hMainWnd);
        s_bClosingQuietly = false;
    }
    g_hMainWnd = nullptr;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
    if (!CreateMainWindow(hInstance)) return -1;
    const int nExit = RunMessageLoop();
    // A window that start-up left unused (login cancelled) goes quietly.
    DestroyMainWindow();
    return nExit;
}
