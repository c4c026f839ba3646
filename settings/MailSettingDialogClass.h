// The mail-settings page, the first page of the settings menu: sender,
// SMTP server, login, port, SSL, the pause between mails and the signature
// of the one settings row. Window class "MailSetting", one object
// g_MailSetting.
#pragma once

#include "settings/SettingPageClass.h"
#include "store/SettingClass.h"

class MailSettingDialogClass : public SettingPageClass {
public:
    MailSettingDialogClass();

    void InitDialog(HWND hWnd) override;
    LRESULT DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    // The page's own settings object: never the one the login check uses.
    SettingClass m_Setting;

protected:
    void PaintPage(HDC hdc) override;

private:
    // UM_OPENVIEW: a history entry, then the settings row into the fields.
    void OnOpenView();
    // 保存: the fields into the settings row. After a failed write the typed
    // values stay and no entry is added.
    void OnSave();
    void RecordToFields();
    void FieldsToRecord();
};

extern MailSettingDialogClass g_MailSetting;
