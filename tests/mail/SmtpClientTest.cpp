// The SMTP client against a real server (aiosmtpd on 127.0.0.1): whole runs
// plain and over TLS, replies, login, certificates, injection, time limits
// and stopping. Message boxes are answered by the layer's hook while the run
// shows them from its worker thread.
#include <gtest/gtest.h>

#include "mail/MailRun.h"
#include "tests/mail/SmtpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "platform/gbk/gbk.h"
#include "win32_testhooks.h"
#include "winsock_testhooks.h"

using mailtest::Certificates;
using mailtest::ReceivedMail;
using mailtest::SmtpTestServer;

namespace {

const char kUser[] = "sales";
const char kTextTimeout[] = "邮件服务器长时间没有回复，邮件发送已停止，请检查邮件服务器设置或稍后再试";
const char kPassword[] = "s3cret";

struct RunOutcome {
    bool bEnded = false;
    std::vector<std::string> statuses;  // UTF-8
    std::vector<std::string> boxes;     // UTF-8
};

std::string Nickname(int i) { return gbk::FromUtf8("客户") + std::to_string(i); }
std::string Address(int i) {
    char sz[64];
    snprintf(sz, sizeof sz, "r%03d@example.com", i);
    return sz;
}

class SmtpClient : public ::testing::Test {
protected:
    void SetUp() override {
        w32test::ClearHooks();
        w32test::ClearMessageBoxes();
        setenv("SSL_CERT_FILE", Certificates().strCaFile.c_str(), 1);
    }

    // A run of n recipients to the server, logging in as kUser.
    static std::shared_ptr<MailRun> NewRun(const SmtpTestServer& server, int n, bool bSsl, bool bSalutation = true) {
        auto run = std::make_shared<MailRun>();
        for (int i = 0; i < n; i++) run->m_Recipients.push_back({Address(i), Nickname(i)});
        run->m_strServer = bSsl ? "localhost" : "127.0.0.1";
        run->m_strPort = server.PortText();
        run->m_strUser = kUser;
        run->m_strPassword = kPassword;
        run->m_strName = gbk::FromUtf8("销售部");
        run->m_strMailFrom = "sales@example.com";
        run->m_strSubject = gbk::FromUtf8("新品报价");
        run->m_strContent = gbk::FromUtf8("价格见附件。\r\n谢谢");
        run->m_nEsmtp = 1;
        run->m_nSsl = bSsl ? 1 : 0;
        run->m_bSalutation = bSalutation;
        return run;
    }

    // Runs on a worker thread while the UI thread pumps (boxes are answered
    // there), until the thread ends or timeoutMs passed; onWait gets the
    // thread's id at every look while waiting.
    static RunOutcome RunToEnd(const std::shared_ptr<MailRun>& run, int timeoutMs = 120000,
                               const std::function<void(DWORD)>& onWait = nullptr) {
        auto mutex = std::make_shared<std::mutex>();
        auto statuses = std::make_shared<std::vector<std::string>>();
        run->m_OnStatus = [mutex, statuses](const char* psz) {
            std::lock_guard<std::mutex> lock(*mutex);
            statuses->push_back(gbk::ToUtf8(psz));
        };
        w32test::ClearMessageBoxes();
        DWORD id = 0;
        HANDLE h = MailRun::Start(run, &id);
        RunOutcome out;
        if (!h) return out;
        out.bEnded = w32test::WaitFor(
            [&] {
                if (onWait) onWait(id);
                return WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
            },
            timeoutMs);
        if (!out.bEnded) {
            run->Stop();
            w32test::WaitFor([&] { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }, 20000);
        }
        CloseHandle(h);
        {
            std::lock_guard<std::mutex> lock(*mutex);
            out.statuses = *statuses;
        }
        for (const auto& b : w32test::MessageBoxes()) {
            EXPECT_EQ(gbk::ToUtf8(b.caption), "Tarvel提示");
            out.boxes.push_back(gbk::ToUtf8(b.text));
        }
        return out;
    }

    static std::vector<std::string> AuthOptions() { return {"--auth", kUser, kPassword}; }
    static std::vector<std::string> TlsOptions(const std::string& cert, const std::string& key) {
        std::vector<std::string> o = AuthOptions();
        o.insert(o.end(), {"--tls", cert, key});
        return o;
    }
    static std::vector<std::string> LocalhostTls() {
        return TlsOptions(Certificates().strLocalhostCert, Certificates().strLocalhostKey);
    }

    static int Count(const std::string& haystack, const std::string& needle) {
        int n = 0;
        for (size_t p = haystack.find(needle); p != std::string::npos; p = haystack.find(needle, p + 1)) n++;
        return n;
    }

    // Every recipient got exactly one mail with its own salutation.
    static void ExpectEveryMailOnce(const SmtpTestServer& server, int n, bool bSalutation) {
        const std::vector<ReceivedMail> mails = server.Messages();
        ASSERT_EQ((int)mails.size(), n);
        std::map<std::string, const ReceivedMail*> byRcpt;
        for (const ReceivedMail& m : mails) {
            EXPECT_TRUE(byRcpt.emplace(m["rcpt"], &m).second) << "twice: " << m["rcpt"];
        }
        for (int i = 0; i < n; i++) {
            auto it = byRcpt.find(Address(i));
            ASSERT_NE(it, byRcpt.end()) << Address(i);
            const ReceivedMail& m = *it->second;
            EXPECT_EQ(m["to"], Address(i));
            EXPECT_EQ(m["mail_from"], "sales@example.com");
            EXPECT_EQ(m["from_addr"], "sales@example.com");
            EXPECT_EQ(m["from_name"], "销售部");
            EXPECT_EQ(m["subject"], "新品报价");
            EXPECT_EQ(m["date_ok"], "1");
            EXPECT_EQ(m["structure"], "multipart/mixed,multipart/alternative,text/plain");
            EXPECT_EQ(m["charset"], "gb2312");
            EXPECT_EQ(m["cte"], "base64");
            // A reader of today (the default policy) finds nothing wrong.
            EXPECT_EQ(m["defects"], "");
            EXPECT_EQ(m["strict_from_name"], "销售部");
            EXPECT_EQ(m["strict_subject"], "新品报价");
            const std::string content = "价格见附件。\\r\\n谢谢";
            if (bSalutation)
                EXPECT_EQ(m["body"], "'客户" + std::to_string(i) + ",\\n\\n" + content + "'");
            else
                EXPECT_EQ(m["body"], "'" + content + "'");
        }
    }
};

// ---------------------------------------------------------------------------
// Whole runs
// ---------------------------------------------------------------------------

TEST_F(SmtpClient, PlainRunsMailEveryRecipientOnce) {
    for (int n : {3, 50, 500}) {
        SmtpTestServer server(AuthOptions());
        ASSERT_NE(server.Port(), 0);
        const bool bSalutation = n != 50;
        RunOutcome r = RunToEnd(NewRun(server, n, false, bSalutation));
        ASSERT_TRUE(r.bEnded);
        EXPECT_TRUE(r.boxes.empty()) << r.boxes.front();
        ExpectEveryMailOnce(server, n, bSalutation);
        // One connection per mail, each logging in.
        EXPECT_EQ(Count(server.Commands(), "AUTH LOGIN"), n);
        ASSERT_EQ((int)r.statuses.size(), n);
        EXPECT_EQ(r.statuses.back(),
                  "正在发送邮件,现在是第" + std::to_string(n) + "封,共" + std::to_string(n) + "封邮件");
    }
}

TEST_F(SmtpClient, SslRunsMailEveryRecipientOnceOverOneConnection) {
    for (int n : {3, 50, 500}) {
        SmtpTestServer server(LocalhostTls());
        ASSERT_NE(server.Port(), 0);
        const bool bSalutation = n != 3;
        RunOutcome r = RunToEnd(NewRun(server, n, true, bSalutation));
        ASSERT_TRUE(r.bEnded);
        EXPECT_TRUE(r.boxes.empty()) << r.boxes.front();
        ExpectEveryMailOnce(server, n, bSalutation);
        const std::string cmds = server.Commands();
        EXPECT_EQ(Count(cmds, "EHLO example.com\r\n"), 1);
        EXPECT_EQ(Count(cmds, "AUTH LOGIN"), 1);
        EXPECT_EQ(Count(cmds, "QUIT\r\n"), 1);
        // SNI names the server as the user typed it.
        EXPECT_EQ(server.SniNames(), "localhost\n");
    }
}

TEST_F(SmtpClient, ProgressTextsInOrder) {
    SmtpTestServer server(AuthOptions());
    RunOutcome r = RunToEnd(NewRun(server, 3, false));
    ASSERT_TRUE(r.bEnded);
    EXPECT_EQ(r.statuses,
              (std::vector<std::string>{"正在发送邮件,现在是第1封,共3封邮件", "正在发送邮件,现在是第2封,共3封邮件",
                                        "正在发送邮件,现在是第3封,共3封邮件"}));
}

TEST_F(SmtpClient, RefusedRecipientOthersStillArrive) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.insert(o.end(), {"--refuse-rcpt", Address(1)});
        SmtpTestServer server(o);
        RunOutcome r = RunToEnd(NewRun(server, 4, bSsl));
        ASSERT_TRUE(r.bEnded);
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0], "550 5.1.1 No such user\r\n");
        ASSERT_EQ(server.StoredCount(), 3);
        std::set<std::string> got;
        for (const ReceivedMail& m : server.Messages()) got.insert(m["rcpt"]);
        EXPECT_EQ(got, (std::set<std::string>{Address(0), Address(2), Address(3)}));
        EXPECT_EQ(r.statuses.size(), 4u);  // the refused mail counts too
        // Over SSL the refused transaction is reset before the next mail.
        EXPECT_EQ(Count(server.Commands(), "RSET\r\n"), bSsl ? 1 : 0);
    }
}

TEST_F(SmtpClient, NoRecipient) {
    SmtpTestServer ssl(LocalhostTls());
    RunOutcome r = RunToEnd(NewRun(ssl, 0, true));
    ASSERT_TRUE(r.bEnded);
    EXPECT_TRUE(r.boxes.empty());
    const std::string cmds = ssl.Commands();
    EXPECT_NE(cmds.find("EHLO example.com\r\nAUTH LOGIN\r\n"), std::string::npos) << cmds;
    EXPECT_EQ(cmds.substr(cmds.size() - 6), "QUIT\r\n");
    EXPECT_EQ(cmds.find("MAIL"), std::string::npos);

    SmtpTestServer plain(AuthOptions());
    r = RunToEnd(NewRun(plain, 0, false));
    ASSERT_TRUE(r.bEnded);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(plain.Commands(), "");
}

TEST_F(SmtpClient, NoLoginWithoutAuthenticationEvenWithAUserStored) {
    SmtpTestServer server;
    auto run = NewRun(server, 2, false);
    run->m_nEsmtp = 0;
    RunOutcome r = RunToEnd(run);
    ASSERT_TRUE(r.bEnded);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(server.StoredCount(), 2);
    EXPECT_EQ(server.Commands().find("AUTH"), std::string::npos);
}

TEST_F(SmtpClient, SslValueOtherThanOneRunsPlain) {
    SmtpTestServer server(AuthOptions());
    auto run = NewRun(server, 2, false);
    run->m_nSsl = 2;
    RunOutcome r = RunToEnd(run);
    ASSERT_TRUE(r.bEnded);
    EXPECT_EQ(server.StoredCount(), 2);
}

// ---------------------------------------------------------------------------
// Replies
// ---------------------------------------------------------------------------

TEST_F(SmtpClient, LongMultiLineRepliesInSegments) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.insert(o.end(), {"--long-ehlo", "12", "--split"});
        SmtpTestServer server(o);
        RunOutcome r = RunToEnd(NewRun(server, 3, bSsl));
        ASSERT_TRUE(r.bEnded);
        EXPECT_TRUE(r.boxes.empty()) << r.boxes.front();
        ExpectEveryMailOnce(server, 3, true);
    }
}

TEST_F(SmtpClient, TheFinalLineOfALongReplyIsJudged) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.insert(o.end(), {"--long-ehlo", "12", "--ehlo-final", "554"});
        SmtpTestServer server(o);
        RunOutcome r = RunToEnd(NewRun(server, 2, bSsl));
        ASSERT_TRUE(r.bEnded);
        ASSERT_EQ(r.boxes.size(), 1u);
        // The box shows the reply's first 256 bytes; the run ends at EHLO.
        EXPECT_EQ(r.boxes[0].size(), 256u);
        EXPECT_EQ(r.boxes[0].rfind("250-localhost\r\n", 0), 0u);
        EXPECT_EQ(server.Commands().find("AUTH"), std::string::npos);
        EXPECT_EQ(server.StoredCount(), 0);
    }
}

TEST_F(SmtpClient, ServerThatCannotBeReachedOrNamed) {
    // A port bound here and never listened on refuses connections, and no
    // other test's server can take it meanwhile (a server's port, once
    // freed, could be).
    const int fdBound = (socket)(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);  // POSIX, not the WinSock layer's
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLen = sizeof sin;
    ASSERT_EQ(bind(fdBound, reinterpret_cast<sockaddr*>(&sin), sizeof sin), 0);
    ASSERT_EQ(getsockname(fdBound, reinterpret_cast<sockaddr*>(&sin), &nLen), 0);
    const int nClosedPort = ntohs(sin.sin_port);
    struct Case {
        bool bSsl;
        std::string server;
        int port;
        std::string box;
    };
    const std::string resolve = "邮件服务器地址解析错误，请检查邮件服务器地址是否正确，并确认是否已连接到网络";
    const Case cases[] = {
        {false, "127.0.0.1", nClosedPort, "连接邮件服务器错误，请检查是否已连接到网络"},
        {false, "no-such-host.invalid", 25, resolve},
        {true, "localhost", nClosedPort, resolve},
        {true, "no-such-host.invalid", 465, resolve},
    };
    for (const Case& c : cases) {
        SmtpTestServer unused;
        auto run = NewRun(unused, 2, c.bSsl);
        run->m_strServer = c.server;
        run->m_strPort = std::to_string(c.port);
        RunOutcome r = RunToEnd(run);
        ASSERT_TRUE(r.bEnded);
        EXPECT_EQ(r.boxes, std::vector<std::string>{c.box}) << c.server << " " << c.bSsl;
        EXPECT_TRUE(r.statuses.empty());
    }
    close(fdBound);
}

TEST_F(SmtpClient, GreetingThatIsNot220) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.insert(o.end(), {"--greeting", "554"});
        SmtpTestServer server(o);
        RunOutcome r = RunToEnd(NewRun(server, 2, bSsl));
        ASSERT_TRUE(r.bEnded);
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0], bSsl ? "554 not now\r\n" : "连接邮件服务器错误");
        EXPECT_EQ(server.StoredCount(), 0);
        EXPECT_EQ(server.Commands(), "");
    }
}

TEST_F(SmtpClient, LoginRefused) {
    struct Case {
        std::vector<std::string> options;
        std::string box;
    };
    const Case cases[] = {
        {{"--no-login"}, "用户名错误，请检查邮件用户名设置是否正确"},
        {{"--refuse-user", kUser}, "密码错误，请检查邮件密码设置是否正确"},
        {{"--auth", kUser, "other"}, "535 5.7.8 Authentication credentials invalid\r\n"},
    };
    for (const Case& c : cases) {
        SmtpTestServer server(c.options);
        RunOutcome r = RunToEnd(NewRun(server, 2, false));
        ASSERT_TRUE(r.bEnded);
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0], c.box);
        EXPECT_EQ(server.StoredCount(), 0);
        EXPECT_EQ(server.Commands().find("MAIL"), std::string::npos);
    }
}

TEST_F(SmtpClient, SenderWithoutAtSignSaysHelloWithAnEmptyDomain) {
    SmtpTestServer server(AuthOptions());
    auto run = NewRun(server, 1, false);
    run->m_strMailFrom = "sales";
    RunOutcome r = RunToEnd(run);
    ASSERT_TRUE(r.bEnded);
    EXPECT_EQ(server.Commands(), "EHLO \r\n");
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0], "501 Syntax: EHLO hostname\r\n");
}

// ---------------------------------------------------------------------------
// TLS
// ---------------------------------------------------------------------------

TEST_F(SmtpClient, UntrustedCertificateRefusedBeforeLogin) {
    SmtpTestServer server(TlsOptions(Certificates().strSelfSignedCert, Certificates().strSelfSignedKey));
    RunOutcome r = RunToEnd(NewRun(server, 2, true));
    ASSERT_TRUE(r.bEnded);
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].rfind("邮件服务器的证书无法验证，邮件没有发送：", 0), 0u) << r.boxes[0];
    EXPECT_NE(r.boxes[0].find("self-signed"), std::string::npos) << r.boxes[0];
    EXPECT_EQ(server.Commands(), "");
}

TEST_F(SmtpClient, WrongHostNameRefusedBeforeLogin) {
    SmtpTestServer server(TlsOptions(Certificates().strOtherHostCert, Certificates().strOtherHostKey));
    RunOutcome r = RunToEnd(NewRun(server, 2, true));
    ASSERT_TRUE(r.bEnded);
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0], "邮件服务器的证书无法验证，邮件没有发送：hostname mismatch");
    EXPECT_EQ(server.Commands(), "");
    EXPECT_EQ(server.SniNames(), "localhost\n");
}

// ---------------------------------------------------------------------------
// Injection
// ---------------------------------------------------------------------------

TEST_F(SmtpClient, AddressWithLineBreakIsRefusedAndInjectsNothing) {
    for (bool bSsl : {false, true}) {
        SmtpTestServer server(bSsl ? LocalhostTls() : AuthOptions());
        auto run = NewRun(server, 3, bSsl);
        run->m_Recipients[1].strAddress = "x@example.com>\r\nRSET\r\nMAIL FROM:<evil@example.com";
        RunOutcome r = RunToEnd(run);
        ASSERT_TRUE(r.bEnded);
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0],
                  "收件人邮件地址含有回车、换行、尖括号或空格，不向此人发送邮件：x@example.com>  RSET  MAIL "
                  "FROM:<evil@example.com");
        const std::string cmds = server.Commands();
        EXPECT_EQ(Count(cmds, "MAIL FROM:"), 2);
        EXPECT_EQ(cmds.find("evil"), std::string::npos);
        EXPECT_EQ(cmds.find("RSET"), std::string::npos);
        EXPECT_EQ(server.StoredCount(), 2);
        EXPECT_EQ(r.statuses.size(), 3u);  // counted as a failed mail
    }
    for (const char* bad : {"a b@example.com", "<a@example.com", "", "a@example.com\n"})
        EXPECT_FALSE(MailRun::IsSafeAddress(bad)) << bad;
    EXPECT_TRUE(MailRun::IsSafeAddress("a.b+c@example.com"));
}

TEST_F(SmtpClient, SenderWithLineBreakSendsNothing) {
    SmtpTestServer server(AuthOptions());
    auto run = NewRun(server, 2, false);
    run->m_strMailFrom = "sales@example.com\r\nRSET";
    RunOutcome r = RunToEnd(run);
    ASSERT_TRUE(r.bEnded);
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].rfind("发件人邮件地址含有", 0), 0u);
    EXPECT_EQ(server.Commands(), "");
}

TEST_F(SmtpClient, SubjectAndNameWithLineBreaksAddNoHeader) {
    SmtpTestServer server(AuthOptions());
    auto run = NewRun(server, 1, false);
    run->m_strSubject = "Hi\r\nBcc: evil@example.com";
    run->m_strName = "Sales\r\nX-Evil: 1";
    RunOutcome r = RunToEnd(run);
    ASSERT_TRUE(r.bEnded);
    const std::vector<ReceivedMail> mails = server.Messages();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0]["header_names"], "Date,From,To,Subject,X-Mailer,Mime-Version,Content-Type");
    EXPECT_EQ(mails[0]["subject"], "Hi Bcc: evil@example.com");
    EXPECT_EQ(mails[0]["from_name"], "Sales X-Evil: 1");
}

// ---------------------------------------------------------------------------
// Time limits, pauses and stopping
// ---------------------------------------------------------------------------

TEST_F(SmtpClient, SilentServerEndsTheRunAfterTheReadLimit) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.push_back("--silent");
        SmtpTestServer server(o);
        auto run = NewRun(server, 2, bSsl);
        run->m_dwReplyTimeoutMs = 300;
        RunOutcome r = RunToEnd(run, 30000);
        ASSERT_TRUE(r.bEnded);
        EXPECT_EQ(r.boxes, std::vector<std::string>{kTextTimeout});
    }
}

// A signal to the mail thread every 300 ms interrupts its waits; the time
// limit still ends a reply and a write as it does without signals. This
// guards the client's own deadline, not the WinSock layer's limit for one
// call (its own test guards that): with that limit capped far below the
// server's pauses, a greeting trickled within the deadline still comes whole.
TEST_F(SmtpClient, SignalsToTheMailThreadDoNotStartTheLimitOver) {
    struct sigaction sa = {};
    sa.sa_handler = [](int) {};        // no SA_RESTART: every signal interrupts the wait
    sigaction(SIGUSR2, &sa, nullptr);  // kept: a signal may arrive after the run
    wsatest::LimitSocketTimeouts(20);
    // A reply that never comes and a mail the server never reads (more than
    // the socket buffers hold), plain and over TLS; a greeting of 20 bytes
    // 50 ms apart.
    const struct {
        const char* option;
        bool bSsl;
        const char* box;
    } kCases[] = {{"--silent", false, kTextTimeout},
                  {"--silent", true, kTextTimeout},
                  {"--stall-in-data", false, "数据发送错误，请检查是否已连接到网络"},
                  {"--stall-in-data", true, "数据发送错误，请检查是否已连接到网络"},
                  {"--trickle", false, nullptr}};
    for (const auto& c : kCases) {
        std::vector<std::string> o = c.bSsl ? LocalhostTls() : AuthOptions();
        o.push_back(c.option);
        if (!c.box) o.push_back("0.05");
        SmtpTestServer server(o);
        auto run = NewRun(server, 1, c.bSsl);
        if (c.box) run->m_strContent.assign(8 << 20, 'a');
        run->m_dwReplyTimeoutMs = c.box ? 1000 : 5000;
        int nSignals = 0;
        auto next = std::chrono::steady_clock::now();
        // Well under the ten seconds a wait started over at each signal takes.
        RunOutcome r = RunToEnd(run, 5000, [&](DWORD id) {
            if (nSignals >= 30 || std::chrono::steady_clock::now() < next) return;
            syscall(SYS_tgkill, getpid(), (pid_t)id, SIGUSR2);
            nSignals++;
            next += std::chrono::milliseconds(300);
        });
        EXPECT_TRUE(r.bEnded) << c.option << c.bSsl;
        EXPECT_EQ(r.boxes, c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{}) << c.option << c.bSsl;
        EXPECT_EQ(server.StoredCount(), c.box ? 0 : 1) << c.option << c.bSsl;
    }
    wsatest::LimitSocketTimeouts(0);
}

TEST_F(SmtpClient, NegativePauseIsNone) {
    SmtpTestServer server(AuthOptions());
    auto run = NewRun(server, 3, false);
    run->m_nAgainTime = -5;
    RunOutcome r = RunToEnd(run, 60000);
    ASSERT_TRUE(r.bEnded);
    EXPECT_EQ(server.StoredCount(), 3);
}

TEST_F(SmtpClient, StopWakesThePauseAndEndsTheRun) {
    for (bool bSsl : {false, true}) {
        SmtpTestServer server(bSsl ? LocalhostTls() : AuthOptions());
        auto run = NewRun(server, 3, bSsl);
        run->m_nAgainTime = 86400 * 30;  // clamped to one day: only Stop ends it
        bool bDone = false;
        run->m_OnDone = [&bDone] { bDone = true; };
        DWORD id = 0;
        HANDLE h = MailRun::Start(run, &id);
        ASSERT_NE(h, nullptr);
        ASSERT_TRUE(w32test::WaitFor([&] { return server.StoredCount() == 1; }, 30000));
        run->Stop();
        EXPECT_TRUE(w32test::WaitFor([&] { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }, 10000));
        CloseHandle(h);
        EXPECT_EQ(server.StoredCount(), 1);
        EXPECT_FALSE(bDone);  // a stopped run does not report its end
        EXPECT_TRUE(w32test::MessageBoxes().empty());
    }
}

// A server that sends its reply one byte at a time never lets a single read
// run out of time: the limit holds for the whole reply.
TEST_F(SmtpClient, ATrickledReplyEndsTheRunWithAMessageAtTheTimeLimit) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.insert(o.end(), {"--trickle", "0.2"});
        SmtpTestServer server(o);
        auto run = NewRun(server, 2, bSsl);
        run->m_dwReplyTimeoutMs = 1500;  // the greeting would take about 3 s
        RunOutcome r = RunToEnd(run, 60000);
        ASSERT_TRUE(r.bEnded);
        EXPECT_EQ(
            r.boxes,
            (std::vector<std::string>{"邮件服务器长时间没有回复，邮件发送已停止，请检查邮件服务器设置或稍后再试"}));
        EXPECT_EQ(server.StoredCount(), 0);
    }
}

// OpenSSL reads many times for one TLS record; the server sends one a byte at
// a time: the limit still holds for the whole handshake and the whole reply.
TEST_F(SmtpClient, TheTimeLimitHoldsForTheHandshakeAndInsideOneTlsRecord) {
    for (const char* phase : {"handshake", "greeting"}) {
        std::vector<std::string> o = LocalhostTls();
        o.insert(o.end(), {"--tls-trickle", phase, "0.2"});
        SmtpTestServer server(o);
        auto run = NewRun(server, 2, true);
        run->m_dwReplyTimeoutMs = 1000;  // the greeting's record alone takes about 9 s
        RunOutcome r = RunToEnd(run, 30000);
        ASSERT_TRUE(r.bEnded) << phase;
        EXPECT_EQ(r.boxes, std::vector<std::string>{kTextTimeout}) << phase;
        // No greeting came whole, so nothing was said inside TLS.
        EXPECT_EQ(server.Commands(), "") << phase;
    }
}

// The limit's end says so also while connecting (the handshake: above); a
// connection broken by a failed read or write ends at once, without a
// close_notify that could wait on a full send buffer.
TEST_F(SmtpClient, ARunEndedByTheLimitOrAFailedWriteSaysSoAndClosesAtOnce) {
    for (bool bSsl : {false, true}) {
        SmtpTestServer server({"--full-backlog"});
        auto run = NewRun(server, 2, bSsl);
        run->m_dwReplyTimeoutMs = 500;
        RunOutcome r = RunToEnd(run, 30000);
        ASSERT_TRUE(r.bEnded);
        EXPECT_EQ(r.boxes, std::vector<std::string>{kTextTimeout}) << bSsl;
    }
    {
        std::vector<std::string> o = LocalhostTls();
        o.insert(o.end(), {"--tls-trickle", "greeting", "0.2"});
        SmtpTestServer server(o);
        auto run = NewRun(server, 2, true);
        run->m_dwReplyTimeoutMs = 1000;
        ASSERT_TRUE(RunToEnd(run, 30000).bEnded);
        EXPECT_TRUE(w32test::WaitFor([&] { return !server.Ends().empty(); }, 10000));
        EXPECT_EQ(server.Ends(), "eof\n");
    }
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.push_back("--stall-in-data");
        SmtpTestServer server(o);
        auto run = NewRun(server, 2, bSsl);
        run->m_strContent.assign(8 << 20, 'a');  // more than the socket buffers hold
        run->m_dwReplyTimeoutMs = 1000;
        RunOutcome r = RunToEnd(run, 30000);
        ASSERT_TRUE(r.bEnded) << bSsl;
        EXPECT_EQ(r.boxes, std::vector<std::string>{"数据发送错误，请检查是否已连接到网络"}) << bSsl;
        EXPECT_EQ(server.StoredCount(), 0);
    }
}

// A server that closes the connection when the message has arrived: the mail
// fails with a message, the run ends.
TEST_F(SmtpClient, AServerClosingInTheMiddleOfAMailEndsTheRunWithAMessage) {
    for (bool bSsl : {false, true}) {
        std::vector<std::string> o = bSsl ? LocalhostTls() : AuthOptions();
        o.push_back("--close-in-data");
        SmtpTestServer server(o);
        RunOutcome r = RunToEnd(NewRun(server, 2, bSsl), 60000);
        ASSERT_TRUE(r.bEnded);
        ASSERT_FALSE(r.boxes.empty());
        EXPECT_EQ(r.boxes[0], "连接邮件服务器错误，请检查是否已连接到网络");
        EXPECT_EQ(server.StoredCount(), 0);
    }
}

// Stop ends the run at once in every phase that waits for the server: the
// TCP connection (a server whose queue is full), the TLS handshake and a
// reply (a server that accepts and never answers).
TEST_F(SmtpClient, StopEndsTheRunWhileConnectingHandshakingOrWaitingForAReply) {
    struct Phase {
        const char* name;
        std::vector<std::string> options;
        bool bSsl;
    };
    const Phase phases[] = {{"connect", {"--full-backlog"}, false},
                            {"connect over TLS", {"--full-backlog"}, true},
                            {"handshake", {"--mute"}, true},
                            {"reply", {"--mute"}, false}};
    for (const Phase& p : phases) {
        SmtpTestServer server(p.options);
        ASSERT_NE(server.Port(), 0) << p.name;
        auto run = NewRun(server, 2, p.bSsl);
        DWORD id = 0;
        HANDLE h = MailRun::Start(run, &id);
        ASSERT_NE(h, nullptr);
        const bool bConnecting = p.options[0] == "--full-backlog";
        ASSERT_TRUE(w32test::WaitFor(
            [&] { return bConnecting ? mailtest::ConnectingTo(server.Port()) > 0 : server.Accepted() > 0; }, 30000))
            << p.name;
        run->Stop();
        // Generous against the second it takes, far below the time limits.
        EXPECT_TRUE(w32test::WaitFor([&] { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; }, 5000)) << p.name;
        if (WaitForSingleObject(h, 0) != WAIT_OBJECT_0) WaitForSingleObject(h, 120000);
        CloseHandle(h);
        EXPECT_TRUE(w32test::MessageBoxes().empty()) << p.name;
    }
}

// Header lines that every reader parses: a blank before the address, encoded
// words folded to lines of 76, the character set the text is in.
TEST_F(SmtpClient, NamesAndSubjectsAreReadBackWithTheirCharacterSet) {
    SmtpTestServer server(AuthOptions());
    struct Case {
        std::string name, subject, content, charset;
    };
    const Case cases[] = {
        {"销售部", "季度报价：新品价格与供货时间说明，请各位客户查收并回复确认", "价格见附件。", "gb2312"},
        {"朱镕基办公室", "喆与堃的报价单，共计十二页，请于本周内回复", "堃", "gbk"},
        {"Sales, East", "Offer", "hi", "gb2312"},
    };
    for (const Case& c : cases) {
        auto run = NewRun(server, 1, false, false);
        run->m_strName = gbk::FromUtf8(c.name);
        run->m_strSubject = gbk::FromUtf8(c.subject);
        run->m_strContent = gbk::FromUtf8(c.content);
        RunOutcome r = RunToEnd(run, 60000);
        ASSERT_TRUE(r.bEnded);
        EXPECT_TRUE(r.boxes.empty());
    }
    const std::vector<ReceivedMail> mails = server.Messages();
    ASSERT_EQ(mails.size(), 3u);
    for (size_t i = 0; i < 3; i++) {
        const ReceivedMail& m = mails[i];
        const Case& c = cases[i];
        EXPECT_EQ(m["defects"], "") << c.subject;
        EXPECT_EQ(m["strict_from_name"], c.name);
        EXPECT_EQ(m["from_addr"], "sales@example.com");
        EXPECT_EQ(m["strict_subject"], c.subject);
        EXPECT_EQ(m["strict_body"], "'" + c.content + "'");
        EXPECT_EQ(m["charset"], c.charset);
        EXPECT_LE(atoi(m["longest_header_line"].c_str()), 76) << c.subject;
        if (i < 2) {
            EXPECT_EQ(m["encoded_charsets"], c.charset);
        }
    }
    // A name and subject in GB2312 keep the label of old.
    EXPECT_NE(server.RawMessage(1).find("From: =?gb2312?B?"), std::string::npos);
    EXPECT_NE(server.RawMessage(1).find(" <sales@example.com>\r\n"), std::string::npos);
}

// The settings page lets blanks stand around the port; both forms use the number.
TEST_F(SmtpClient, APortWithBlanksAroundItIsTheNumber) {
    for (bool bSsl : {false, true}) {
        SmtpTestServer server(bSsl ? LocalhostTls() : AuthOptions());
        auto run = NewRun(server, 1, bSsl);
        run->m_strPort = " " + server.PortText() + " ";
        RunOutcome r = RunToEnd(run, 60000);
        ASSERT_TRUE(r.bEnded);
        EXPECT_TRUE(r.boxes.empty());
        EXPECT_EQ(server.StoredCount(), 1);
    }
}

TEST(SmtpReply, FinalLineCarriesTheCode) {
    EXPECT_EQ(MailRun::CheckReply("250 OK\r\n", "250"), 1);
    EXPECT_EQ(MailRun::CheckReply("250-a\r\n250-b\r\n354 go\r\n", "354"), 1);
    EXPECT_EQ(MailRun::CheckReply("250-a\r\n250-b\r\n354 go\r\n", "250"), 0);
    EXPECT_EQ(MailRun::CheckReply("25", "250"), 0);
    EXPECT_EQ(MailRun::CheckReply("", "250"), 0);
}

}  // namespace
