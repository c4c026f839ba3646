// A database file that cannot be written now: held by another program, read
// only, or on a full disk, during a save from a record form and from a
// new-record dialog, and one that cannot even be read during page loads.
// Each failed action gives the user one clear box naming the trouble first,
// then the program's own texts; the typed values stay, nothing is stored
// half, and once the trouble is gone the same save stores the record.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/dialogs/DialogTestSupport.h"

#include "dialogs/NewRecordDialogs.h"
#include "resources/accounts_ids.h"
#include "resources/message_texts.h"
#include "store/ODBCClass.h"
#include "shell/RelatingGlobals.h"
#include "views/accounts/Acc_DetailDialogClass.h"
#include "views/accounts/Acc_Navigation.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace programtest;
using namespace dialogtest;
namespace fs = std::filesystem;

namespace {

enum Kind { kInUse, kReadOnly, kFull };

std::string TroubleText(Kind kind, const std::string& strFile) {
    switch (kind) {
    case kInUse: return msg::kFileInUseBefore + strFile + msg::kFileInUseAfter;
    case kReadOnly: return msg::kFileReadOnlyBefore + strFile + msg::kFileReadOnlyAfter;
    default: return msg::kFileFullBefore + strFile + msg::kFileFullAfter;
    }
}

// Runs a statement on the program's own connection; its result.
int OnConnection(const std::string& sql) {
    TakeBoxes();
    const int r = Exec(sql);
    TakeBoxes();
    return r;
}

// One kind of trouble on the program's database, from Begin() until End();
// End() takes it away again where that can be done on an open connection
// (a file opened read only stays so: that kind has no retry).
class Trouble {
public:
    explicit Trouble(Kind kind) : m_Kind(kind) {}
    ~Trouble() { Dispose(); }
    Trouble(const Trouble&) = delete;
    Trouble& operator=(const Trouble&) = delete;

    // The file the program now works on (its name as the boxes give it).
    const std::string& File() const { return m_strFile; }
    bool CanRetry() const { return m_Kind != kReadOnly; }
    // How the trouble is made here, for the test's record.
    std::string How() const { return m_strHow; }

    void Begin() {
        switch (m_Kind) {
        case kInUse: BeginLock(); break;
        case kReadOnly: BeginReadOnly(); break;
        case kFull: BeginFull(); break;
        }
    }
    void End() {
        if (m_pOther) {
            sqlite3_exec(m_pOther, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(m_pOther);
            m_pOther = nullptr;
        }
        if (!m_strFiller.empty()) fs::remove(m_strFiller);
        m_strFiller.clear();
        if (m_bPageLimit) OnConnection("PRAGMA max_page_count=1073741823");
        m_bPageLimit = false;
    }

private:
    // Another program holds a write lock (a reserved lock: reads still go).
    void BeginLock() {
        m_strFile = Database().Path();
        m_strHow = "a write lock held by another connection";
        ASSERT_EQ(sqlite3_open(m_strFile.c_str(), &m_pOther), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(m_pOther, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }

    // A folder of our own on a small tmpfs (false when mounting is not
    // permitted here).
    bool MountTmpfs(const char* pszSize) {
        char szDir[] = "/tmp/tarvel-trouble-XXXXXX";
        if (!mkdtemp(szDir)) return false;
        m_strMount = szDir;
        const std::string strOptions = std::string("size=") + pszSize;
        if (mount("tmpfs", szDir, "tmpfs", 0, strOptions.c_str()) != 0) {
            fs::remove(m_strMount);
            m_strMount.clear();
            return false;
        }
        m_bMounted = true;
        return true;
    }
    // The program works on a copy of its database at strFile.
    void MoveProgramTo(const std::string& strFile) {
        fs::copy_file(Database().Path(), strFile, fs::copy_options::overwrite_existing);
        m_strFile = strFile;
        ProgramDatabase::PointConnectionAt(strFile);
        ASSERT_EQ(g_ODBC.co_InitODBC(), 0);
        m_bMoved = true;
    }

    void BeginReadOnly() {
        if (geteuid() != 0) {
            // The file's own permission, which the super-user would pass.
            char szDir[] = "/tmp/tarvel-readonly-XXXXXX";
            ASSERT_TRUE(mkdtemp(szDir));
            m_strFolder = szDir;
            const std::string strFile = m_strFolder + "/mydata.tvd";
            fs::copy_file(Database().Path(), strFile);
            chmod(strFile.c_str(), 0444);
            MoveProgramTo(strFile);
            m_strHow = "a file without write permission";
        } else if (MountTmpfs("4m")) {
            // The super-user: a read-only file system.
            const std::string strFile = m_strMount + "/mydata.tvd";
            fs::copy_file(Database().Path(), strFile);
            ASSERT_EQ(mount("tmpfs", m_strMount.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
            m_strFile = strFile;
            ProgramDatabase::PointConnectionAt(strFile);
            ASSERT_EQ(g_ODBC.co_InitODBC(), 0);
            m_bMoved = true;
            m_strHow = "a file on a read-only file system";
        } else {
            // Neither: the connection made read-only (SQLite's query_only).
            m_strFile = Database().Path();
            ASSERT_EQ(OnConnection("PRAGMA query_only=1"), 0);
            m_bQueryOnly = true;
            m_strHow = "the connection set to query only (no tmpfs could be mounted)";
        }
    }

    void BeginFull() {
        if (MountTmpfs("1m")) {
            MoveProgramTo(m_strMount + "/mydata.tvd");
            // Fill what is left of the file system.
            m_strFiller = m_strMount + "/filler";
            std::ofstream out(m_strFiller, std::ios::binary);
            const std::string block(4096, 'x');
            while (out.write(block.data(), (std::streamsize)block.size()) && out.flush()) {
            }
            m_strHow = "a full 1 MB tmpfs";
        } else {
            // No tmpfs here: the file may not grow beyond its pages.
            m_strFile = Database().Path();
            const long long nPages = QueryInt("PRAGMA page_count");
            ASSERT_EQ(OnConnection("PRAGMA max_page_count=" + std::to_string(nPages)), 0);
            m_bPageLimit = true;
            m_strHow = "a page-count limit (no tmpfs could be mounted)";
        }
    }

    void Dispose() {
        End();
        if (m_bQueryOnly) OnConnection("PRAGMA query_only=0");
        if (m_bMoved) testsupport::ResetGlobalConnection();
        if (m_bMounted) umount2(m_strMount.c_str(), MNT_DETACH);
        std::error_code ec;
        if (!m_strMount.empty()) fs::remove_all(m_strMount, ec);
        if (!m_strFolder.empty()) fs::remove_all(m_strFolder, ec);
        if (m_bMoved) StartFresh();  // back on a copy of the program's own
    }

    Kind m_Kind;
    std::string m_strFile, m_strHow, m_strMount, m_strFolder, m_strFiller;
    sqlite3* m_pOther = nullptr;
    bool m_bMounted = false, m_bMoved = false, m_bQueryOnly = false, m_bPageLimit = false;
};

long long Count(const std::vector<std::string>& boxes, const std::string& text) {
    return std::count(boxes.begin(), boxes.end(), text);
}

// A text too long for the free pages of the file: a save must grow it.
std::string LongText() {
    std::string s;
    for (int i = 0; i < 3000; ++i) s += "长的说明文字";
    return s;
}

class FileTrouble : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override {
        StartFresh();
        m_a = AddAccount({.name = "甲公司"});
    }
    void TearDown() override { g_ulRelatingID = 0; }
    unsigned m_a = 0;
};

// The account form: a changed account saved while the file cannot be
// written.
TEST_P(FileTrouble, ASaveFromAFormShowsOneClearBoxFirstAndKeepsTheInput) {
    Trouble trouble(GetParam());
    HandOverToForm(&g_Acc_Detail, &m_a, 1, 0, "列表");
    Click(g_Acc_Detail, IDC_ACCD_EDIT);
    SetText(g_Acc_Detail.m_hName, "乙公司");
    SetText(g_Acc_Detail.m_hDescription, LongText());
    TakeBoxes();
    trouble.Begin();
    SCOPED_TRACE(trouble.How());
    Click(g_Acc_Detail, IDC_ACCD_SAVE);
    const std::vector<std::string> boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0], TroubleText(GetParam(), trouble.File()));
    EXPECT_EQ(Count(boxes, boxes[0]), 1) << "one clear box for the failed save";
    EXPECT_EQ(g_Acc_Detail.CurrentMode(), RecordFormClass::kEdit);
    EXPECT_EQ(Text(g_Acc_Detail.m_hName), "乙公司");
    EXPECT_EQ(QueryText("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(m_a)), "甲公司");
    if (!trouble.CanRetry()) return;
    trouble.End();
    Click(g_Acc_Detail, IDC_ACCD_SAVE);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryText("SELECT acc_name FROM accounts WHERE acc_id=" + std::to_string(m_a)), "乙公司");
    EXPECT_EQ(g_Acc_Detail.CurrentMode(), RecordFormClass::kBrowse);
}

// The account's new-opportunity dialog: 确定 while the file cannot be
// written keeps the dialog open with the input; 确定 again afterwards
// stores the opportunity once, linked to the account.
TEST_P(FileTrouble, ASaveFromADialogShowsOneClearBoxFirstAndKeepsTheInput) {
    Trouble trouble(GetParam());
    g_ulRelatingID = m_a;
    std::vector<std::string> boxes;
    std::string typed;
    bool bOpen = false, bClosedByRetry = false;
    long long nBefore = -1, nAfterFailure = -1;
    RunDialog(IDD_NEW_OPPORTUNITY, NewOpportunityDlgProc_AccDetail, [&](HWND h) {
        SetText(h, IDC_NEWOPP_SUBJECT, "新机会");
        SetText(h, IDC_NEWOPP_DESCRIPTION, LongText());
        TakeBoxes();
        trouble.Begin();
        nBefore = QueryInt("SELECT COUNT(*) FROM opportunities");
        TakeBoxes();
        PressButton(h, IDC_NEWRECORD_OK);
        boxes = TakeBoxes();
        bOpen = IsWindowVisible(h) != FALSE;
        typed = GetText(h, IDC_NEWOPP_SUBJECT);
        nAfterFailure = QueryInt("SELECT COUNT(*) FROM opportunities");
        TakeBoxes();
        if (trouble.CanRetry()) {
            trouble.End();
            PressButton(h, IDC_NEWRECORD_OK);
            bClosedByRetry = !IsWindow(h) || !IsWindowVisible(h);
        }
        if (IsWindow(h) && IsWindowVisible(h)) PressButton(h, IDCANCEL);
    });
    SCOPED_TRACE(trouble.How());
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0], TroubleText(GetParam(), trouble.File()));
    EXPECT_EQ(Count(boxes, boxes[0]), 1) << "one clear box for the failed save";
    EXPECT_TRUE(bOpen);
    EXPECT_EQ(typed, "新机会");
    EXPECT_EQ(nAfterFailure, nBefore);
    if (!trouble.CanRetry()) return;
    EXPECT_TRUE(bClosedByRetry);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities WHERE opp_subject='新机会'"), 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM opportunities_accounts WHERE acc_id=" + std::to_string(m_a)), 1);
}

// Another program's exclusive lock keeps even reads out: each page load
// (the program waiting for the user in between) shows the clear box once,
// the second as the first.
TEST_F(FileTrouble, EachPageLoadUnderAnExclusiveLockShowsOneClearBox) {
    sqlite3* pOther = nullptr;
    ASSERT_EQ(sqlite3_open(Database().Path().c_str(), &pOther), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> other(pOther, sqlite3_close);  // rolls back
    ASSERT_EQ(sqlite3_exec(pOther, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    TakeBoxes();
    for (auto load : {GotoAcc_Homepage, GotoAcc_ImportantStat}) {
        load();
        PumpMessages();
        const std::vector<std::string> boxes = TakeBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes[0], TroubleText(kInUse, Database().Path()));
        EXPECT_EQ(Count(boxes, boxes[0]), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FileTrouble, ::testing::Values(kInUse, kReadOnly, kFull),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return std::string(info.param == kInUse      ? "HeldByAnotherProgram"
                                                : info.param == kReadOnly ? "ReadOnly"
                                                                          : "DiskFull");
                         });

}  // namespace
