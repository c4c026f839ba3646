#include "program/HomepageDialogClass.h"

#include <cstdio>
#include <cstring>

#include "program/main.h"
#include "platform/gbk/gbk.h"
#include "shell/PageFrameClass.h"
#include "shell/RecordFormClass.h"

#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_Navigation.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_Navigation.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_Navigation.h"
#include "resources/message_texts.h"
#include "shell/Report.h"
#include "shell/CellText.h"

HomepageDialogClass g_Homepage;

namespace {

// The links, ids 10060 .. 10081 in this order.
const PageLinkDef kLinks[HomepageDialogClass::kLinkCount] = {
    {10060, "添加新的计划日志", GotoTas_DetailNew},
    {10061, "按周查询", GotoTas_Week},
    {10062, "按月查询", GotoTas_Month},
    {10063, "没有完成的计划", GotoTas_ClosedStat},
    {10064, "所有计划日志", GotoTas_ListAll},
    {10065, "添加新的项目机会", GotoOpp_DetailNew},
    {10066, "按项目阶段查询", GotoOpp_PhaseStat},
    {10067, "按时间相关查询", GotoOpp_DateStat},
    {10068, "按重要性查询", GotoOpp_ImportantStat},
    {10069, "所有项目机会", GotoOpp_Homepage},
    {10070, "添加新的客户单位", GotoAcc_DetailNew},
    {10071, "按是否有项目查询", GotoAcc_OpportunitiesStat},
    {10072, "按时间查询", GotoAcc_DateStat},
    {10073, "按类型查询", GotoAcc_TypeStat},
    {10074, "所有客户单位", GotoAcc_Homepage},
    {10075, "更多查询方式", GotoAcc_Homepage},
    {10076, "添加新的联系人", GotoCon_DetailNew},
    {10077, "按是否有项目查询", GotoCon_Opportunities},
    {10078, "按时间查询", GotoCon_Date},
    {10079, "按关系查询", GotoCon_Relation},
    {10080, "所有联系人", GotoCon_Homepage},
    {10081, "更多查询方式", GotoCon_Homepage},
};

const FillTexts kFillTexts = {
    "Acc_HomepageDialogClass.cpp 89: m_pulID Error.",
    "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.",
};

const char* const kIntro[11] = {
    "在日常的销售工作中，我们常见的管理对象是各种项目或",
    "销售机会、在不同的工作单位中的联系人以及我们的工作计划",
    "或者日志记录。这些管理对象间其实存在着很多的关联性，比",
    "如：一个项目机除了它自己的基本信息之外，还包括我们的跟",
    "进记录（计划日志）、与这个项目相关的联系人和客户单位。",
    "塔维尔销售日志帮助您把以上四类对象整理得井井有条，不再",
    "孤立，而是融合成一个整体。您可以任何一个对象为主线，串",
    "连管理其它对象。同时，我们还提供了个性化的邮件群发功能",
    "，方便您与目标对象联系。",
    "如果您喜欢本软件，请推荐给您的朋友们；如果您有更好的建",
    "议，请与我们联系：",  // and the help web site's address
};
const POINT kIntroPos[11] = {{50, 20},  {15, 45},  {15, 70},  {15, 95},  {15, 120}, {15, 170},
                             {15, 195}, {15, 220}, {15, 245}, {15, 295}, {15, 320}};

const COLORREF kBoxColour = 0xFFE7CE;

int SearchIndexOfEdit(int nID) { return nID - IDC_HOME_SEARCH_OPP; }

// The keyword buffer and the view of each search box's target page.
char* TargetKeyword(int nBox) {
    switch (nBox) {
    case 0: return g_Opp_Homepage.m_szKeyword;
    case 1: return g_Acc_Homepage.m_szKeyword;
    case 2: return g_Con_Homepage.m_szKeyword;
    default: return g_Tas_ListAll.m_szKeyword;
    }
}

BaseDialogClass* TargetView(int nBox) {
    switch (nBox) {
    case 0: return ViewAt(VIEW_OPP_HOMEPAGE);
    case 1: return ViewAt(VIEW_ACC_HOMEPAGE);
    case 2: return ViewAt(VIEW_CON_HOMEPAGE);
    default: return ViewAt(VIEW_TAS_LISTALL);
    }
}

}  // namespace

HomepageDialogClass::HomepageDialogClass() : m_stToday{}, m_hSearchEdits{}, m_hSearchButtons{}, m_hBitmap(nullptr) {}

HomepageDialogClass::~HomepageDialogClass() {
    if (m_hBitmap) DeleteObject(m_hBitmap);
}

void HomepageDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);

    m_ListView.Create(m_hInstance, hWnd, 440, 40, 400, 270,
                      WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS, IDC_HOME_TASKLIST);
    m_ListView.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE);
    m_ListView.InitColumn(LVCF_FMT | LVCF_WIDTH | LVCF_TEXT);
    m_ListView.InsertColumn("日期", 100);
    m_ListView.InsertColumn("时间", 100);
    m_ListView.InsertColumn("标题", 200);
    m_ListView.InitItem();
    SendMessageA(m_ListView.m_hListView, WM_SETFONT, (WPARAM)m_hFont, 0);

    struct Box {
        int nEdit, nButton, x, y, nLinkFirst, nLinks, nLinkX, nLinkY, nLinkW;
    };
    // Tasks first, then opportunities, accounts and contacts: the order of
    // creation, which is also the tab order.
    const Box boxes[4] = {
        {IDC_HOME_SEARCH_TAS, IDC_HOME_FIND_TAS, 850, 40, 0, 5, 850, 130, 158},
        {IDC_HOME_SEARCH_OPP, IDC_HOME_FIND_OPP, 440, 360, 5, 5, 431, 440, 198},
        {IDC_HOME_SEARCH_ACC, IDC_HOME_FIND_OPP + 1, 650, 360, 10, 6, 641, 440, 178},
        {IDC_HOME_SEARCH_CON, IDC_HOME_FIND_OPP + 2, 840, 360, 16, 6, 831, 440, 178},
    };
    for (const Box& b : boxes) {
        const int nBox = SearchIndexOfEdit(b.nEdit);
        HWND hEdit = CreateSearchBox(hWnd, b.nEdit, b.x, b.y, 140, 20);
        // Keywords are handed over in buffers of 50 bytes.
        SendMessageA(hEdit, EM_LIMITTEXT, kKeywordSize - 1, 0);
        m_hSearchEdits[nBox] = hEdit;

        HWND hButton = CreateWindowExA(0, "BUTTON", "立即查找", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, b.x,
                                       b.y + (b.nEdit == IDC_HOME_SEARCH_TAS ? 25 : 30), 80, 22, hWnd,
                                       (HMENU)(INT_PTR)b.nButton, m_hInstance, nullptr);
        SendMessageA(hButton, WM_SETFONT, (WPARAM)m_hFontArial, 0);
        m_hSearchButtons[nBox] = hButton;

        AddLinks(hWnd, kLinks + b.nLinkFirst, b.nLinks, b.nLinkX, b.nLinkY, b.nLinkW);
    }
    m_hBitmap = LoadBitmapA(g_hInstance, "ID_BMP_HOMEPAGE_RELATION");
}

ULONG HomepageDialogClass::RowID() { return m_Tas.m_pCurrent ? m_Tas.m_pCurrent->tas_id : 0; }

void HomepageDialogClass::RowText(int nColumn, char* pszBuf, int nSize) {
    const TasNode* p = m_Tas.m_pCurrent;
    if (!p) {
        pszBuf[0] = 0;
        return;
    }
    switch (nColumn) {
    case 0: cell::FormatDate(pszBuf, nSize, (int)p->tas_date.year, (int)p->tas_date.month, (int)p->tas_date.day); break;
    case 1: cell::FormatTime(pszBuf, nSize, (int)p->tas_time.hour, (int)p->tas_time.minute); break;
    default: gbk::CopyCut(pszBuf, (size_t)nSize, p->tas_subject); break;
    }
}

void HomepageDialogClass::OnOpenView() {
    if (g_History.m_pHead) {
        g_History.OpenEntry(this);
    } else if (g_History.AllocHead() == 0) {
        g_History.m_pHead->m_pView = this;
    }
    for (HWND h : m_hSearchEdits) SetWindowTextA(h, "");

    m_Tas.ctd_FreeList();
    GetLocalTime(&m_stToday);
    const int nCount = m_Tas.ctd_GetByDay(m_stToday);
    if (nCount == -1) {
        // The list keeps its rows and the id list that matches them.
        ReportError(msg::kHomepageTasks);
        return;
    }
    FillListAtTop(m_ListView, 3, m_pulID, m_nIDCount, nCount, *this, kFillTexts);
}

void HomepageDialogClass::OnDoubleClick(const NMLISTVIEW* pNotify) {
    HandOverToForm(&g_Tas_Detail, m_pulID, m_nIDCount, m_ListView.GetNotifyItem(pNotify), "所有计划日志");
}

void HomepageDialogClass::OnSearch(HWND hEdit, BOOL bEnter) {
    for (int nBox = 0; nBox < kSearchCount; ++nBox)
        if (m_hSearchEdits[nBox] == hEdit) SearchFrom(nBox);
}

void HomepageDialogClass::SearchFrom(int nBox) {
    if (nBox < 0 || nBox >= kSearchCount) return;
    SearchOnListPage(TargetView(nBox), TargetKeyword(nBox), m_hSearchEdits[nBox]);
}

void HomepageDialogClass::OnPaint(HWND hWnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    const int h = m_nHScroll;
    const int v = m_nVScroll;

    HGDIOBJ hOldFont = SelectObject(hdc, m_hFont);
    char szLast[160];
    std::snprintf(szLast, sizeof(szLast), "%s%s", kIntro[10], g_szHelpURL);
    for (int i = 0; i < 11; ++i) {
        const char* psz = i == 10 ? szLast : kIntro[i];
        TextOutA(hdc, kIntroPos[i].x + h, kIntroPos[i].y + v, psz, (int)std::strlen(psz));
    }

    if (m_hBitmap) {
        HDC hMem = CreateCompatibleDC(hdc);
        HGDIOBJ hOldBmp = SelectObject(hMem, m_hBitmap);
        BitBlt(hdc, 0 + h, 400 + v, 405, 216, hMem, 0, 0, SRCCOPY);
        SelectObject(hMem, hOldBmp);
        DeleteDC(hMem);
    }

    HBRUSH hBrush = CreateSolidBrush(kBoxColour);
    SelectObject(hdc, hBrush);
    Rectangle(hdc, 430 + h, 10 + v, 1010 + h, 320 + v);
    Rectangle(hdc, 430 + h, 330 + v, 630 + h, 630 + v);
    Rectangle(hdc, 640 + h, 330 + v, 820 + h, 630 + v);
    Rectangle(hdc, 830 + h, 330 + v, 1010 + h, 630 + v);
    SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    DeleteObject(hBrush);

    SetBkMode(hdc, TRANSPARENT);
    SelectObject(hdc, m_hFontArialBold);
    const struct {
        const char* psz;
        int x, y;
    } titles[4] = {{"工作计划或日志", 700, 20}, {"项目机会", 500, 340}, {"客户单位", 710, 340}, {"联系人", 910, 340}};
    for (const auto& t : titles) TextOutA(hdc, t.x + h, t.y + v, t.psz, (int)std::strlen(t.psz));
    SelectObject(hdc, hOldFont);
    EndPaint(hWnd, &ps);
}

LRESULT HomepageDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW: OnOpenView(); return 0;
    case UM_RESTOREVIEW: g_Toolbar.CheckButton(TB_HOMEPAGE, 1); return 0;
    case WM_PAINT: OnPaint(hWnd); return 0;
    case WM_COMMAND:
        if (wParam >= IDC_HOME_FIND_OPP && wParam <= IDC_HOME_FIND_TAS) {
            OnSearch(m_hSearchEdits[wParam - IDC_HOME_FIND_OPP], FALSE);
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const NMHDR* pHdr = (const NMHDR*)lParam;
        if (pHdr && pHdr->code == NM_DBLCLK) OnDoubleClick((const NMLISTVIEW*)lParam);
        return 0;
    }
    case WM_DRAWITEM: DrawLink((const DRAWITEMSTRUCT*)lParam); return 0;
    case WM_DESTROY: return 0;
    default: break;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
