#include "views/contacts/Con_StartDialogClass.h"

#include "resources/contacts_ids.h"
#include "views/contacts/Con_HomepageDialogClass.h"
#include "views/contacts/Con_ListPageClass.h"

namespace {
const int kMenuIDs[8] = {IDC_CONS_MENU0,     IDC_CONS_MENU1,     IDC_CONS_MENU1 + 1, IDC_CONS_MENU1 + 2,
                         IDC_CONS_MENU1 + 3, IDC_CONS_MENU1 + 4, IDC_CONS_MENU1 + 5, IDC_CONS_MENU1 + 6};

// Headings, then the body, then the red lines that continue two of them.
const StartTextLine kLines[] = {
    {170, 215, "添加新联系人", TRUE, kStartBlack},
    {170, 265, "查询分析联系人", TRUE, kStartBlack},
    {170, 465, "编辑删除联系人", TRUE, kStartBlack},
    {170, 585, "前进和后退功能", TRUE, kStartBlack},
    {175, 22, "“联系人”是与我们有往来的所有自然人。他们可以是我们的朋友、客户单位中的员工、同事", FALSE, kStartBlack},
    {175, 42, "等等。", FALSE, kStartBlack},
    {175, 72, "对每个联系人，我们都会记录其本身的基本信息，比如姓名、简介、电话、电子邮件、通讯地", FALSE, kStartBlack},
    {175, 92, "址等等。同时，以该联系人中心，软件能够管理和他相关的工作计划或者日志、项目机会。我", FALSE, kStartBlack},
    {175, 112, "们定义每个联系人最多可以有一个工作单位，您还可以借助“项目机会”来把不同的联系人组", FALSE, kStartBlack},
    {175, 132, "织成不同的群组或者团队，一个联系人可以隶属于无数的群组或团队。", FALSE, kStartBlack},
    {175, 162, "从左边的功能菜单中，您可以随时添加、查找、编辑、删除联系人。", FALSE, kStartBlack},
    {335, 222, "在本页面内点击左边菜单内的“添加联系人”，增加完成需要点击“确定”按钮保存结果。", FALSE, kStartBlack},
    {335, 272, "在本页面内点击左边的功能菜单，可以实现对联系人的查找和分析。", FALSE, kStartBlack},
    {205, 302, "* 关键字快速查找：通过关键字在“联系人名称”和“联系人简介中查找相关记录；", FALSE, kStartBlack},
    {205, 322, "* 所有联系人：用列表方式显示您的所有的联系人。", FALSE, kStartBlack},
    {205, 342, "* 项目机会查询：根据该联系人是否存在项目机会来查询和分析联系人。", FALSE, kStartBlack},
    {205, 362, "* 重要性、关系好坏、行业、区域：分别根据联系人的这几个属性来分类查询。", FALSE, kStartBlack},
    {205, 382,
     "* "
     "时间相关查询：是根据您对该联系人的跟进程度来查找分析的，比如上周拜访了哪些联系人，上个月以来没有拜访哪"
     "些联系人等。",
     FALSE, kStartBlack},
    {205, 412, "不管用什么查询方式，您会得到一个用列表显示的查询结果；", FALSE, kStartBlack},
    {335, 472, "进入联系人的详细页面后，才可以编辑或删除记录。", FALSE, kStartBlack},
    {205, 492, "* 联系人基本信息：您需要点击“修改”按钮才可对联系人基本信息进行编辑，编辑后需点击“确定”保存修改内容。",
     FALSE, kStartBlack},
    {205, 512, "* 联系人相关信息：在页面的下方添加和删除和这个联系人相关信息，如工作计划或日志、项目、客户单位等等。",
     FALSE, kStartBlack},
    {205, 532, "* 从联系人机会转到相关信息：", FALSE, kStartBlack},
    {205, 552, "* 删除联系人：选定相关记录后，在联系人的详细内容显示页面点击“删除”按钮，完成删除功能。", FALSE,
     kStartBlack},
    {335, 592, "方便您在相关记录之间快速查找", FALSE, kStartBlack},
    {550, 412, "用鼠标单击列表的标题栏，可以根据不同的字段排序， 用鼠标双击某个记录，可", FALSE, kStartRed},
    {205, 432, "可以进入该联系人的详细内容页面，供您进一步编辑或删除。", FALSE, kStartRed},
    {390, 532, "用鼠标双击某个相关记录，转到该记录的详细页面，您可以编辑该记录后返回当前联系人。", FALSE, kStartRed},
};

StartPageDef MakeDef() {
    return {
        TB_CONTACTS,
        IDC_CONS_SEARCH_EDIT,
        IDC_CONS_SEARCH,
        IDC_CONS_HELP,
        ConMenu(kMenuIDs),
        "ID_BMP_CON_RELATION",
        725,
        10,
        280,
        200,
        kLines,
        (int)(sizeof(kLines) / sizeof(kLines[0])),
        &g_Con_Homepage,
        g_Con_Homepage.m_szKeyword,
    };
}
}  // namespace

Con_StartDialogClass g_Con_Start;

Con_StartDialogClass::Con_StartDialogClass() : StartPageClass(MakeDef()) {}
