// KERNEL32: module path, local time, files, threads (no GUI; library w32kernel).
#pragma once

#include "win32.h"

// ---------------------------------------------------------------------------
// KERNEL32
// ---------------------------------------------------------------------------
typedef struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

// Full path of the running executable (GBK), NUL-terminated, cut to nSize.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
void GetLocalTime(LPSYSTEMTIME lpSystemTime);

// ---------------------------------------------------------------------------
// Errors
// ---------------------------------------------------------------------------
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_WRITE_FAULT 29L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_NAME 123L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_INVALID_THREAD_ID 1444L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_CLASS_DOES_NOT_EXIST 1411L
#define ERROR_CLASS_HAS_WINDOWS 1412L

// The calling thread's last error code.
DWORD GetLastError(void);
void SetLastError(DWORD dwErrCode);

// ---------------------------------------------------------------------------
// Threads and waiting
// ---------------------------------------------------------------------------
typedef size_t SIZE_T;
typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 0x00000102L
#define WAIT_FAILED 0xFFFFFFFF
#define STILL_ACTIVE 0x00000103L
#define CREATE_SUSPENDED 0x00000004

// Starts the thread at once (CREATE_SUSPENDED is not supported: NULL).
// NULL on failure. Closing the handle does not affect the running thread.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId);
// Threads are signalled when they end. Files cannot be waited for (WAIT_FAILED).
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
DWORD GetCurrentThreadId(void);
// Closes a thread or file handle. FALSE (ERROR_INVALID_HANDLE) for a handle
// that is not open.
BOOL CloseHandle(HANDLE hObject);
void Sleep(DWORD dwMilliseconds);

// ---------------------------------------------------------------------------
// Files. Paths are GBK; '\' separators are taken as '/'.
// ---------------------------------------------------------------------------
#define GENERIC_READ 0x80000000L
#define GENERIC_WRITE 0x40000000L
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_NORMAL 0x00000080

typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;  // asynchronous I/O is not supported

HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                   HANDLE hTemplateFile);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);

// ---------------------------------------------------------------------------
// Code pages. The ANSI code page is 936 (GBK). WCHAR is wchar_t: one unit
// per character.
// ---------------------------------------------------------------------------
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008

// Converts cbMultiByte bytes (-1: up to and including the NUL) to wide
// characters. cchWideChar == 0 asks for the size. Returns the characters
// written, 0 on failure (GetLastError tells).
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

// ---------------------------------------------------------------------------
// String resources of the executable (STRINGTABLE)
// ---------------------------------------------------------------------------
// Copies string uID into lpBuffer (cchBufferMax bytes with the NUL), cut at a
// character boundary. Returns the bytes copied; 0 (and an empty buffer) when
// there is no such string.
int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax);

// ---------------------------------------------------------------------------
// Modules
// ---------------------------------------------------------------------------
#define ERROR_MOD_NOT_FOUND 126L

// The executable's module handle, the instance handle WinMain receives, for
// NULL or the executable's own file name (with or without ".exe"); NULL
// (ERROR_MOD_NOT_FOUND) for any other module.
HMODULE GetModuleHandleA(LPCSTR lpModuleName);
