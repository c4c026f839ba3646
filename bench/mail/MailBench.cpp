// Mass mail against Python's smtplib: 1,000 Chinese mails (GBK subject and
// text, a Chinese nickname in each salutation) with no pause over one SSL
// connection to the same local server (aiosmtpd, implicit TLS, counting
// only), the two clients turn about, each timed by the wall clock and by its
// own CPU time (smtplib's from before its TLS context is made). Our run is
// run as the program runs it: on its worker thread, every status text handed
// to the main window's status bar on this thread, which turns its message
// loop until the run reports its end. Also the plain form's cost per mail
// with its connection per mail.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/common/Rivals.h"
#include "mail/MailRun.h"
#include "mail/MimeWriter.h"
#include "platform/gbk/gbk.h"
#include "shell/StatusBarClass.h"
#include "tests/mail/SmtpTestServer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>

namespace {

const int kMails = 1000;
const int kPlainMails = 200;

mailtest::SmtpTestServer& SslServer() {
    static auto* server = new mailtest::SmtpTestServer(
        {"--tls", mailtest::Certificates().strLocalhostCert, mailtest::Certificates().strLocalhostKey, "--count-only"});
    return *server;
}

mailtest::SmtpTestServer& PlainServer() {
    static auto* server = new mailtest::SmtpTestServer({"--count-only"});
    return *server;
}

std::shared_ptr<MailRun> NewRun(int nPort, int nMails, bool bSsl) {
    auto run = std::make_shared<MailRun>();
    for (int i = 0; i < nMails; i++) {
        char sz[64];
        snprintf(sz, sizeof sz, "r%d@example.com", i);
        run->m_Recipients.push_back({sz, gbk::FromUtf8("张经理" + std::to_string(i))});
    }
    run->m_strServer = bSsl ? "localhost" : "127.0.0.1";
    run->m_strPort = std::to_string(nPort);
    run->m_strName = gbk::FromUtf8("北京塔维尔科技 销售部");
    run->m_strMailFrom = "sender@example.com";
    run->m_strSubject = gbk::FromUtf8("关于2024年度服务器采购的报价与续约安排");
    run->m_strContent = gbk::FromUtf8(
        "您好！感谢贵公司一直以来对我们的支持。随信附上本年度服务器采购的报价单，"
        "其中包括三年的现场维护和软件授权续约。如有任何问题，请随时与我联系，"
        "我们将在收到您的回复后两个工作日内安排技术人员上门演示。\r\n\r\n"
        "此致\r\n敬礼\r\n王芳 010-62881234");
    run->m_nSsl = bSsl ? 1 : 0;
    return run;
}

// The same messages our client sends, for smtplib to send: the count, then
// per message its recipient, its length and its bytes (with the line that
// precedes the final dot).
std::string WriteMessages(const mailtest::TempDir& dir) {
    const std::string path = dir.File("messages");
    std::ofstream f(path, std::ios::binary);
    auto run = NewRun(0, kMails, true);
    f << kMails << "\n";
    for (const MailRun::Recipient& r : run->m_Recipients) {
        MimeMail m;
        m.strName = run->m_strName;
        m.strFrom = run->m_strMailFrom;
        m.strTo = r.strAddress;
        m.strSubject = run->m_strSubject;
        m.strBody = MimeBodyText(r.strNickname, run->m_strContent, run->m_bSalutation);
        const std::string text = MimeMessage(m, time(nullptr)) + "\r\n";
        f << r.strAddress << "\n" << text.size() << "\n" << text;
    }
    return path;
}

// The program's side of a run: a main window with its two-part status bar on
// this thread, the UI thread. The run's end, sent by the worker, ends the
// message loop.
const UINT kRunDone = WM_APP + 1;

LRESULT CALLBACK MainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == kRunDone) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

HWND MainWindow() {
    static const HWND hMain = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = MainProc;
        wc.lpszClassName = "BenchMailMain";
        RegisterClassA(&wc);
        HWND h = CreateWindowExA(0, "BenchMailMain", "", WS_OVERLAPPEDWINDOW, 0, 0, 1024, 700, nullptr, nullptr,
                                 nullptr, nullptr);
        g_StatusBar.Create(h, 1, 2);
        ShowWindow(h, SW_SHOW);
        return h;
    }();
    return hMain;
}

// A run as the mail page starts it: the worker thread, its status texts into
// the status bar's second part, its end sent to the window; this thread turns
// the message loop (and with it Qt's events: the bar's repaints) until then.
bool RunAsTheProgram(const std::shared_ptr<MailRun>& run) {
    const HWND hMain = MainWindow();
    run->m_OnStatus = [](const char* psz) { g_StatusBar.SetText(1, psz); };
    run->m_OnDone = [hMain] { SendMessageA(hMain, kRunDone, 0, 0); };
    DWORD id = 0;
    const HANDLE h = MailRun::Start(run, &id);
    if (!h) return false;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
    g_StatusBar.SetText(1, "");
    return true;
}

void BM_SslMassMail(benchmark::State& state) {
    const int nPort = SslServer().Port();
    if (!nPort) return state.SkipWithError("no server");
    mailtest::TempDir dir;
    const std::string path = WriteMessages(dir);
    const auto ours = [nPort] {
        auto run = NewRun(nPort, kMails, true);
        return RunAsTheProgram(run) && run->MailsSent() == kMails;
    };
    const auto smtplib = [&](double& wall, double& cpu) {
        int status = 0;
        const std::string out = mailtest::RunProgram(
            {"/usr/bin/python3", mailtest::ServerScript(), "smtplib", std::to_string(nPort), path}, &status);
        return status == 0 && sscanf(out.c_str(), "%lf %lf", &wall, &cpu) == 2;
    };
    bench::RunRivals(state, {{"ours", ours}, {"smtplib", nullptr, nullptr, smtplib}},
                     "ours as the program runs it (worker thread, a status text per mail to the status bar of the "
                     "UI thread turning its loop); yardstick, turn about: Python's smtplib sending the same 1,000 "
                     "Chinese messages over one SMTP_SSL connection, its clocks from before its TLS context");
    state.counters["mails_per_s"] =
        benchmark::Counter((double)kMails * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SslMassMail)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OurClientPlainPerMail(benchmark::State& state) {
    const int nPort = PlainServer().Port();
    if (!nPort) return state.SkipWithError("no server");
    double cpu = 0;
    for (auto _ : state) {
        auto run = NewRun(nPort, kPlainMails, false);
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = bench::ProcessCpuSeconds();
        if (!RunAsTheProgram(run) || run->MailsSent() != kPlainMails) return state.SkipWithError("run failed");
        cpu += (bench::ProcessCpuSeconds() - c0) / kPlainMails;
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() /
                               kPlainMails);
    }
    state.counters["cpu_us_per_mail"] = cpu * 1e6 / (double)state.iterations();
    state.SetLabel(
        "no yardstick: a connection per mail to the local server, 200 Chinese mails, run as the program runs it");
}
BENCHMARK(BM_OurClientPlainPerMail)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("SSL_CERT_FILE", mailtest::Certificates().strCaFile.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SslServer().Stop();
    PlainServer().Stop();
    return 0;
}
