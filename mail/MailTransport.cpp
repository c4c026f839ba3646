#include "mail/MailTransport.h"

#include "mail/SslLibrary.h"

int SocketTransport::Write(const char* p, int n) {
    while (n > 0) {
        const int r = send(m_s, p, n, 0);
        if (r <= 0) return -1;
        p += r;
        n -= r;
    }
    return 0;
}

int SocketTransport::Read(char* p, int n) {
    const int r = recv(m_s, p, n, 0);
    return r < 0 ? -1 : r;
}

int SslTransport::Write(const char* p, int n) {
    while (n > 0) {
        const int r = BIO_write(m_pBio, p, n);
        if (r <= 0) return -1;
        p += r;
        n -= r;
    }
    return 0;
}

int SslTransport::Read(char* p, int n) {
    const int r = BIO_read(m_pBio, p, n);
    if (r > 0) return r;
    // A timed-out read asks for a retry: for a blocking run it is a failure.
    return (r == 0 && !BIO_should_retry(m_pBio)) ? 0 : -1;
}
