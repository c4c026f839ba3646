// The StoreTest fixture: a fresh database per test, g_ODBC connected to it,
// message boxes recorded.
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestDatabase.h"

namespace testsupport {

void StoreTest::SetUp() {
    RecordStoreReports();
    ClearMessageBoxes();
    m_pDatabase = new TempDatabase();
    ASSERT_EQ(0, ConnectGlobal(m_pDatabase->Path())) << "cannot connect to " << m_pDatabase->Path();
    ASSERT_TRUE(MessageBoxCalls().empty());
}

void StoreTest::TearDown() {
    ResetGlobalConnection();  // closes the file before it is removed
    delete m_pDatabase;
    m_pDatabase = nullptr;
    ClearMessageBoxes();
}

}  // namespace testsupport
