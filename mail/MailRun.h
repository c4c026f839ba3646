// One mass-mail run: a snapshot of everything the run sends, taken on the UI
// thread when the run starts, and the SMTP client that sends it on a worker
// thread (one SSL connection for the run, or one TCP connection per mail).
//
// The worker reaches the UI only through m_OnStatus and the message boxes,
// both marshalled by the platform layer, and m_OnDone at the end. Stop() (any
// thread) ends the run early: it wakes the pause between mails, shuts the
// open connection down and posts WM_QUIT to the send thread, which ends the
// box it waits in; after it no box, status or done call is made.
#pragma once

#include "win32.h"
#include "win32_kernel.h"
#include "winsock2.h"

#include <pthread.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MailTransport;

class MailRun {
public:
    struct Recipient {
        std::string strAddress;
        std::string strNickname;
    };

    // Time limit, in milliseconds, of the connection, of the TLS handshake,
    // of each command's write and of each whole reply.
    static const DWORD kReplyTimeoutMs = 60000;
    // The longest pause between two mails, in seconds.
    static const int kMaxPauseSeconds = 86400;

    MailRun();
    ~MailRun();
    MailRun(const MailRun&) = delete;
    MailRun& operator=(const MailRun&) = delete;

    // The snapshot (GBK texts).
    std::vector<Recipient> m_Recipients;
    std::string m_strServer, m_strPort, m_strUser, m_strPassword;
    std::string m_strName;      // display name of the sender
    std::string m_strMailFrom;  // sender address
    std::string m_strSubject, m_strContent;
    int m_nEsmtp = 0;      // 1: AUTH LOGIN
    int m_nSsl = 0;        // 1: SSL, anything else: plain
    int m_nAgainTime = 0;  // seconds between two mails
    bool m_bSalutation = true;
    DWORD m_dwReplyTimeoutMs = kReplyTimeoutMs;

    std::function<void(const char*)> m_OnStatus;  // status text, on the worker thread
    std::function<void()> m_OnDone;               // after the run, unless stopped

    // Starts a worker thread that runs the run and then calls m_OnDone. The
    // thread holds its own reference. Returns the thread handle (the caller
    // closes it), null when no thread could be made.
    static HANDLE Start(const std::shared_ptr<MailRun>& run, DWORD* pThreadId);
    // The run on the calling thread: SendMailSSL when m_nSsl is 1, else
    // SendMailPlain. 0, or -1 when the run ended early.
    int Run();
    int SendMailSSL();
    int SendMailPlain();

    void Stop();
    bool Stopping() const { return m_bStop.load(); }
    int MailsSent() const { return m_nMailSent.load(); }

    // 1 when the reply's final line starts with the three-character code.
    static int CheckReply(const char* pszReply, const char* pszCode);
    // An address that may go into an SMTP command: not empty, no CR, LF, "<",
    // ">", blank or other control character.
    static bool IsSafeAddress(const std::string& strAddress);

private:
    enum { kOk = 0, kRefused = -1, kNoReply = -2, kWriteFailed = -3, kTimedOut = -4 };

    int Greet(MailTransport& t, bool bPlain);
    int ReadReply(MailTransport& t, std::string* pText, std::string* pFinal);
    int Command(MailTransport& t, const std::string& strText, const char* pszCode, std::string* pReply);
    int WriteMail(MailTransport& t, const Recipient& r);
    int Quit(MailTransport& t);
    bool CheckRecipient(const Recipient& r);
    void MailDone();
    bool Pause();
    void Box(const std::string& strText);
    void ReplyBox(const std::string& strReply);
    // The box of a failed command: the timeout text, else the reply.
    void FailureBox(int nCode, const std::string& strReply);
    // A TCP connection to the server, registered with Stop and made so that
    // Stop and the time limit end it while it is being made: the socket, or
    // INVALID_SOCKET (*pbNoSocket: no socket could be made at all;
    // *pbTimedOut: the time limit ended it).
    UINT_PTR Connect(const sockaddr* pAddr, int nLength, bool* pbNoSocket, bool* pbTimedOut);
    void Status(const char* pszText);
    void SetConnection(int fd);
    void CloseConnection(UINT_PTR s);  // a SOCKET

    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nMailSent{0};
    std::atomic<DWORD> m_dwThreadId{0};  // the send thread (Start)
    pthread_mutex_t m_Mutex;
    pthread_cond_t m_Wake;
    int m_fdOpen = -1;         // the connection Stop shuts down (under m_Mutex)
    std::string m_strPending;  // bytes read beyond the last reply
    std::string m_strDomain;   // the sender's domain, for EHLO
};
