#include "settings/ExportDialogClass.h"

#include "shell/ToolbarClass.h"
#include "shell/ViewMessages.h"

ExportDialogClass g_Export;

namespace {
struct PaintedLine {
    int x, y;
    const char* pszText;
};

// The blurb in the left panel, then four paragraphs.
const PaintedLine kLines[] = {
    {10, 20, "导出功能可以为您"},
    {10, 40, "生成详细的日报、"},
    {10, 60, "周报、月报和年报"},
    {10, 80, "等各类工作报告。"},
    {170, 82, "还在为每周怎样写工作周报而费心吗？有了导出功能，您不必再逐条整理，"},
    {170, 102, "只需点击“导出日志”，就能得到一份详细的周报或月报。"},
    {170, 132, "导出时，程序会把没有标记为“私有”的记录写入报告文件，"},
    {170, 152, "供您的同事或上级阅读。"},
    {170, 182, "每条记录都可以标记为“私有”，让每个人在工作中都保留一些自己的空间。"},
    {170, 202, "标记为私有的记录永远不会被导出，"},
    {170, 222, "因此请在导出之前检查各条记录的私有标记。"},
    {170, 252, "当前版本暂不提供报告导出功能，"},
    {170, 272, "该功能将在程序今后的升级版本中提供。"},
};
}  // namespace

ExportDialogClass::ExportDialogClass() {}

void ExportDialogClass::PaintPage(HDC hdc) {
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 0));
    SelectObject(hdc, m_hFontTitle);
    PaintText(hdc, 500, 26, "导出日志");
    SelectObject(hdc, m_hFont);
    for (const PaintedLine& l : kLines) PaintText(hdc, l.x, l.y, l.pszText);
}

LRESULT ExportDialogClass::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case UM_OPENVIEW:
        g_Toolbar.CheckButton(TB_EXPORT, 1);
        AppendHistoryNode();
        return 0;
    case UM_RESTOREVIEW: g_Toolbar.CheckButton(TB_EXPORT, 1); return 0;
    }
    return DefaultPageProc(hWnd, uMsg, wParam, lParam);
}
