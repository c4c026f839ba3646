// The fixed texts of the program's message boxes, kept exactly as users have
// always seen them. Many name the source file and line that first reported
// them; where a text names a file or class other than the one that shows it
// today (marked "names ..."), that is the text the program has always shown
// there, not a slip: keep it.
// Texts that belong to one page or one record kind live in that page's or
// data class's own definition table.
#pragma once

namespace msg {

// Captions.
inline constexpr char kCaption[] = "Tarvel提示";  // every report (ReportError)
inline constexpr char kInfoCaption[] = "信息提示";
inline constexpr char kConfirmOpenCaption[] = "确认打开";
inline constexpr char kConfirmDeleteCaption[] = "确认删除";

// Start-up and the main window.
inline constexpr char kMainRegisterClass[] = "main.cpp 45: RegisterClass Error.";
inline constexpr char kMainCreateWindow[] = "main.cpp 57: CreateWindow Error.";
inline constexpr char kMainInitODBC[] = "main.cpp 137: co_InitODBC Error.";
// A view's window could not be made, by the view.
inline constexpr char kCreateHomepage[] = "main.cpp 87: CreateDialog Error.";
inline constexpr char kCreateOppDetail[] = "main.cpp 124: CreateDialog Error.";
inline constexpr char kCreateOppHomepage[] = "main.cpp 132: CreateDialog Error.";
inline constexpr char kCreateOppImportantStat[] = "main.cpp 144: CreateDialog Error.";
inline constexpr char kCreateOppPhaseAndDateStat[] = "main.cpp 164: CreateDialog Error.";
inline constexpr char kCreateAccDetail[] = "main.cpp 192: CreateDialog Error.";
inline constexpr char kCreateOtherView[] = "main.cpp 215: CreateDialog Error.";

// The first-run wizard and the login.
inline constexpr char kDisagreed[] =
    "很遗憾您不同意我们的软件使用协议，如果您有什么意见或建议请在方便的时候和我们联系，\n"
    "北京塔维尔信息技术有限公司。";
inline constexpr char kUserNameTooShort[] = "您输入的用户名小于3个字符，请重新输入";
inline constexpr char kPasswordTooShort[] = "您输入的密码小于6个字符，请重新输入";
inline constexpr char kPasswordsDiffer[] = "您输入的密码不一致请重新输入";
inline constexpr char kWrongPassword[] = "您输入的密码错误请重新输入";

// Views and their helpers.
inline constexpr char kViewNoInstance[] = "BaseDialogClass.cpp 55: hInstance Error.";
inline constexpr char kViewRegisterClass[] = "BaseDialogClass.cpp 74: RegisterClass Error.";
inline constexpr char kViewCreateWindow[] = "BaseDialogClass.cpp 86: CreateWindow Error.";
inline constexpr char kListCreate[] = "ListViewClass.cpp 42: CreateWindowEx Error.";
inline constexpr char kListInsertColumn[] = "ListViewClass.cpp 82: ListView_InsertColumn Error.";
inline constexpr char kListSetItem[] = "ListViewClass.cpp 122: ListView_SetItem Error.";
inline constexpr char kToolbarCreate[] = "ToolbarClass.cpp 27: CreateWindowEx Error.";
inline constexpr char kToolbarHeight[] = "ToolbarClass.cpp 125: m_hToolbar Error.";
inline constexpr char kToolbarAutoSize[] = "ToolbarClass.cpp 138: hToolbar Error.";
// History: names the data classes.
inline constexpr char kHistoryKeyword[] = "Acc_DetailClass.cpp 79: new Error";
inline constexpr char kHistoryIDList[] = "Opp_DetailClass.cpp 98: new Error";

// Export.
inline constexpr char kExportCreateFile[] = "ExportClass.cpp 67: Create File Error.";
inline constexpr char kExportWriteFile[] = "ExportClass.cpp 71: Write File Error.";
inline constexpr char kExportCloseFile[] = "ExportClass.cpp 75: Close File Error.";
inline constexpr char kExportOpenFile[] = "您需要打开刚导出的文件吗?";
// The desktop has no program for a file or web address.
inline constexpr char kNoProgramForFile[] = "没有找到可以打开这个文件的程序。";
inline constexpr char kNoProgramForWebSite[] = "没有找到可以打开网页的程序，请用浏览器访问帮助网站。";
inline constexpr char kNoProgramForMail[] =
    "没有找到可以写邮件的程序，请安装邮件程序后再试，或把邮件地址复制到您的邮件程序中。";

// Record forms.
// An amount field whose text is not wholly a finite number (our own text):
// the field's name.
inline constexpr char kAmountInvalid[] = "“%s”不是有效的金额，请输入一个有限的数字。";
inline constexpr char kRecordMissing[] = "该记录已不存在";
inline constexpr char kDeleteNothing[] = "删除错误";
inline constexpr char kConfirmDelete[] = "您确认要删除记录吗?删除后数据将不可恢复!";

// The start page: names the account list page.
inline constexpr char kHomepageTasks[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";

// The database connection and statements.
inline constexpr char kOdbcAllocEnv[] = "ODBCClass.cpp 39: SQLAllocHandle Error.";
inline constexpr char kOdbcSetEnvAttr[] = "ODBCClass.cpp 47: SQLSetEnvAttr Error.";
inline constexpr char kOdbcAllocDbc[] = "ODBCClass.cpp 54: SQLAllocHandle Error.";
inline constexpr char kOdbcNoFolder[] = "程序所在文件夹的路径太长或无法确定，不能打开数据库文件mydata.tvd。";
inline constexpr char kOdbcConnect[] = "ODBCClass.cpp 72: SQLDriverConnect Error.";
inline constexpr char kOdbcTooLong[] = "要保存的内容太长，无法写入数据库。";
inline constexpr char kOdbcAllocStmt[] = "ODBCClass.cpp 96: SQLAllocHandle Error.";
inline constexpr char kOdbcExec[] = "ODBCClass.cpp 103: SQLExecDirect Error.";
inline constexpr char kOdbcGetData[] = "ODBCClass.cpp 130: SQLGetData Error.";
inline constexpr char kOdbcGetDataLen[] = "ODBCClass.cpp 160: SQLGetData Error.";

// What the store refuses or finds wrong with the file (our own texts).
// A damaged or foreign file: the text before and after the file's name.
inline constexpr char kDamagedFileBefore[] = "数据库文件“";
inline constexpr char kDamagedFileAfter[] =
    "”已损坏，或者不是本程序的数据库文件。为保护其中的数据，程序不会向它写入任何内容。";
// The file cannot be used now: the text before and after the file's name.
inline constexpr char kFileInUseBefore[] = "数据库文件“";
inline constexpr char kFileInUseAfter[] =
    "”正被另一个程序使用，现在无法读写。请关闭那个程序后再试。这次的操作没有完成，文件中原有的内容没有改变。";
inline constexpr char kFileReadOnlyBefore[] = "数据库文件“";
inline constexpr char kFileReadOnlyAfter[] =
    "”无法写入：文件或它所在的文件夹是只读的。请去掉只读后再试。这次的操作没有完成，文件中原有的内容没有改变。";
inline constexpr char kFileFullBefore[] = "磁盘已满，数据库文件“";
inline constexpr char kFileFullAfter[] =
    "”无法写入。请腾出磁盘空间后再试。这次的操作没有完成，文件中原有的内容没有改变。";
inline constexpr char kStoreTransBegin[] = "无法开始数据库事务，未做任何修改。";
inline constexpr char kStoreTransCommit[] = "数据库文件未能保存这次修改，修改已全部撤销。";
inline constexpr char kTextNotGbk[] = "要保存的文字中有无法识别的字符（不是有效的GBK编码），未写入数据库。";
// A text longer than its column gives back: the field's name, its bytes, its
// Chinese characters.
inline constexpr char kTextTooLongFormat[] = "“%s”太长：最多可保存%u个字节（%u个汉字），未写入数据库。";
inline constexpr char kSubjectLabel[] = "主题";
inline constexpr char kNoSettingsRowRead[] = "数据库文件中没有设置记录，无法读取程序的设置。";
inline constexpr char kNoSettingsRowSaved[] = "数据库文件中没有设置记录，设置未能保存。";

// The store's shared list and category helpers: names the opportunity data class.
inline constexpr char kTooManyCategories[] = "类别太多，超出的类别未列出。";
inline constexpr char kListNew[] = "Opp_DetailClass.cpp 98: new Error";
inline constexpr char kListAllocHead[] = "Opp_DetailClass.cpp 158: cod_AllocHead Error.";
inline constexpr char kListExec[] = "Opp_DetailClass.cpp 153: co_ExecSQL Error.";
inline constexpr char kListNextData[] = "Opp_DetailClass.cpp 163: co_GetNextData Error.";
inline constexpr char kListGetData[] = "Opp_DetailClass.cpp 170: co_SQLGetData Error.";

// The new-record dialogs.
inline constexpr char kNewDialogAllocHead[] = "Opp_DetailDialogClass.cpp 262: cod_AllocHead Error.";
inline constexpr char kNewAccountAdd[] = "Acc_DetailDialogClass.cpp 269: cad_AddAccount Error.";
inline constexpr char kNewTaskAdd[] = "Opp_DetailDialogClass.cpp 269: cod_AddOpportunity Error.";
// The record pickers (a failed link names the same line as a failed task).
inline constexpr char kPickerQuery[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";
inline constexpr char kPickerIDArray[] = "Acc_HomepageDialogClass.cpp 89: m_pulID Error.";
inline constexpr char kPickerNoRows[] = "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.";
inline constexpr char kPickerNoOpportunities[] = "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.";
inline constexpr char kPickerNoAccounts[] = "Acc_HomepageDialogClass.cpp 135: m_pAccHead Error.";
// The relation tab pages of the record forms.
inline constexpr char kRelatedQuery[] = "Acc_HomepageDialogClass.cpp 94: cad_GetAllAccounts Error.";
inline constexpr char kRelatedIDArray[] = "Acc_HomepageDialogClass.cpp 89: m_pulID Error.";
inline constexpr char kRelatedNoTasks[] = "Acc_HomepageDialogClass.cpp 135: m_pConHead Error.";
inline constexpr char kRelatedNoOpportunities[] = "Opp_HomepageDialogClass.cpp 135: m_pOppHead Error.";
inline constexpr char kRelatedNoRecords[] = "Acc_HomepageDialogClass.cpp 135: m_pAccHead Error.";

}  // namespace msg
