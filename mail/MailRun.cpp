#include "mail/SslLibrary.h"

#include "mail/MailRun.h"

#include "mail/Base64.h"
#include "mail/MailTransport.h"
#include "mail/MimeWriter.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

const char kCaption[] = "Tarvel提示";
const char kTextSendError[] = "数据发送错误，请检查是否已连接到网络";
const char kTextResolve[] = "邮件服务器地址解析错误，请检查邮件服务器地址是否正确，并确认是否已连接到网络";
const char kTextStartup[] = "启动网络错误，请检查系统网络设置";
const char kTextSocket[] = "TCP协议初始化错误，请检查系统是否安装TCP协议";
const char kTextConnect[] = "连接邮件服务器错误，请检查是否已连接到网络";
const char kTextGreeting[] = "连接邮件服务器错误";
const char kTextUser[] = "用户名错误，请检查邮件用户名设置是否正确";
const char kTextPassword[] = "密码错误，请检查邮件密码设置是否正确";
const char kTextProgress[] = "正在发送邮件,现在是第%d封,共%d封邮件";
const char kTextCertificate[] = "邮件服务器的证书无法验证，邮件没有发送：%s";
const char kTextBadSender[] = "发件人邮件地址含有回车、换行、尖括号或空格，请检查邮件设置：%s";
const char kTextBadRecipient[] = "收件人邮件地址含有回车、换行、尖括号或空格，不向此人发送邮件：%s";
const char kTextTimeout[] = "邮件服务器长时间没有回复，邮件发送已停止，请检查邮件服务器设置或稍后再试";

// The most a reply may hold; a server sending more is not an SMTP server.
const size_t kMaxReplyBytes = 65536;
// The first bytes of a reply that a message box shows.
const size_t kReplyBoxBytes = 256;

// An address shown in a box: line breaks become blanks.
std::string Printable(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if ((unsigned char)c < 0x20 || c == 0x7F) c = ' ';
    return out;
}

std::string Format(const char* pszFormat, const std::string& strArg) {
    std::string s(strlen(pszFormat) + strArg.size() + 1, '\0');
    const int n = snprintf(s.data(), s.size(), pszFormat, strArg.c_str());
    s.resize(n > 0 ? (size_t)n : 0);
    return s;
}

bool IsAddressLiteral(const std::string& strHost) {
    unsigned char buf[sizeof(struct in6_addr)];
    return inet_pton(AF_INET, strHost.c_str(), buf) == 1 || inet_pton(AF_INET6, strHost.c_str(), buf) == 1;
}

// The port of the settings (checked when the run starts: 1 to 65535).
u_short PortNumber(const std::string& strPort) { return (u_short)atoi(strPort.c_str()); }

// How often a wait that Stop cannot wake looks at the stop flag.
const int kStopPollMs = 50;

struct ThreadStart {
    std::shared_ptr<MailRun> run;
};

// The send thread of a run: the run, then its end reported to the page.
DWORD WINAPI MailSendThreadProc(LPVOID lpParameter) {
    std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(lpParameter));
    std::shared_ptr<MailRun> run = std::move(start->run);
    // The thread's message queue, for the WM_QUIT of Stop.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    run->Run();
    if (!run->Stopping() && run->m_OnDone) run->m_OnDone();
    return 0;
}

}  // namespace

MailRun::MailRun() {
    pthread_mutex_init(&m_Mutex, nullptr);
    pthread_condattr_t a;
    pthread_condattr_init(&a);
    pthread_condattr_setclock(&a, CLOCK_MONOTONIC);
    pthread_cond_init(&m_Wake, &a);
    pthread_condattr_destroy(&a);
}

MailRun::~MailRun() {
    pthread_cond_destroy(&m_Wake);
    pthread_mutex_destroy(&m_Mutex);
}

HANDLE MailRun::Start(const std::shared_ptr<MailRun>& run, DWORD* pThreadId) {
    // A server that closes the connection must not end the program: OpenSSL
    // writes through its own socket calls.
    signal(SIGPIPE, SIG_IGN);
    ThreadStart* start = new ThreadStart{run};
    DWORD dwId = 0;
    HANDLE h = CreateThread(nullptr, 0, MailSendThreadProc, start, 0, &dwId);
    if (!h) delete start;
    run->m_dwThreadId = dwId;
    if (pThreadId) *pThreadId = dwId;
    return h;
}

int MailRun::Run() {
    if (m_nSsl != 1) return SendMailPlain();
    const int nResult = SendMailSSL();
    // OpenSSL's state of this thread (its random generators, its error
    // queue) goes now: the program may be ending, and the thread's own
    // clean-up at its exit could come after the process's.
    if (SslLibrary::Get()) OPENSSL_thread_stop();
    return nResult;
}

void MailRun::Stop() {
    pthread_mutex_lock(&m_Mutex);
    m_bStop = true;
    if (m_fdOpen >= 0) shutdown((SOCKET)m_fdOpen, SD_BOTH);
    pthread_cond_broadcast(&m_Wake);
    pthread_mutex_unlock(&m_Mutex);
    // Ends the box the thread may wait in. A thread without its queue yet
    // has not come to a box, and sees the stop before it would show one.
    if (const DWORD dwId = m_dwThreadId) PostThreadMessageA(dwId, WM_QUIT, 0, 0);
}

void MailRun::SetConnection(int fd) {
    pthread_mutex_lock(&m_Mutex);
    m_fdOpen = fd;
    // A stop that came while connecting ends this connection at once.
    if (m_bStop && fd >= 0) shutdown((SOCKET)fd, SD_BOTH);
    pthread_mutex_unlock(&m_Mutex);
}

UINT_PTR MailRun::Connect(const sockaddr* pAddr, int nLength, bool* pbNoSocket, bool* pbTimedOut) {
    *pbNoSocket = false;
    *pbTimedOut = false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        *pbNoSocket = true;
        return INVALID_SOCKET;
    }
    SetConnection((int)s);
    // Connected without blocking, so that a stop or the time limit ends an
    // attempt at an address that never answers.
    const int fd = (int)s;
    const int nFlags = fcntl(fd, F_GETFL, 0);
    fcntl(fd, F_SETFL, nFlags | O_NONBLOCK);
    bool bConnected = ::connect(fd, pAddr, (socklen_t)nLength) == 0;
    if (!bConnected && errno == EINPROGRESS) {
        const long long llUntil = MonotonicMs() + m_dwReplyTimeoutMs;
        while (!Stopping()) {
            const long long llLeft = llUntil - MonotonicMs();
            *pbTimedOut = llLeft <= 0;
            if (*pbTimedOut) break;
            struct pollfd p = {fd, POLLOUT, 0};
            const int n = poll(&p, 1, (int)std::min<long long>(llLeft, kStopPollMs));
            if (n < 0 && errno != EINTR) break;
            if (n > 0) {
                int nError = 0;
                socklen_t nSize = sizeof nError;
                bConnected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &nError, &nSize) == 0 && nError == 0;
                break;
            }
        }
    }
    fcntl(fd, F_SETFL, nFlags);
    if (!bConnected || Stopping()) {
        CloseConnection(s);
        return INVALID_SOCKET;
    }
    return s;
}

void MailRun::CloseConnection(UINT_PTR s) {
    pthread_mutex_lock(&m_Mutex);
    m_fdOpen = -1;
    closesocket(s);
    pthread_mutex_unlock(&m_Mutex);
}

int MailRun::CheckReply(const char* pszReply, const char* pszCode) {
    if (!pszReply || !pszCode) return 0;
    // The final line of a multi-line reply carries the code that counts.
    const char* pLine = pszReply;
    for (const char* p = pszReply; *p; p++)
        if (*p == '\n' && p[1]) pLine = p + 1;
    for (int i = 0; i < 3; i++)
        if (pLine[i] == '\0' || pszCode[i] == '\0' || pLine[i] != pszCode[i]) return 0;
    return 1;
}

bool MailRun::IsSafeAddress(const std::string& strAddress) {
    if (strAddress.empty()) return false;
    for (unsigned char c : strAddress)
        if (c <= 0x20 || c == 0x7F || c == '<' || c == '>') return false;
    return true;
}

void MailRun::Box(const std::string& strText) {
    if (!Stopping()) MessageBoxA(nullptr, strText.c_str(), kCaption, MB_OK);
}

void MailRun::ReplyBox(const std::string& strReply) {
    // Nothing read at all: the server did not answer.
    Box(strReply.empty() ? std::string(kTextConnect) : strReply);
}

void MailRun::FailureBox(int nCode, const std::string& strReply) {
    if (nCode == kTimedOut)
        Box(kTextTimeout);
    else
        ReplyBox(strReply);
}

void MailRun::Status(const char* pszText) {
    if (!Stopping() && m_OnStatus) m_OnStatus(pszText);
}

bool MailRun::Pause() {
    int nSeconds = m_nAgainTime;
    if (nSeconds < 0) nSeconds = 0;
    if (nSeconds > kMaxPauseSeconds) nSeconds = kMaxPauseSeconds;
    pthread_mutex_lock(&m_Mutex);
    if (nSeconds > 0 && !m_bStop) {
        struct timespec until;
        clock_gettime(CLOCK_MONOTONIC, &until);
        until.tv_sec += nSeconds;
        while (!m_bStop && pthread_cond_timedwait(&m_Wake, &m_Mutex, &until) == 0) {
        }
    }
    const bool bGoOn = !m_bStop;
    pthread_mutex_unlock(&m_Mutex);
    return bGoOn;
}

// Reads one whole reply: lines up to the one whose code is followed by a
// blank (or nothing), however the server cuts them into segments. The text
// keeps the reply's first bytes, *pFinal the final line's code. Returns 0
// with the reply, kTimedOut when the whole reply did not come within the
// time limit (however the server trickles it), or kNoReply when the
// connection failed or closed first.
int MailRun::ReadReply(MailTransport& t, std::string* pText, std::string* pFinal) {
    pText->clear();
    pFinal->clear();
    size_t nTotal = 0;
    // Every read waits only for what is left of the reply's time.
    t.SetDeadline(MonotonicMs() + m_dwReplyTimeoutMs);
    for (;;) {
        size_t nEnd = m_strPending.find('\n');
        while (nEnd == std::string::npos) {
            if (m_strPending.size() > kMaxReplyBytes) return kNoReply;
            char buf[4096];
            const int n = t.Read(buf, sizeof buf);
            if (n <= 0) {
                if (pText->size() < kReplyBoxBytes) pText->append(m_strPending, 0, kReplyBoxBytes - pText->size());
                m_strPending.clear();
                return n < 0 && t.TimedOut() && !Stopping() ? kTimedOut : kNoReply;
            }
            m_strPending.append(buf, (size_t)n);
            nEnd = m_strPending.find('\n');
        }
        const size_t nLine = nEnd + 1;
        nTotal += nLine;
        if (pText->size() < kReplyBoxBytes)
            pText->append(m_strPending, 0, std::min(nLine, kReplyBoxBytes - pText->size()));
        const bool bMore = nLine > 4 && m_strPending[3] == '-';
        if (!bMore) pFinal->assign(m_strPending, 0, std::min<size_t>(nLine, 3));
        m_strPending.erase(0, nLine);
        if (!bMore) return kOk;
        if (nTotal > kMaxReplyBytes) return kNoReply;
    }
}

// Sends one command and judges its reply: kOk, kRefused (another code, the
// reply in *pReply), kNoReply (nothing whole came back) or kWriteFailed (the
// write failed; its box has been shown).
int MailRun::Command(MailTransport& t, const std::string& strText, const char* pszCode, std::string* pReply) {
    pReply->clear();
    // The whole command has the time limit to go out.
    t.SetDeadline(MonotonicMs() + m_dwReplyTimeoutMs);
    if (!strText.empty() && t.Write(strText.data(), (int)strText.size()) != 0) {
        Box(kTextSendError);
        return kWriteFailed;
    }
    std::string strFinal;
    const int c = ReadReply(t, pReply, &strFinal);
    if (c != kOk) return c;
    // The final line's code, which the text kept for the box may lack.
    return CheckReply(strFinal.c_str(), pszCode) ? kOk : kRefused;
}

// Greeting, EHLO and, when asked, AUTH LOGIN. 0, or -1 after the box.
int MailRun::Greet(MailTransport& t, bool bPlain) {
    std::string r;
    m_strPending.clear();
    int c = Command(t, "", "220", &r);
    if (c != kOk) {
        if (c == kTimedOut || !bPlain)
            FailureBox(c, r);
        else
            Box(kTextGreeting);
        return -1;
    }
    c = Command(t, "EHLO " + m_strDomain + "\r\n", "250", &r);
    if (c != kOk) {
        if (c != kWriteFailed) FailureBox(c, r);
        return -1;
    }
    if (m_nEsmtp != 1) return 0;
    c = Command(t, "AUTH LOGIN\r\n", "334", &r);
    if (c != kOk) {
        if (c == kTimedOut)
            FailureBox(c, r);
        else if (c != kWriteFailed)
            Box(kTextUser);
        return -1;
    }
    c = Command(t, Base64Encode(m_strUser, 74) + "\r\n", "334", &r);
    if (c != kOk) {
        if (c == kTimedOut)
            FailureBox(c, r);
        else if (c != kWriteFailed)
            Box(kTextPassword);
        return -1;
    }
    c = Command(t, Base64Encode(m_strPassword, 74) + "\r\n", "235", &r);
    if (c != kOk) {
        if (c != kWriteFailed) FailureBox(c, r);
        return -1;
    }
    return 0;
}

// One mail: envelope, message, final dot. kOk, kRefused (the server refused
// it; the connection is usable after RSET), kNoReply or kWriteFailed.
int MailRun::WriteMail(MailTransport& t, const Recipient& rcpt) {
    std::string r;
    int c = Command(t, "MAIL FROM:<" + m_strMailFrom + ">\r\n", "250", &r);
    if (c == kOk) c = Command(t, "RCPT TO:<" + rcpt.strAddress + ">\r\n", "250", &r);
    if (c == kOk) c = Command(t, "DATA\r\n", "354", &r);
    if (c == kOk) {
        MimeMail mail;
        mail.strName = m_strName;
        mail.strFrom = m_strMailFrom;
        mail.strTo = rcpt.strAddress;
        mail.strSubject = m_strSubject;
        mail.strBody = MimeBodyText(rcpt.strNickname, m_strContent, m_bSalutation);
        c = Command(t, MimeMessage(mail, time(nullptr)) + "\r\n.\r\n", "250", &r);
    }
    if (c == kRefused || c == kNoReply || c == kTimedOut) FailureBox(c, r);
    return c;
}

int MailRun::Quit(MailTransport& t) {
    std::string r;
    return Command(t, "QUIT\r\n", "221", &r) == kOk ? 0 : -1;
}

// A recipient whose address could carry SMTP commands gets no mail.
bool MailRun::CheckRecipient(const Recipient& rcpt) {
    if (IsSafeAddress(rcpt.strAddress)) return true;
    Box(Format(kTextBadRecipient, Printable(rcpt.strAddress)));
    MailDone();
    return false;
}

void MailRun::MailDone() {
    const int nSent = ++m_nMailSent;
    char sz[96];
    snprintf(sz, sizeof sz, kTextProgress, nSent, (int)m_Recipients.size());
    Status(sz);
}

int MailRun::SendMailSSL() {
    if (!IsSafeAddress(m_strMailFrom)) {
        Box(Format(kTextBadSender, Printable(m_strMailFrom)));
        return -1;
    }
    const size_t nAt = m_strMailFrom.find('@');
    m_strDomain = nAt == std::string::npos ? "" : m_strMailFrom.substr(nAt + 1);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pAddr = nullptr;
    // The port as a number (the settings may keep blanks around it).
    const std::string strPort = std::to_string(PortNumber(m_strPort));
    if (getaddrinfo(m_strServer.c_str(), strPort.c_str(), &hints, &pAddr) != 0 || !pAddr) {
        Box(kTextResolve);
        return -1;
    }
    sockaddr_in addr{};
    memcpy(&addr, pAddr->ai_addr, std::min<size_t>(sizeof addr, pAddr->ai_addrlen));
    freeaddrinfo(pAddr);

    if (!SslLibrary::Get()) {
        Box(kTextResolve);
        return -1;
    }
    OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS, nullptr);
    OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_CIPHERS | OPENSSL_INIT_ADD_ALL_DIGESTS, nullptr);
    ERR_clear_error();
    SSL_CTX* ctx = SSL_CTX_new(TLS_client_method());
    if (!ctx) {
        Box(kTextResolve);
        return -1;
    }
    // The server must prove who it is before the password goes out.
    SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
    SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(ctx);
    // Whole records per read: one system call per reply instead of two.
    SSL_CTX_set_read_ahead(ctx, 1);

    // The TCP connection is made first, registered with Stop while it is
    // made; the SSL handshake then runs on it (also ended by Stop).
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        SSL_CTX_free(ctx);
        Box(kTextResolve);
        return -1;
    }
    bool bNoSocket = false, bTimedOut = false;
    const SOCKET s = Connect(reinterpret_cast<const sockaddr*>(&addr), sizeof addr, &bNoSocket, &bTimedOut);
    if (s == INVALID_SOCKET) {
        WSACleanup();
        SSL_CTX_free(ctx);
        Box(bTimedOut ? kTextTimeout : kTextResolve);
        return -1;
    }
    BIO* bio = BIO_new_ssl(ctx, 1);
    BIO* sock = BIO_new_socket((int)s, BIO_NOCLOSE);
    SSL* ssl = nullptr;
    if (bio) BIO_get_ssl(bio, &ssl);
    if (!bio || !sock || !ssl) {
        if (bio) BIO_free_all(bio);
        if (sock) BIO_free_all(sock);
        CloseConnection(s);
        WSACleanup();
        SSL_CTX_free(ctx);
        Box(kTextResolve);
        return -1;
    }
    BIO_push(bio, sock);
    SSL_set_mode(ssl, SSL_MODE_AUTO_RETRY);
    if (IsAddressLiteral(m_strServer)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), m_strServer.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl, m_strServer.c_str());
        SSL_set1_host(ssl, m_strServer.c_str());
    }

    auto finish = [&](int nResult) {
        BIO_free_all(bio);
        CloseConnection(s);
        WSACleanup();
        SSL_CTX_free(ctx);
        ERR_clear_error();
        return nResult;
    };

    SslTransport t(bio, ssl, s);
    t.SetDeadline(MonotonicMs() + m_dwReplyTimeoutMs);
    if (!t.Handshake()) {
        const long v = SSL_get_verify_result(ssl);
        if (t.TimedOut())
            Box(kTextTimeout);
        else if (v != X509_V_OK)
            Box(Format(kTextCertificate, X509_verify_cert_error_string(v)));
        else
            Box(kTextResolve);
        return finish(-1);
    }
    if (Greet(t, false) != 0) return finish(-1);
    bool bFirst = true;
    for (const Recipient& rcpt : m_Recipients) {
        if (Stopping()) return finish(-1);
        if (!CheckRecipient(rcpt)) continue;
        if (!bFirst && !Pause()) return finish(-1);
        bFirst = false;
        const int c = WriteMail(t, rcpt);
        MailDone();
        // Without a connection every later mail would fail the same way.
        if (c == kNoReply || c == kWriteFailed || c == kTimedOut) return finish(-1);
        // A refused mail leaves a transaction open: reset it, or the server
        // refuses the next MAIL FROM.
        if (c == kRefused) {
            std::string r;
            const int cr = Command(t, "RSET\r\n", "250", &r);
            if (cr != kOk) {
                if (cr == kRefused || cr == kTimedOut) FailureBox(cr, r);
                return finish(-1);
            }
        }
    }
    return finish(Quit(t));
}

int MailRun::SendMailPlain() {
    if (!IsSafeAddress(m_strMailFrom)) {
        Box(Format(kTextBadSender, Printable(m_strMailFrom)));
        return -1;
    }
    const size_t nAt = m_strMailFrom.find('@');
    m_strDomain = nAt == std::string::npos ? "" : m_strMailFrom.substr(nAt + 1);

    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        Box(kTextStartup);
        return -1;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(PortNumber(m_strPort));
    addr.sin_addr.s_addr = inet_addr(m_strServer.c_str());
    if (addr.sin_addr.s_addr == INADDR_NONE) {
        hostent* host = gethostbyname(m_strServer.c_str());
        if (!host || !host->h_addr_list[0]) {
            Box(kTextResolve);
            WSACleanup();
            return -1;
        }
        memcpy(&addr.sin_addr, host->h_addr_list[0], sizeof addr.sin_addr);
    }

    bool bFirst = true;
    for (const Recipient& rcpt : m_Recipients) {
        if (Stopping()) break;
        if (!CheckRecipient(rcpt)) continue;
        if (!bFirst && !Pause()) break;
        bFirst = false;
        bool bNoSocket = false, bTimedOut = false;
        SOCKET s = Connect(reinterpret_cast<const sockaddr*>(&addr), sizeof addr, &bNoSocket, &bTimedOut);
        if (s == INVALID_SOCKET) {
            Box(bNoSocket ? kTextSocket : bTimedOut ? kTextTimeout : kTextConnect);
            WSACleanup();
            return -1;
        }
        SocketTransport t(s);
        if (Greet(t, true) != 0) {
            CloseConnection(s);
            WSACleanup();
            return -1;
        }
        const int c = WriteMail(t, rcpt);
        MailDone();
        const int q = (c == kOk || c == kRefused) ? Quit(t) : -1;
        CloseConnection(s);
        if (q != 0) {
            WSACleanup();
            return -1;
        }
    }
    WSACleanup();
    return Stopping() ? -1 : 0;
}
