// The connection one SMTP dialogue runs over: a TCP socket (plain form) or an
// OpenSSL SSL BIO over a socket (SSL form). Both block; reads time out as the socket's
// SO_RCVTIMEO says.
#pragma once

#include "winsock2.h"

typedef struct bio_st BIO;

class MailTransport {
public:
    virtual ~MailTransport() = default;
    // Writes all n bytes: 0, or -1 when the connection failed.
    virtual int Write(const char* p, int n) = 0;
    // Reads what has arrived, at most n bytes: the count, 0 when the server
    // closed the connection, -1 on a failure or a timeout.
    virtual int Read(char* p, int n) = 0;
};

class SocketTransport : public MailTransport {
public:
    explicit SocketTransport(SOCKET s) : m_s(s) {}
    int Write(const char* p, int n) override;
    int Read(char* p, int n) override;

private:
    SOCKET m_s;
};

class SslTransport : public MailTransport {
public:
    explicit SslTransport(BIO* pBio) : m_pBio(pBio) {}
    int Write(const char* p, int n) override;
    int Read(char* p, int n) override;

private:
    BIO* m_pBio;
};
