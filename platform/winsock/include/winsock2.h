// WinSock 2 (version 2.2) over POSIX sockets: the calls a TCP client makes.
//
// The address structures are the system's own (sockaddr_in, in_addr, hostent
// share their field names with WinSock). A SOCKET is a file descriptor.
// Differences from the POSIX calls of the same names:
// - socket, connect, send, recv, setsockopt, shutdown and closesocket take a
//   SOCKET and report failure as INVALID_SOCKET / SOCKET_ERROR with the reason
//   in WSAGetLastError (WSA* codes), per thread;
// - send never raises SIGPIPE (a closed peer gives WSAECONNRESET);
// - gethostbyname resolves through getaddrinfo (IPv4), safe from any thread:
//   the entry it returns belongs to the calling thread until its next call;
// - SO_RCVTIMEO / SO_SNDTIMEO take a DWORD of milliseconds (0 = no limit); a
//   recv that times out fails with WSAETIMEDOUT;
// - on a non-blocking socket (O_NONBLOCK) a send, recv or connect that would
//   block fails with WSAEWOULDBLOCK.
#pragma once

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "win32.h"

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

typedef struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
} WSADATA, *LPWSADATA;

#define SD_RECEIVE 0
#define SD_SEND 1
#define SD_BOTH 2

// Error codes (WSAGetLastError)
#define WSAEINTR 10004L
#define WSAEBADF 10009L
#define WSAEACCES 10013L
#define WSAEFAULT 10014L
#define WSAEINVAL 10022L
#define WSAEMFILE 10024L
#define WSAEWOULDBLOCK 10035L
#define WSAEINPROGRESS 10036L
#define WSAENOTSOCK 10038L
#define WSAEMSGSIZE 10040L
#define WSAEPROTONOSUPPORT 10043L
#define WSAEAFNOSUPPORT 10047L
#define WSAEADDRINUSE 10048L
#define WSAEADDRNOTAVAIL 10049L
#define WSAENETDOWN 10050L
#define WSAENETUNREACH 10051L
#define WSAECONNABORTED 10053L
#define WSAECONNRESET 10054L
#define WSAENOBUFS 10055L
#define WSAEISCONN 10056L
#define WSAENOTCONN 10057L
#define WSAESHUTDOWN 10058L
#define WSAETIMEDOUT 10060L
#define WSAECONNREFUSED 10061L
#define WSAEHOSTUNREACH 10065L
#define WSASYSNOTREADY 10091L
#define WSAVERNOTSUPPORTED 10092L
#define WSANOTINITIALISED 10093L
#define WSAHOST_NOT_FOUND 11001L
#define WSATRY_AGAIN 11002L
#define WSANO_RECOVERY 11003L
#define WSANO_DATA 11004L

// Starts the library for this process (counted; every successful call needs
// its WSACleanup). Versions below 2.2 are refused (WSAVERNOTSUPPORTED).
int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WSACleanup(void);
int WSAGetLastError(void);
void WSASetLastError(int iError);

// The calls whose POSIX namesakes have other types or behaviour take these
// names; the macros let programs write the WinSock names.
SOCKET WSALayer_socket(int af, int type, int protocol);
struct hostent* WSALayer_gethostbyname(const char* name);
#define socket(af, type, protocol) WSALayer_socket(af, type, protocol)
#define gethostbyname(name) WSALayer_gethostbyname(name)

int connect(SOCKET s, const struct sockaddr* name, int namelen);
int send(SOCKET s, const char* buf, int len, int flags);
int recv(SOCKET s, char* buf, int len, int flags);
int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);
// A length given as sizeof (size_t) picks the WinSock call too.
inline int send(SOCKET s, const char* buf, size_t len, int flags) { return send(s, buf, (int)len, flags); }
inline int recv(SOCKET s, char* buf, size_t len, int flags) { return recv(s, buf, (int)len, flags); }
