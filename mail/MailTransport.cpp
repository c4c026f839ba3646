#include "mail/SslLibrary.h"

#include "mail/MailTransport.h"

#include <fcntl.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>

long long MonotonicMs() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

MailTransport::MailTransport(int fd) : m_fd(fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK); }

bool MailTransport::WaitReady(short nEvents) {
    for (;;) {
        const long long llLeft = m_llUntil - MonotonicMs();
        m_bTimedOut = llLeft <= 0;
        if (m_bTimedOut) return false;
        struct pollfd pfd = {m_fd, nEvents, 0};
        // A hang-up or an error also ends the wait: the next step fails.
        const int r = poll(&pfd, 1, (int)std::min<long long>(llLeft, INT_MAX));
        if (r > 0) return true;
        // A signal ends only this poll; the next one waits for what is left.
        if (r < 0 && errno != EINTR) return false;
    }
}

namespace {
// A step on the non-blocking socket that found nothing to do: poll waits again.
bool WouldBlock(int r) { return r == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK; }
}  // namespace

int SocketTransport::Write(const char* p, int n) {
    while (n > 0) {
        if (!WaitReady(POLLOUT)) return -1;
        const int r = send(m_s, p, n, 0);
        if (r > 0) {
            p += r;
            n -= r;
        } else if (!WouldBlock(r)) {
            return -1;
        }
    }
    return 0;
}

int SocketTransport::Read(char* p, int n) {
    for (;;) {
        if (!WaitReady(POLLIN)) return -1;
        const int r = recv(m_s, p, n, 0);
        if (!WouldBlock(r)) return r < 0 ? -1 : r;
    }
}

SslTransport::SslTransport(BIO* pBio, SSL* pSsl, SOCKET s) : MailTransport((int)s), m_pBio(pBio), m_pSsl(pSsl) {}

bool SslTransport::Wait() {
    short nEvents = 0;
    if (BIO_should_retry(m_pBio)) nEvents = BIO_should_write(m_pBio) ? POLLOUT : BIO_should_read(m_pBio) ? POLLIN : 0;
    return nEvents && WaitReady(nEvents);
}

int SslTransport::Broken(int nResult) {
    SSL_set_quiet_shutdown(m_pSsl, 1);
    return nResult;
}

bool SslTransport::Handshake() {
    m_bTimedOut = false;
    while (BIO_do_handshake(m_pBio) <= 0) {
        if (!Wait()) {
            Broken(0);
            return false;
        }
    }
    return true;
}

int SslTransport::Write(const char* p, int n) {
    m_bTimedOut = false;
    while (n > 0) {
        // A step that must be retried is retried with the same bytes.
        const int r = BIO_write(m_pBio, p, n);
        if (r > 0) {
            p += r;
            n -= r;
        } else if (!Wait()) {
            return Broken(-1);
        }
    }
    return 0;
}

int SslTransport::Read(char* p, int n) {
    m_bTimedOut = false;
    for (;;) {
        const int r = BIO_read(m_pBio, p, n);
        if (r > 0) return r;
        // Closed by the server, or failed.
        if (!BIO_should_retry(m_pBio)) return Broken(r == 0 ? 0 : -1);
        if (!Wait()) return Broken(-1);
    }
}
