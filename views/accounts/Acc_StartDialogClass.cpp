#include "views/accounts/Acc_StartDialogClass.h"

#include "resources/accounts_ids.h"
#include "views/accounts/Acc_HomepageDialogClass.h"
#include "views/accounts/Acc_ListPageClass.h"

namespace {
constexpr AccMenuIDs kMenu = AccMenuFrom(IDC_ACCS_MENU0);

// Headings, then the body, then the red lines that continue two of them.
const StartTextLine kLines[] = {
    {170, 215, "添加新客户", TRUE, kStartBlack},
    {170, 265, "查询分析客户", TRUE, kStartBlack},
    {170, 465, "编辑删除客户", TRUE, kStartBlack},
    {170, 585, "前进和后退功能", TRUE, kStartBlack},
    {175, 22, "“客户单位”是企业、事业单位、政府机关等法人组织的一个统称，他们是联系人的工作单位，", FALSE, kStartBlack},
    {175, 42, "他们可以成为您的客户、合作伙伙伴单位、供应商、代理商、竞争对手等等。", FALSE, kStartBlack},
    {175, 72, "每个客户单位，都有其本身的基本信息，比如名称、简介、电话、地址、网站、行业、区域等", FALSE, kStartBlack},
    {175, 92, "等等。我们在联系某个客户单位的时候，一般都会有一定的原因和目的（项目机会），我们还", FALSE, kStartBlack},
    {175, 112, "的工作计划，记录跟踪日志，我们会和客户单位中不同部门、不同职务的员工联系，他们就是", FALSE,
     kStartBlack},
    {175, 132, "我们的联系人之一。客户单位和其它管理对象间的关系如右图所示。从左边的功能菜单中，您", FALSE,
     kStartBlack},
    {175, 152, "可以随时添加、查找、编辑、删除客户单位。", FALSE, kStartBlack},
    {175, 182, "从左边的功能菜单中，您可以随时添加、查找、编辑、删除客户单位。", FALSE, kStartBlack},
    {335, 222, "在本页面内点击左边菜单内的“添加新客户单位”，增加完成需要点击“确定”按钮保存结果。", FALSE, kStartBlack},
    {335, 272, "在本页面内点击左边的功能菜单，可以实现对客户单位的查找和分析。", FALSE, kStartBlack},
    {205, 302, "* 关键字快速查找：通过关键字在“客户单位名称”和“客户单位简介中查找相关记录；", FALSE, kStartBlack},
    {205, 322, "* 所有客户单位：用列表方式显示您的所有的客户单位。", FALSE, kStartBlack},
    {205, 342, "* 项目机会查询：根据该客户是否存在项目机会来查询和分析客户。", FALSE, kStartBlack},
    {205, 362, "* 重要性、关系好坏、行业、区域：分别根据客户的这几个属性来分类查询。", FALSE, kStartBlack},
    {205, 382,
     "* "
     "时间相关查询：是根据您对该客户的跟进程度来查找分析的，比如上周拜访了哪些客户，上个月以来没有拜访哪些客"
     "户等。",
     FALSE, kStartBlack},
    {205, 412, "不管用什么查询方式，您会得到一个用列表显示的查询结果；", FALSE, kStartBlack},
    {335, 472, "进入客户单位的详细页面后，才可以编辑或删除客户。", FALSE, kStartBlack},
    {205, 492, "* 编辑客户基本信息：您需要点击“修改”按钮才可对客户基本信息进行编辑，编辑后需点击“确定”保存修改内容。",
     FALSE, kStartBlack},
    {205, 512, "* 编辑客户相关信息：在页面的下方添加和删除和这个客户相关信息，如工作计划或日志、联系人、项目机会等等。",
     FALSE, kStartBlack},
    {205, 532, "* 从客户单位转到相关信息：", FALSE, kStartBlack},
    {205, 552, "* 删除客户：选定相关记录后，在客户单位的详细内容显示页面点击“删除”按钮，完成删除功能。", FALSE,
     kStartBlack},
    {335, 592, "方便您在相关记录之间快速查找", FALSE, kStartBlack},
    {550, 412, "用鼠标单击列表的标题栏，可以根据不同的字段排序，用鼠标双击某个记录，可", FALSE, kStartRed},
    {205, 432, "以进入该客户的详细内容页面，供您进一步编辑或删除。", FALSE, kStartRed},
    {390, 532, "用鼠标双击某个相关记录，转到该记录的详细页面，您可以编辑该记录后返回当前客户。", FALSE, kStartRed},
};

StartPageDef MakeDef() {
    return {
        TB_ACCOUNTS,
        IDC_ACCS_SEARCH_EDIT,
        IDC_ACCS_SEARCH,
        IDC_ACCS_HELP,
        AccMenu(kMenu.ids),
        "ID_BMP_ACC_RELATION",
        725,
        10,
        280,
        200,
        kLines,
        (int)(sizeof(kLines) / sizeof(kLines[0])),
        &g_Acc_Homepage,
        g_Acc_Homepage.m_szKeyword,
    };
}
}  // namespace

Acc_StartDialogClass g_Acc_Start;

Acc_StartDialogClass::Acc_StartDialogClass() : StartPageClass(MakeDef()) {}
