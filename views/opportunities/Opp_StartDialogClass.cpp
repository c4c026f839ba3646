#include "views/opportunities/Opp_StartDialogClass.h"

#include "views/opportunities/Opp_HomepageDialogClass.h"
#include "views/opportunities/Opp_ListPageClass.h"
#include "resources/opportunities_ids.h"

namespace {
const int kMenuIDs[5] = {IDC_OPPS_MENU0, IDC_OPPS_MENU1, IDC_OPPS_MENU2, IDC_OPPS_MENU3, IDC_OPPS_MENU4};

// Headings, then the body, then the red lines that continue two of them.
const StartTextLine kLines[] = {
    {170, 215, "添加新项目机会", TRUE, kStartBlack},
    {170, 265, "查询分析项目机会", TRUE, kStartBlack},
    {170, 465, "编辑删除项目机会", TRUE, kStartBlack},
    {170, 585, "前进和后退功能", TRUE, kStartBlack},
    {175, 22, "“项目机会”是项目、工作任务、销售线索、销售机会的一个简写，您甚至可以用它来表示成", FALSE, kStartBlack},
    {175, 42, "一种长期存在的事件或者组织。", FALSE, kStartBlack},
    {175, 72, "对每个项目机会，我们都会记录其本身的基本信息，比如名称、简介等等。同时，以该项目机", FALSE, kStartBlack},
    {175, 92, "机会为中心，我们会产生很多的工作计划或者日志，会有不同的客户单位和来自不同客户单位", FALSE, kStartBlack},
    {175, 112, "的联系人，如右图所示。", FALSE, kStartBlack},
    {175, 162, "从左边的功能菜单中，您可以随时添加、查找、编辑、删除项目机会。", FALSE, kStartBlack},
    {355, 222, "在本页面内点击左边菜单内的“添加项目”，增加完成需要点击“确定”按钮保存结果。", FALSE, kStartBlack},
    {355, 272, "在本页面内点击左边的功能菜单，可以实现对项目机会的查找和分析。", FALSE, kStartBlack},
    {205, 302, "* 关键字快速查找：通过关键字在“项目机会名称”和“项目机会简介中查找相关记录；", FALSE, kStartBlack},
    {205, 322, "* 所有项目机会：用列表方式显示您的所有的项目机会。", FALSE, kStartBlack},
    {205, 342, "* 项目阶段查询：这是一种项目机会的“漏斗式”管理分析的方法，管理分析处于不同阶段的项目机会。", FALSE,
     kStartBlack},
    {205, 362, "* 重要性查询：根据项目机会的重要性属性来分类查询。", FALSE, kStartBlack},
    {205, 382,
     "* 时间相关查询：是根据您对该项目的跟进程度来查找分析的，比如上周拜访了哪些项目，上个月以来没有拜访哪些项目等。",
     FALSE, kStartBlack},
    {205, 412, "不管用什么查询方式，您会得到一个用列表显示的查询结果；", FALSE, kStartBlack},
    {355, 472, "进入项目机会的详细页面后，才可以编辑或删除记录。", FALSE, kStartBlack},
    {205, 492, "* 编辑项目基本信息：您需要点击“修改”按钮才可对项目基本信息进行编辑，编辑后需点击“确定”保存修改内容。",
     FALSE, kStartBlack},
    {205, 512, "* 编辑项目相关信息：在页面的下方添加和删除和这个项目相关信息，如工作计划或日志、联系人、客户单位等等。",
     FALSE, kStartBlack},
    {205, 532, "* 从项目机会转到相关信息：", FALSE, kStartBlack},
    {205, 552, "* 删除项目机会：选定相关记录后，在项目机会的详细内容显示页面点击“删除”按钮，完成删除功能。", FALSE,
     kStartBlack},
    {355, 592, "方便您在相关记录之间快速查找", FALSE, kStartBlack},
    {550, 412, "用鼠标单击列表的标题栏，可以根据不同的字段排序，用鼠标双击某个记录，可", FALSE, kStartRed},
    {205, 432, "以进入该项目机会的详细内容页面，供您进一步编辑或删除。", FALSE, kStartRed},
    {390, 532, "用鼠标双击某个相关记录，转到该记录的详细页面，您可以编辑该记录后返回当前项目。", FALSE, kStartRed},
};

StartPageDef MakeDef() {
    return {
        TB_OPPORTUNITIES,
        IDC_OPPS_SEARCH_EDIT,
        IDC_OPPS_SEARCH,
        IDC_OPPS_HELP,
        OppMenu(kMenuIDs),
        "ID_BMP_OPP_RELATION",
        725,
        10,
        280,
        200,
        kLines,
        (int)(sizeof(kLines) / sizeof(kLines[0])),
        &g_Opp_Homepage,
        g_Opp_Homepage.m_szKeyword,
    };
}
}  // namespace

Opp_StartDialogClass g_Opp_Start;

Opp_StartDialogClass::Opp_StartDialogClass() : StartPageClass(MakeDef()) {}
