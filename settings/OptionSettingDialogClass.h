// The lookup-category editor. Window class "OptionSetting", one object
// g_OptionSetting. Each of its six opening messages chooses the lookup list
// to edit; 40008 is read as the relation list. The history entry's kind is
// the list (1 importance ... 6 customer type).
#pragma once

#include "views/PlaceholderDialogClass.h"

class OptionSettingDialogClass : public PlaceholderDialogClass {
public:
    // The lists, in the order of the settings store's categories.
    enum Mode { MODE_IMPORTANT, MODE_RELATION, MODE_PROVINCE, MODE_PHASE, MODE_INDUSTRY, MODE_TYPE };

    OptionSettingDialogClass();

    // The list an opening message chooses, or -1 for any other message.
    static int ModeOfMessage(UINT uMsg);

    int m_nMode;  // the list shown

protected:
    HistoryNode* OnOpen(UINT uMsg) override;
    void OnRestore() override;
};

extern OptionSettingDialogClass g_OptionSetting;
