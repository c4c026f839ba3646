#include "program/HomepageDialogClass.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "program/main.h"
#include "views/PageFrameClass.h"
#include "platform/gbk/gbk.h"

#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_Navigation.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_Navigation.h"
#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_Navigation.h"
#include "views/tasks/Tas_DetailDialogClass.h"
#include "views/tasks/Tas_ListAllDialogClass.h"
#include "views/tasks/Tas_Navigation.h"

HomepageDialogClass g_Homepage;

namespace {

// Window procedures the four search edits had before they were subclassed,
// by edit (opportunities, accounts, contacts, tasks).
WNDPROC s_pfnOldEditProc[HomepageDialogClass::kSearchCount] = {};

struct Link {
    const char* pszCaption;
    int (*pfnAction)();
};

const Link kLinks[HomepageDialogClass::kLinkCount] = {
    {"添加新的计划日志", GotoTas_DetailNew},
    {"按周查询", GotoTas_Week},
    {"按月查询", GotoTas_Month},
    {"没有完成的计划", GotoTas_ClosedStat},
    {"所有计划日志", GotoTas_ListAll},
    {"添加新的项目机会", GotoOpp_DetailNew},
    {"按项目阶段查询", GotoOpp_PhaseStat},
    {"按时间相关查询", GotoOpp_DateStat},
    {"按重要性查询", GotoOpp_ImportantStat},
    {"所有项目机会", GotoOpp_Homepage},
    {"添加新的客户单位", GotoAcc_DetailNew},
    {"按是否有项目查询", GotoAcc_OpportunitiesStat},
    {"按时间查询", GotoAcc_DateStat},
    {"按类型查询", GotoAcc_TypeStat},
    {"所有客户单位", GotoAcc_Homepage},
    {"更多查询方式", GotoAcc_Homepage},
    {"添加新的联系人", GotoCon_DetailNew},
    {"按是否有项目查询", GotoCon_Opportunities},
    {"按时间查询", GotoCon_Date},
    {"按关系查询", GotoCon_Relation},
    {"所有联系人", GotoCon_Homepage},
    {"更多查询方式", GotoCon_Homepage},
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
    "议，请与我们联系：北京塔维尔信息技术有限公司。",
};
const POINT kIntroPos[11] = {{50, 20},  {15, 45},  {15, 70},  {15, 95},  {15, 120}, {15, 170},
                             {15, 195}, {15, 220}, {15, 245}, {15, 295}, {15, 320}};

const COLORREF kBoxColour = 0xFFE7CE;
const COLORREF kHoverColour = 0xFF8080;

void ErrorBox(LPCSTR pszText) { MessageBoxA(nullptr, pszText, TARVEL_CAPTION, MB_OK); }

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

HomepageDialogClass::HomepageDialogClass()
    : m_pulID(nullptr),
      m_nIDCount(0),
      m_stToday{},
      m_hSearchEdits{},
      m_hSearchButtons{},
      m_hLinkButtons{},
      m_bHover(0),
      m_hBitmap(nullptr) {}

HomepageDialogClass::~HomepageDialogClass() {
    if (m_hBitmap) DeleteObject(m_hBitmap);
    FreeIDArray();
}

void HomepageDialogClass::InitDialog(HWND hWnd) {
    if (m_bInit) return;
    BaseDialogClass::InitDialog(hWnd);

    m_ListView.Create(m_hInstance, hWnd, 440, 40, 400, 270, 0x50800201, IDC_HOME_TASKLIST);
    m_ListView.SetExtendedStyle(0x61);
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
        HWND hEdit = CreateWindowExA(0, "EDIT", "", 0x50800000, b.x, b.y, 140, 20, hWnd,
                                     (HMENU)(INT_PTR)b.nEdit, m_hInstance, nullptr);
        SendMessageA(hEdit, WM_SETFONT, (WPARAM)m_hFont, 0);
        // Keywords are handed over in buffers of 50 bytes.
        SendMessageA(hEdit, EM_LIMITTEXT, 49, 0);
        s_pfnOldEditProc[nBox] =
            (WNDPROC)SetWindowLongPtrA(hEdit, GWLP_WNDPROC, (LONG_PTR)SearchEditProc_Homepage);
        m_hSearchEdits[nBox] = hEdit;

        HWND hButton = CreateWindowExA(0, "BUTTON", "立即查找", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                       b.x, b.y + (b.nEdit == IDC_HOME_SEARCH_TAS ? 25 : 30), 80, 22,
                                       hWnd, (HMENU)(INT_PTR)b.nButton, m_hInstance, nullptr);
        SendMessageA(hButton, WM_SETFONT, (WPARAM)m_hFontArial, 0);
        m_hSearchButtons[nBox] = hButton;

        for (int k = 0; k < b.nLinks; ++k) {
            const int nLink = b.nLinkFirst + k;
            m_hLinkButtons[nLink] =
                CreateWindowExA(0, "BUTTON", "", 0x5000000B, b.nLinkX, b.nLinkY + 30 * k, b.nLinkW, 20,
                                hWnd, (HMENU)(INT_PTR)(IDC_HOME_LINK_FIRST + nLink), m_hInstance, nullptr);
        }
    }
    m_hBitmap = LoadBitmapA(g_hInstance, "ID_BMP_HOMEPAGE_RELATION");
}

void HomepageDialogClass::FreeIDArray() {
    delete[] m_pulID;
    m_pulID = nullptr;
}

void HomepageDialogClass::FillTaskList() {
    if (!m_Tas.m_pTasHead) {
        ErrorBox("Acc_HomepageDialogClass.cpp 135: m_pConHead Error.");
        return;
    }
    char szText[64];
    int i = m_nIDCount;
    m_Tas.m_pCurrent = m_Tas.m_pTasHead;
    while (m_Tas.m_pCurrent && i > 0) {
        TasNode* p = m_Tas.m_pCurrent;
        --i;
        if (m_pulID) m_pulID[i] = p->tas_id;
        std::snprintf(szText, sizeof(szText), "%d-%d-%d", (int)p->tas_date.year, (int)p->tas_date.month,
                      (int)p->tas_date.day);
        m_ListView.InsertItem(0, szText);
        std::snprintf(szText, sizeof(szText), "%d:%d", (int)p->tas_time.hour, (int)p->tas_time.minute);
        m_ListView.SetItemText(0, 1, szText);
        m_ListView.SetItemText(0, 2, p->tas_subject);
        m_Tas.ctd_NextNode();
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
        ErrorBox("Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.");
        return;
    }
    FreeIDArray();
    m_nIDCount = 0;
    m_ListView.DeleteAllItems();
    if (nCount == 0) return;
    m_pulID = new (std::nothrow) ULONG[(size_t)nCount];
    if (!m_pulID) {
        ErrorBox("Acc_HomepageDialogClass.cpp 89: m_pulID Error.");
        return;
    }
    m_nIDCount = nCount;
    FillTaskList();
}

void HomepageDialogClass::OnDoubleClick(const NMLISTVIEW* pNotify) {
    Tas_DetailDialogClass& form = g_Tas_Detail;
    BaseDialogClass* pOld = g_pCurrentDialog;
    const int nRow = m_ListView.GetNotifyItem(pNotify);
    if (nRow != -1) {
        // Only a row that belongs to the id list is handed over.
        if (!m_pulID || nRow < 0 || nRow >= m_nIDCount) return;
        form.ShowDialog();
        form.FreeIDArray();
        form.m_nIDCount = 0;
        form.m_pulID = new (std::nothrow) ULONG[(size_t)m_nIDCount];
        if (!form.m_pulID) {
            ErrorBox("Opp_HomepageDialogClass.cpp 89: m_pulID Error.");
            form.HideDialog();
            return;
        }
        std::memcpy(form.m_pulID, m_pulID, sizeof(ULONG) * (size_t)m_nIDCount);
        form.m_nIDCount = m_nIDCount;
        gbk::CopyCut(form.m_szTitle, sizeof(form.m_szTitle), "所有计划日志");
        SendMessageA(form.m_hWnd, UM_SHOWRECORD, (WPARAM)nRow, (LPARAM)m_pulID[nRow]);
        FinishViewSwitch(pOld, &form);
    } else {
        form.ShowDialog();
        SendMessageA(form.m_hWnd, UM_NEWRECORD, 0, 0);
        FinishViewSwitch(pOld, &form);
        form.FreeIDArray();
        form.m_nIDCount = 0;
    }
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
    for (int i = 0; i < 11; ++i)
        TextOutA(hdc, kIntroPos[i].x + h, kIntroPos[i].y + v, kIntro[i], (int)std::strlen(kIntro[i]));

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

void HomepageDialogClass::DrawLink(const DRAWITEMSTRUCT* pDraw) {
    SetBkMode(pDraw->hDC, TRANSPARENT);
    const int nID = (int)pDraw->CtlID;
    if (nID < IDC_HOME_LINK_FIRST || nID > IDC_HOME_LINK_LAST) return;
    const char* pszCaption = kLinks[nID - IDC_HOME_LINK_FIRST].pszCaption;
    HBRUSH hBrush = CreateSolidBrush(kBoxColour);
    FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
    DeleteObject(hBrush);
    HGDIOBJ hOld = SelectObject(pDraw->hDC, m_hFont);
    SetTextColor(pDraw->hDC, RGB(0, 0, 0));
    TextOutA(pDraw->hDC, 10, 2, pszCaption, (int)std::strlen(pszCaption));
    SelectObject(pDraw->hDC, hOld);
    if (pDraw->itemState & ODS_SELECTED) InvertRect(pDraw->hDC, &pDraw->rcItem);
}

void HomepageDialogClass::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (m_bHover) return;
    HWND hButton = (HWND)wParam;
    int nLink = -1;
    for (int i = 0; i < kLinkCount; ++i)
        if (m_hLinkButtons[i] && m_hLinkButtons[i] == hButton) nLink = i;
    if (nLink < 0) return;
    if (LOWORD(lParam) != HTCLIENT && HIWORD(lParam) != WM_MOUSEMOVE) return;
    HDC hdc = GetDC(hButton);
    RECT rc;
    GetClientRect(hButton, &rc);
    HBRUSH hBrush = CreateSolidBrush(kHoverColour);
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
    FrameRect(hdc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
    HGDIOBJ hOld = SelectObject(hdc, m_hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(255, 255, 255));
    TextOutA(hdc, 10, 2, kLinks[nLink].pszCaption, (int)std::strlen(kLinks[nLink].pszCaption));
    SelectObject(hdc, hOld);
    ReleaseDC(hButton, hdc);
    m_bHover = 1;
}

LRESULT HomepageDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case UM_OPENVIEW:
            OnOpenView();
            return 0;
        case UM_RESTOREVIEW:
            g_Toolbar.CheckButton(TB_HOMEPAGE, 1);
            return 0;
        case WM_PAINT:
            OnPaint(hWnd);
            return 0;
        case WM_DRAWITEM:
            DrawLink((const DRAWITEMSTRUCT*)lParam);
            return 0;
        case WM_SETCURSOR:
            OnSetCursor(wParam, lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (m_bHover) {
                for (HWND h : m_hLinkButtons) InvalidateRect(h, nullptr, TRUE);
                m_bHover = 0;
            }
            return 0;
        case WM_COMMAND: {
            const WPARAM nID = wParam;
            if (nID >= IDC_HOME_FIND_OPP && nID <= IDC_HOME_FIND_TAS) {
                SearchFrom((int)(nID - IDC_HOME_FIND_OPP));
            } else if (nID >= IDC_HOME_LINK_FIRST && nID <= IDC_HOME_LINK_LAST) {
                kLinks[nID - IDC_HOME_LINK_FIRST].pfnAction();
            }
            return 0;
        }
        case WM_NOTIFY: {
            const NMHDR* pHdr = (const NMHDR*)lParam;
            if (pHdr && pHdr->code == NM_DBLCLK) OnDoubleClick((const NMLISTVIEW*)lParam);
            return 0;
        }
        case WM_HSCROLL:
        case WM_VSCROLL: return OnScroll(hWnd, uMsg, wParam);
        case WM_LBUTTONUP:
        case WM_DESTROY: return 0;
        default: return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

LRESULT CALLBACK SearchEditProc_Homepage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const int nID = GetDlgCtrlID(hWnd);
    int nBox = SearchIndexOfEdit(nID);
    if (nBox < 0 || nBox >= HomepageDialogClass::kSearchCount) nBox = 3;
    if (uMsg == WM_KEYDOWN && wParam == VK_RETURN && nID >= IDC_HOME_SEARCH_OPP &&
        nID <= IDC_HOME_SEARCH_TAS)
        g_Homepage.SearchFrom(nBox);
    return CallWindowProcA(s_pfnOldEditProc[nBox], hWnd, uMsg, wParam, lParam);
}
