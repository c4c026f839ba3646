#include "shell/RelatingGlobals.h"

#include "platform/gbk/gbk.h"

ULONG g_ulRelatingID = 0;
char g_szRelatingName[256];
char g_szRelatingAccName[256];
char (&g_szRelatingAccountName)[256] = g_szRelatingAccName;
ULONG g_ulRelatingAccID = 0;

void SetRelatingName(char (&szBuffer)[256], const char* pszName) {
    gbk::CopyCut(szBuffer, sizeof szBuffer, pszName ? pszName : "");
}

void SetRelatingAccount(ULONG ulAccID, const char* pszName) {
    g_ulRelatingAccID = ulAccID;
    SetRelatingName(g_szRelatingAccName, ulAccID != 0 ? pszName : nullptr);
}
