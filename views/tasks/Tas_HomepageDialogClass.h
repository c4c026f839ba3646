// The tasks of one day. Window class "Tas_Homepage", one object
// g_Tas_Homepage. UM_OPENVIEW lists the page's present date (today when it
// was never opened); UM_OPEN_TODAY first sets that date to today. The
// history entry keeps the date (m_stFrom), which Back and Forward restore.
#pragma once

#include "views/PlaceholderDialogClass.h"

class Tas_HomepageDialogClass : public PlaceholderDialogClass {
public:
    Tas_HomepageDialogClass();

    SYSTEMTIME m_stDate;  // the day listed; year 0 until the first opening

protected:
    HistoryNode* OnOpen(UINT uMsg) override;
    void OnRestore() override;
};

extern Tas_HomepageDialogClass g_Tas_Homepage;
