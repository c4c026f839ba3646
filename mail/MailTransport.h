// The connection one SMTP dialogue runs over: a TCP socket (plain form) or an
// OpenSSL SSL BIO over a socket (SSL form). Every read, write and handshake
// ends at the deadline set last, however many system calls it takes and
// however the server cuts its bytes.
//
// The deadline is kept here and only here: the socket is non-blocking in both
// forms and every step waits in poll for what is left, so no call blocks past
// it. No socket time limit (SO_RCVTIMEO, SO_SNDTIMEO) is set: the WinSock
// layer's limit for one call, and its going on after a signal, take no part.
#pragma once

#include "winsock2.h"

typedef struct bio_st BIO;
typedef struct ssl_st SSL;

// Milliseconds of the monotonic clock, the time base of the deadlines.
long long MonotonicMs();

class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Reads and writes from now on end at this time (MonotonicMs).
    void SetDeadline(long long llUntilMs) { m_llUntil = llUntilMs; }
    // The last failure was the deadline.
    bool TimedOut() const { return m_bTimedOut; }
    // Writes all n bytes: 0, or -1 when the connection failed.
    virtual int Write(const char* p, int n) = 0;
    // Reads what has arrived, at most n bytes: the count, 0 when the server
    // closed the connection, -1 on a failure or a timeout.
    virtual int Read(char* p, int n) = 0;

protected:
    // Makes the connected socket fd non-blocking.
    explicit MailTransport(int fd);
    // Waits in poll until the socket is ready for nEvents or the deadline
    // passes; a signal to the thread does not start the wait over.
    bool WaitReady(short nEvents);
    const int m_fd;
    long long m_llUntil = 0;
    bool m_bTimedOut = false;
};

// Each recv and send is made when poll finds the socket ready and takes what
// is there or what fits.
class SocketTransport : public MailTransport {
public:
    explicit SocketTransport(SOCKET s) : MailTransport((int)s), m_s(s) {}
    int Write(const char* p, int n) override;
    int Read(char* p, int n) override;

private:
    SOCKET m_s;
};

// OpenSSL may read and write many times for one record; every step that must
// be retried waits in poll for what is left until the deadline.
class SslTransport : public MailTransport {
public:
    // The SSL BIO chain pBio (pSsl its SSL object) over the connected socket.
    SslTransport(BIO* pBio, SSL* pSsl, SOCKET s);
    // The TLS handshake: true when it is done.
    bool Handshake();
    int Write(const char* p, int n) override;
    int Read(char* p, int n) override;

private:
    // Waits for what the BIO's last step asked (to read or to write).
    bool Wait();
    // A failed step leaves the connection broken: freeing the BIO sends no
    // close_notify into it.
    int Broken(int nResult);
    BIO* m_pBio;
    SSL* m_pSsl;
};
