// SHELL32, comdlg32 and ole32 shell links.
#pragma once

#include "win32.h"

// ---------------------------------------------------------------------------
// SHELL32: opening documents and links
// ---------------------------------------------------------------------------
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

// Hands a web link ("http:", "https:", "mailto:", ...) or a file (GBK path,
// '\' taken as '/', relative to lpDirectory if given) to the desktop's default
// program, without waiting. Returns a value > 32 on success, else SE_ERR_*.
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                        INT nShowCmd);

// ---------------------------------------------------------------------------
// SHELL32: special folders and change notifications
// ---------------------------------------------------------------------------
#define CSIDL_DESKTOP 0x0000
#define CSIDL_PERSONAL 0x0005
#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_APPDATA 0x001A

// The folder's path (GBK, no trailing separator, at most MAX_PATH bytes with
// the NUL) in lpszPath. The desktop is the XDG desktop folder, the personal
// folder the XDG documents folder. FALSE when the folder does not exist
// (fCreate: it is created) or the path does not fit.
BOOL SHGetSpecialFolderPathA(HWND hwnd, LPSTR lpszPath, int csidl, BOOL fCreate);

#define SHCNE_CREATE 0x00000002L
#define SHCNE_DELETE 0x00000004L
#define SHCNE_UPDATEDIR 0x00001000L
#define SHCNE_UPDATEITEM 0x00002000L
#define SHCNE_ASSOCCHANGED 0x08000000L
#define SHCNE_INTERRUPT 0x80000000L
#define SHCNF_IDLIST 0x0000
#define SHCNF_PATHA 0x0001
#define SHCNF_PATH SHCNF_PATHA
#define SHCNF_FLUSH 0x1000

// The desktop notices new files itself: nothing to do.
void SHChangeNotify(LONG wEventId, UINT uFlags, LPCVOID dwItem1, LPCVOID dwItem2);

// ---------------------------------------------------------------------------
// comdlg32: the save-file dialog
// ---------------------------------------------------------------------------
typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;  // pairs "description\0pattern[;pattern]\0", ending in "\0"
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;  // 1-based; set to the filter chosen
    LPSTR lpstrFile;     // in: initial name; out: the full path (GBK)
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;  // out: the file name without folder
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;     // out: offset of the file name in lpstrFile
    WORD nFileExtension;  // out: offset of the extension (0: none)
    LPCSTR lpstrDefExt;   // appended (with a dot) to a name typed without extension
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;
typedef OPENFILENAMEA OPENFILENAME;
typedef LPOPENFILENAMEA LPOPENFILENAME;

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_EXPLORER 0x00080000

#define CDERR_INITIALIZATION 0x0002
#define CDERR_STRUCTSIZE 0x0001
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003

// Shows the save dialog, modal to the owner's top-level window. TRUE with the
// chosen path in lpstrFile; FALSE when cancelled or on error
// (CommDlgExtendedError tells: 0 for cancel). A path GBK cannot hold is
// refused (FNERR_INVALIDFILENAME).
BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn);
#define GetSaveFileName GetSaveFileNameA
DWORD CommDlgExtendedError(void);

// ---------------------------------------------------------------------------
// ole32 / COM: the shell-link object. Saving a link writes a freedesktop
// desktop entry (".lnk" becomes ".desktop"), executable, that starts the target.
// ---------------------------------------------------------------------------
typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID, IID, CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i]) return false;
    return true;
}
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
#define IsEqualIID IsEqualGUID
#define IsEqualCLSID IsEqualGUID

typedef WCHAR OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;

// HRESULT error codes have the top bit set: negative as 32-bit values.
#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define E_NOTIMPL ((HRESULT)(int32_t)0x80004001)
#define E_NOINTERFACE ((HRESULT)(int32_t)0x80004002)
#define E_POINTER ((HRESULT)(int32_t)0x80004003)
#define E_FAIL ((HRESULT)(int32_t)0x80004005)
#define E_UNEXPECTED ((HRESULT)(int32_t)0x8000FFFF)
#define E_ACCESSDENIED ((HRESULT)(int32_t)0x80070005)
#define E_OUTOFMEMORY ((HRESULT)(int32_t)0x8007000E)
#define E_INVALIDARG ((HRESULT)(int32_t)0x80070057)
#define CLASS_E_NOAGGREGATION ((HRESULT)(int32_t)0x80040110)
#define REGDB_E_CLASSNOTREG ((HRESULT)(int32_t)0x80040154)
#define CO_E_NOTINITIALIZED ((HRESULT)(int32_t)0x800401F0)
#define STG_E_PATHNOTFOUND ((HRESULT)(int32_t)0x80030003)
#define STG_E_WRITEFAULT ((HRESULT)(int32_t)0x8003001D)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)

#define STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) = 0;
    STDMETHOD_(ULONG, AddRef)() = 0;
    STDMETHOD_(ULONG, Release)() = 0;

protected:
    ~IUnknown() = default;  // objects are destroyed by Release
};
typedef IUnknown* LPUNKNOWN;

struct IPersist : public IUnknown {
    STDMETHOD(GetClassID)(CLSID* pClassID) = 0;

protected:
    ~IPersist() = default;
};

struct IPersistFile : public IPersist {
    STDMETHOD(IsDirty)() = 0;
    STDMETHOD(Load)(LPCOLESTR pszFileName, DWORD dwMode) = 0;
    // Writes the object to pszFileName (NULL: the file it was loaded from or
    // last saved to with fRemember), replacing an existing file.
    STDMETHOD(Save)(LPCOLESTR pszFileName, BOOL fRemember) = 0;
    STDMETHOD(SaveCompleted)(LPCOLESTR pszFileName) = 0;
    STDMETHOD(GetCurFile)(LPOLESTR* ppszFileName) = 0;

protected:
    ~IPersistFile() = default;
};

// Texts are GBK; paths take '\' as '/'.
struct IShellLinkA : public IUnknown {
    STDMETHOD(GetPath)(LPSTR pszFile, int cch, void* pfd, DWORD fFlags) = 0;
    STDMETHOD(SetPath)(LPCSTR pszFile) = 0;
    STDMETHOD(GetArguments)(LPSTR pszArgs, int cch) = 0;
    STDMETHOD(SetArguments)(LPCSTR pszArgs) = 0;
    STDMETHOD(GetDescription)(LPSTR pszName, int cch) = 0;
    STDMETHOD(SetDescription)(LPCSTR pszName) = 0;
    STDMETHOD(GetWorkingDirectory)(LPSTR pszDir, int cch) = 0;
    STDMETHOD(SetWorkingDirectory)(LPCSTR pszDir) = 0;
    STDMETHOD(GetIconLocation)(LPSTR pszIconPath, int cch, int* piIcon) = 0;
    STDMETHOD(SetIconLocation)(LPCSTR pszIconPath, int iIcon) = 0;
    STDMETHOD(GetShowCmd)(int* piShowCmd) = 0;
    STDMETHOD(SetShowCmd)(int iShowCmd) = 0;

protected:
    ~IShellLinkA() = default;
};
typedef IShellLinkA IShellLink;

extern const IID IID_IUnknown;
extern const IID IID_IPersist;
extern const IID IID_IPersistFile;
extern const IID IID_IShellLinkA;
#define IID_IShellLink IID_IShellLinkA
extern const CLSID CLSID_ShellLink;

// Per-thread initialisation: S_OK the first time, S_FALSE when already done.
HRESULT CoInitialize(LPVOID pvReserved);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize(void);
// Creates a shell-link object (CLSID_ShellLink) and returns the interface asked
// for. CO_E_NOTINITIALIZED when the thread has not called CoInitialize.
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
