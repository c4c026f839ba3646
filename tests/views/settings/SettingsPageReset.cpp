// The settings pages' state that lives in their global objects from one test
// to the next, reset by programtest::StartFresh.
#include "resources/settings_ids.h"
#include "settings/LoginSettingDialogClass.h"
#include "settings/MailSettingDialogClass.h"
#include "settings/OptionSettingDialogClass.h"
#include "tests/support/ProgramTest.h"

namespace {

void ResetSettingsPages() {
    if (g_OptionSetting.m_bInit) {
        programtest::Click(g_OptionSetting, IDC_OSET_CANCEL);
        SetWindowTextA(g_OptionSetting.m_hValueEdit, "");
        SetWindowTextA(g_OptionSetting.m_hProbabilityEdit, "");
    }
    g_OptionSetting.m_nMode = OptionSettingDialogClass::MODE_IMPORTANT;
    if (g_LoginSetting.m_bInit)
        for (int id : {IDC_LSET_NAME, IDC_LSET_OLDPWD, IDC_LSET_NEWPWD, IDC_LSET_CONFIRM})
            SetWindowTextA(g_LoginSetting.Field(id), "");
}

const bool kRegistered = programtest::AddPageReset(ResetSettingsPages);

}  // namespace
