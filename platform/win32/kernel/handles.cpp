// KERNEL32 threads, files, waiting and the last-error code.
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "platform/gbk/gbk.h"
#include "win32.h"
#include "win32_virtualstore.h"

namespace {

thread_local DWORD t_lastError = 0;

// Shared by the thread and its handle; pthread primitives because <chrono>
// (pulled in by <thread>) does not compile with a GBK execution charset.
struct ThreadState {
    pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t cv;
    ThreadState() {
        pthread_condattr_t a;
        pthread_condattr_init(&a);
        pthread_condattr_setclock(&a, CLOCK_MONOTONIC);
        pthread_cond_init(&cv, &a);
        pthread_condattr_destroy(&a);
    }
    ~ThreadState() {
        pthread_cond_destroy(&cv);
        pthread_mutex_destroy(&m);
    }
    ThreadState(const ThreadState&) = delete;
    ThreadState& operator=(const ThreadState&) = delete;
    LPTHREAD_START_ROUTINE proc = nullptr;
    LPVOID param = nullptr;
    bool done = false;
    DWORD id = 0;
    DWORD exitCode = STILL_ACTIVE;
};

// What a HANDLE points to. The set of live objects lets CloseHandle and the
// file calls reject a handle that was never opened or is already closed.
struct HandleObject {
    enum Kind { Thread, File } kind;
    std::shared_ptr<ThreadState> thread;
    int fd = -1;
};

std::mutex g_handlesMutex;
std::set<HandleObject*>& LiveHandles() {
    static auto* live = new std::set<HandleObject*>;  // outlives static destructors
    return *live;
}

HANDLE Register(HandleObject* h) {
    std::lock_guard<std::mutex> lock(g_handlesMutex);
    LiveHandles().insert(h);
    return h;
}

// The object behind h if it is live (and of the kind asked for). Threads are
// returned as a shared state so closing the handle meanwhile is harmless.
bool LookupThread(HANDLE h, std::shared_ptr<ThreadState>* out) {
    std::lock_guard<std::mutex> lock(g_handlesMutex);
    auto it = LiveHandles().find(static_cast<HandleObject*>(h));
    if (it == LiveHandles().end() || (*it)->kind != HandleObject::Thread) return false;
    *out = (*it)->thread;
    return true;
}

bool LookupFile(HANDLE h, int* fd) {
    std::lock_guard<std::mutex> lock(g_handlesMutex);
    auto it = LiveHandles().find(static_cast<HandleObject*>(h));
    if (it == LiveHandles().end() || (*it)->kind != HandleObject::File) return false;
    *fd = (*it)->fd;
    return true;
}

DWORD ErrorFromErrno(int e) {
    switch (e) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_FILE_EXISTS;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENAMETOOLONG: return ERROR_INVALID_NAME;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_WRITE_FAULT;
    }
}

}  // namespace

namespace w32 {
// The handles made and not yet closed (counted by the window layer's test hooks).
int CountKernelHandles() {
    std::lock_guard<std::mutex> lock(g_handlesMutex);
    return int(LiveHandles().size());
}
}  // namespace w32

DWORD GetLastError(void) { return t_lastError; }
void SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

// ---------------------------------------------------------------------------
// Threads
// ---------------------------------------------------------------------------
namespace {

void* ThreadMain(void* arg) {
    std::shared_ptr<ThreadState> state = std::move(*static_cast<std::shared_ptr<ThreadState>*>(arg));
    delete static_cast<std::shared_ptr<ThreadState>*>(arg);
    pthread_mutex_lock(&state->m);
    state->id = GetCurrentThreadId();
    pthread_cond_broadcast(&state->cv);
    pthread_mutex_unlock(&state->m);
    DWORD code = state->proc(state->param);
    pthread_mutex_lock(&state->m);
    state->exitCode = code;
    state->done = true;
    pthread_cond_broadcast(&state->cv);
    pthread_mutex_unlock(&state->m);
    return nullptr;
}

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId) {
    if (!lpStartAddress || (dwCreationFlags & CREATE_SUSPENDED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto state = std::make_shared<ThreadState>();
    state->proc = lpStartAddress;
    state->param = lpParameter;
    auto* obj = new HandleObject{HandleObject::Thread, state, -1};
    // The thread owns one reference to the state for as long as it runs.
    auto* ref = new std::shared_ptr<ThreadState>(state);
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t tid;
    int rc = pthread_create(&tid, &attr, ThreadMain, ref);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete ref;
        delete obj;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // The id is known once the thread runs; wait for it so the caller gets it.
    if (lpThreadId) {
        pthread_mutex_lock(&state->m);
        while (state->id == 0) pthread_cond_wait(&state->cv, &state->m);
        *lpThreadId = state->id;
        pthread_mutex_unlock(&state->m);
    }
    return Register(obj);
}

DWORD GetCurrentThreadId(void) { return static_cast<DWORD>(syscall(SYS_gettid)); }

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    std::shared_ptr<ThreadState> st;
    if (!LookupThread(hHandle, &st)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    pthread_mutex_lock(&st->m);
    if (dwMilliseconds == INFINITE) {
        while (!st->done) pthread_cond_wait(&st->cv, &st->m);
    } else {
        struct timespec until;
        clock_gettime(CLOCK_MONOTONIC, &until);
        until.tv_sec += dwMilliseconds / 1000;
        until.tv_nsec += static_cast<long>(dwMilliseconds % 1000) * 1000000L;
        if (until.tv_nsec >= 1000000000L) {
            until.tv_sec += 1;
            until.tv_nsec -= 1000000000L;
        }
        while (!st->done && pthread_cond_timedwait(&st->cv, &st->m, &until) != ETIMEDOUT) {
        }
    }
    bool done = st->done;
    pthread_mutex_unlock(&st->m);
    return done ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    std::shared_ptr<ThreadState> st;
    if (!LookupThread(hThread, &st) || !lpExitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    pthread_mutex_lock(&st->m);
    *lpExitCode = st->exitCode;
    pthread_mutex_unlock(&st->m);
    return TRUE;
}

BOOL CloseHandle(HANDLE hObject) {
    HandleObject* obj = static_cast<HandleObject*>(hObject);
    {
        std::lock_guard<std::mutex> lock(g_handlesMutex);
        if (!LiveHandles().erase(obj)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    bool ok = true;
    if (obj->kind == HandleObject::File && ::close(obj->fd) != 0) {
        SetLastError(ErrorFromErrno(errno));
        ok = false;
    }
    delete obj;
    return ok ? TRUE : FALSE;
}

void Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == INFINITE) {
        for (;;) pause();
    }
    struct timespec ts;
    ts.tv_sec = dwMilliseconds / 1000;
    ts.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

// ---------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------
HANDLE CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD, LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE) {
    if (!lpFileName || !*lpFileName) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string path = gbk::ToUtf8(lpFileName);
    std::replace(path.begin(), path.end(), '\\', '/');

    bool read = dwDesiredAccess & GENERIC_READ, write = dwDesiredAccess & GENERIC_WRITE;
    // An installed program's own folder is its account's copies (file virtualization).
    path = w32kernel::VirtualStorePath(path, write || dwCreationDisposition != OPEN_EXISTING);
    if (path.empty()) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    int flags = O_CLOEXEC | (read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY);
    switch (dwCreationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING:
        if (!write) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
        flags |= O_TRUNC;
        break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
    }
    bool existed = false;
    if (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS) {
        struct stat st;
        existed = ::stat(path.c_str(), &st) == 0;
    }
    mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    int fd;
    do {
        fd = ::open(path.c_str(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    // Win32 reports an existing file replaced or opened as ERROR_ALREADY_EXISTS.
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return Register(new HandleObject{HandleObject::File, nullptr, fd});
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    int fd;
    if (!LookupFile(hFile, &fd)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToWrite)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const char* p = static_cast<const char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToWrite) {
        ssize_t n = ::write(fd, p + done, nNumberOfBytesToWrite - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetLastError(ErrorFromErrno(errno));
            if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
            return FALSE;
        }
        done += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
    return TRUE;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    int fd;
    if (!LookupFile(hFile, &fd)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpOverlapped || (!lpBuffer && nNumberOfBytesToRead)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    char* p = static_cast<char*>(lpBuffer);
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        ssize_t n = ::read(fd, p + done, nNumberOfBytesToRead - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            SetLastError(ErrorFromErrno(errno));
            if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
            return FALSE;
        }
        if (n == 0) break;  // end of file
        done += static_cast<DWORD>(n);
    }
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
    return TRUE;
}
