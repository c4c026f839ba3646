// WinSock 2 over POSIX sockets.
#include "winsock2.h"
#include "winsock_testhooks.h"

#undef socket
#undef gethostbyname

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

std::atomic<int> g_nStarted{0};
std::atomic<DWORD> g_dwTimeoutCap{0};
thread_local int t_nLastError = 0;

int FromErrno(int e) {
    switch (e) {
    case EINTR: return WSAEINTR;
    case EBADF: return WSAENOTSOCK;
    case ENOTSOCK: return WSAENOTSOCK;
    case EACCES:
    case EPERM: return WSAEACCES;
    case EFAULT: return WSAEFAULT;
    case EINVAL: return WSAEINVAL;
    case EMFILE:
    case ENFILE: return WSAEMFILE;
    case EAGAIN: return WSAETIMEDOUT;  // blocking sockets only: a timeout
    case EINPROGRESS: return WSAETIMEDOUT;
    case EALREADY: return WSAEINPROGRESS;
    case EMSGSIZE: return WSAEMSGSIZE;
    case EPROTONOSUPPORT: return WSAEPROTONOSUPPORT;
    case EAFNOSUPPORT: return WSAEAFNOSUPPORT;
    case EADDRINUSE: return WSAEADDRINUSE;
    case EADDRNOTAVAIL: return WSAEADDRNOTAVAIL;
    case ENETDOWN: return WSAENETDOWN;
    case ENETUNREACH: return WSAENETUNREACH;
    case ECONNABORTED: return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE: return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM: return WSAENOBUFS;
    case EISCONN: return WSAEISCONN;
    case ENOTCONN: return WSAENOTCONN;
    case ESHUTDOWN: return WSAESHUTDOWN;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case EHOSTUNREACH: return WSAEHOSTUNREACH;
    default: return WSAEINVAL;
    }
}

long long NowUs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000 + ts.tv_nsec / 1000;
}

// A blocking send or receive under the socket's time limit (optname
// SO_SNDTIMEO or SO_RCVTIMEO), as one call: a signal that interrupts it does
// not start the limit over; the call is made again for what is left of it.
// The limit is one call's, as in WinSock, for any caller that sets one; a
// deadline over many calls is the caller's to keep.
template <class Call>
ssize_t WithinLimit(int fd, int optname, Call call) {
    const long long llStart = NowUs();
    timeval tvLimit{};
    bool bRead = false, bChanged = false;
    ssize_t r;
    while ((r = call()) < 0 && errno == EINTR) {
        if (!bRead) {
            socklen_t n = sizeof tvLimit;
            if (::getsockopt(fd, SOL_SOCKET, optname, &tvLimit, &n) != 0) tvLimit = timeval{};
            bRead = true;
        }
        const long long llLimit = (long long)tvLimit.tv_sec * 1000000 + tvLimit.tv_usec;
        if (llLimit == 0) continue;  // no limit: wait on
        const long long llLeft = llLimit - (NowUs() - llStart);
        if (llLeft <= 0) {
            errno = EAGAIN;
            break;
        }
        const timeval tvLeft = {(time_t)(llLeft / 1000000), (suseconds_t)(llLeft % 1000000)};
        bChanged = ::setsockopt(fd, SOL_SOCKET, optname, &tvLeft, sizeof tvLeft) == 0 || bChanged;
    }
    if (bChanged) {
        const int e = errno;
        ::setsockopt(fd, SOL_SOCKET, optname, &tvLimit, sizeof tvLimit);
        errno = e;
    }
    return r;
}

int Fail(int nError) {
    t_nLastError = nError;
    return SOCKET_ERROR;
}

int FailErrno() { return Fail(FromErrno(errno)); }

// A send, receive or connect that found nothing to do: on a non-blocking
// socket that is WSAEWOULDBLOCK, as in WinSock; on a blocking one only the
// socket's time limit ends a call that way (WSAETIMEDOUT).
int FailIo(SOCKET s) {
    if ((errno == EAGAIN || errno == EWOULDBLOCK || errno == EINPROGRESS) && (::fcntl((int)s, F_GETFL, 0) & O_NONBLOCK))
        return Fail(WSAEWOULDBLOCK);
    return FailErrno();
}

bool Started() {
    if (g_nStarted.load() > 0) return true;
    t_nLastError = WSANOTINITIALISED;
    return false;
}

// A SOCKET that cannot be a descriptor.
bool BadSocket(SOCKET s) { return s == INVALID_SOCKET || s > (SOCKET)0x7fffffff; }

// The host entry gethostbyname hands out, one per thread.
struct HostEntry {
    static const int kMaxAddresses = 16;
    hostent entry;
    char szName[NI_MAXHOST];
    char* aliases[1];
    in_addr addresses[kMaxAddresses];
    char* addressList[kMaxAddresses + 1];
};
thread_local HostEntry t_host;

}  // namespace

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
    const int nMajor = LOBYTE(wVersionRequested), nMinor = HIBYTE(wVersionRequested);
    if (nMajor < 2 || (nMajor == 2 && nMinor < 2)) return WSAVERNOTSUPPORTED;
    if (!lpWSAData) return WSAEFAULT;
    memset(lpWSAData, 0, sizeof *lpWSAData);
    lpWSAData->wVersion = MAKEWORD(2, 2);
    lpWSAData->wHighVersion = MAKEWORD(2, 2);
    strcpy(lpWSAData->szDescription, "WinSock 2.2 over POSIX sockets");
    strcpy(lpWSAData->szSystemStatus, "Running");
    g_nStarted.fetch_add(1);
    return 0;
}

int WSACleanup(void) {
    int n = g_nStarted.load();
    while (n > 0 && !g_nStarted.compare_exchange_weak(n, n - 1)) {
    }
    if (n <= 0) return Fail(WSANOTINITIALISED);
    return 0;
}

int WSAGetLastError(void) { return t_nLastError; }
void WSASetLastError(int iError) { t_nLastError = iError; }

SOCKET WSALayer_socket(int af, int type, int protocol) {
    if (!Started()) return INVALID_SOCKET;
    const int fd = ::socket(af, type | SOCK_CLOEXEC, protocol);
    if (fd < 0) {
        FailErrno();
        return INVALID_SOCKET;
    }
    return (SOCKET)fd;
}

hostent* WSALayer_gethostbyname(const char* name) {
    if (!Started()) return nullptr;
    if (!name) {
        t_nLastError = WSAEFAULT;
        return nullptr;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* list = nullptr;
    const int r = getaddrinfo(name, nullptr, &hints, &list);
    if (r != 0) {
        switch (r) {
        case EAI_AGAIN: t_nLastError = WSATRY_AGAIN; break;
        case EAI_FAIL: t_nLastError = WSANO_RECOVERY; break;
#ifdef EAI_NODATA
        case EAI_NODATA: t_nLastError = WSANO_DATA; break;
#endif
        default: t_nLastError = WSAHOST_NOT_FOUND; break;
        }
        return nullptr;
    }
    HostEntry& h = t_host;
    memset(&h, 0, sizeof h);
    const char* canon = list->ai_canonname ? list->ai_canonname : name;
    strncpy(h.szName, canon, sizeof h.szName - 1);
    int n = 0;
    for (addrinfo* p = list; p && n < HostEntry::kMaxAddresses; p = p->ai_next) {
        if (p->ai_family != AF_INET || !p->ai_addr) continue;
        const in_addr a = reinterpret_cast<const sockaddr_in*>(p->ai_addr)->sin_addr;
        bool seen = false;
        for (int i = 0; i < n; i++) seen = seen || h.addresses[i].s_addr == a.s_addr;
        if (!seen) h.addresses[n++] = a;
    }
    freeaddrinfo(list);
    if (n == 0) {
        t_nLastError = WSANO_DATA;
        return nullptr;
    }
    for (int i = 0; i < n; i++) h.addressList[i] = reinterpret_cast<char*>(&h.addresses[i]);
    h.addressList[n] = nullptr;
    h.aliases[0] = nullptr;
    h.entry.h_name = h.szName;
    h.entry.h_aliases = h.aliases;
    h.entry.h_addrtype = AF_INET;
    h.entry.h_length = sizeof(in_addr);
    h.entry.h_addr_list = h.addressList;
    return &h.entry;
}

int connect(SOCKET s, const sockaddr* name, int namelen) {
    if (BadSocket(s)) return Fail(WSAENOTSOCK);
    if (!name || namelen <= 0) return Fail(WSAEFAULT);
    int r;
    do {
        r = ::connect((int)s, name, (socklen_t)namelen);
    } while (r != 0 && errno == EINTR);
    return r == 0 ? 0 : FailIo(s);
}

int send(SOCKET s, const char* buf, int len, int flags) {
    if (BadSocket(s)) return Fail(WSAENOTSOCK);
    if (len < 0 || (!buf && len > 0)) return Fail(WSAEFAULT);
    const ssize_t r = WithinLimit((int)s, SO_SNDTIMEO, [&] {
        return ::send((int)s, static_cast<const void*>(buf), (size_t)len, flags | MSG_NOSIGNAL);
    });
    return r < 0 ? FailIo(s) : (int)r;
}

int recv(SOCKET s, char* buf, int len, int flags) {
    if (BadSocket(s)) return Fail(WSAENOTSOCK);
    if (len < 0 || (!buf && len > 0)) return Fail(WSAEFAULT);
    const ssize_t r =
        WithinLimit((int)s, SO_RCVTIMEO, [&] { return ::recv((int)s, static_cast<void*>(buf), (size_t)len, flags); });
    return r < 0 ? FailIo(s) : (int)r;
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) {
    if (BadSocket(s)) return Fail(WSAENOTSOCK);
    if (level == SOL_SOCKET && (optname == SO_RCVTIMEO || optname == SO_SNDTIMEO)) {
        if (!optval || optlen < (int)sizeof(DWORD)) return Fail(WSAEFAULT);
        DWORD ms;
        memcpy(&ms, optval, sizeof ms);
        const DWORD cap = g_dwTimeoutCap.load();
        if (cap != 0 && (ms == 0 || ms > cap)) ms = cap;
        timeval tv;
        tv.tv_sec = ms / 1000;
        tv.tv_usec = (suseconds_t)(ms % 1000) * 1000;
        return ::setsockopt((int)s, level, optname, &tv, sizeof tv) == 0 ? 0 : FailErrno();
    }
    return ::setsockopt((int)s, level, optname, static_cast<const void*>(optval), (socklen_t)optlen) == 0 ? 0
                                                                                                          : FailErrno();
}

int shutdown(SOCKET s, int how) {
    if (BadSocket(s)) return Fail(WSAENOTSOCK);
    const int h = how == SD_RECEIVE ? SHUT_RD : how == SD_SEND ? SHUT_WR : SHUT_RDWR;
    return ::shutdown((int)s, h) == 0 ? 0 : FailErrno();
}

int closesocket(SOCKET s) {
    if (BadSocket(s)) return Fail(WSAENOTSOCK);
    return ::close((int)s) == 0 ? 0 : FailErrno();
}

namespace wsatest {
void LimitSocketTimeouts(DWORD ms) { g_dwTimeoutCap.store(ms); }
}  // namespace wsatest
