// The view switches into the settings pages, for the menus and links that open them.
#pragma once

int GotoMailSetting();
int GotoOptionSetting_Important();
int GotoOptionSetting_Relation();
int GotoOptionSetting_Province();
int GotoOptionSetting_Phase();
int GotoOptionSetting_Industry();
int GotoOptionSetting_Type();
int GotoLoginSetting();
