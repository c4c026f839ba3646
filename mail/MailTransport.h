// The connection one SMTP dialogue runs over: a TCP socket (plain form) or an
// OpenSSL SSL BIO over a socket (SSL form). Every read, write and handshake
// ends at the deadline set last, however many system calls it takes and
// however the server cuts its bytes.
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
    // Waits in poll until fd is ready for nEvents or the deadline passes; a
    // signal to the thread does not start the wait over.
    bool WaitReady(int fd, short nEvents);
    long long m_llUntil = 0;
    bool m_bTimedOut = false;
};

// Blocking calls, each made when poll finds the socket ready; a send, which
// may block for the part that does not fit, is also limited by SO_SNDTIMEO
// to what is left.
class SocketTransport : public MailTransport {
public:
    explicit SocketTransport(SOCKET s) : m_s(s) {}
    int Write(const char* p, int n) override;
    int Read(char* p, int n) override;

private:
    // Sets the socket's limit for one send; false when no time is left.
    bool LimitSend();
    SOCKET m_s;
};

// The socket is non-blocking: OpenSSL may read and write many times for one
// record, so every step waits in poll for what is left until the deadline.
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
    int m_fd;
};
