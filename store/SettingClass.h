// The settings row (mail settings, first-run flag, login) and the six lookup
// categories with their values.
#pragma once

#include "store/RecordList.h"

struct CategoryNode {
    char description[50];
    char probability[10];  // default success probability (phase values only)
    CategoryNode* next;
};

class SettingClass {
public:
    CategoryNode* m_pCategoryHead = nullptr;
    CategoryNode* m_pCurrent = nullptr;
    char set_name[50] = {};
    char set_emailaddress[256] = {};
    char set_smtpserver[256] = {};
    char set_user[50] = {};  // SMTP user; also the login name
    char set_pwd[50] = {};   // SMTP password; also the typed login password (the stored digest after cst_CheckLogin)
    char set_port[10] = {};
    int set_esmtp = 0;
    int set_ssl = 0;
    char set_sign[256] = {};
    // Lookup category of add/change/delete: 0 important, 1 relation,
    // 2 province, 3 phase, 4 industry, 5 type. Also the result of
    // cst_CheckLogin (1 = the password matches).
    int m_iCategory = 0;
    char m_szNewDescription[50] = {};
    char m_szProbability[10] = {};
    char m_szOldDescription[50] = {};
    int set_init = 0;
    int set_againtime = 0;

    SettingClass() = default;
    ~SettingClass();
    SettingClass(const SettingClass&) = delete;
    SettingClass& operator=(const SettingClass&) = delete;

    int cst_AllocHead();
    int cst_AllocNode();
    void cst_FreeList();
    void cst_NextNode();

    int cst_LoadCategoryList();
    int cst_LoadPhaseList();
    void cst_GetImportant();
    void cst_GetRelation();
    void cst_GetProvince();
    void cst_GetPhase();
    void cst_GetIndustry();
    void cst_GetType();

    int cst_AddCategory();
    int cst_UpdateCategory();
    int cst_DeleteCategory();

    int cst_GetMailSetting();
    int cst_SaveMailSetting();
    int cst_GetInit();
    int cst_SetInit();
    int cst_SetLogin();
    int cst_CheckLogin();
    int cst_GetLoginName();

private:
    int LoadList(bool bPhase);
};

extern SettingClass g_Setting;
