// Mass mail against Python's smtplib: 1,000 mails with no pause over one SSL
// connection to the same local server (aiosmtpd, implicit TLS, counting
// only), so that the ratio shows the clients. Also the plain form's cost per
// mail with its connection per mail.
#include <benchmark/benchmark.h>

#include "tests/mail/SmtpTestServer.h"
#include "mail/MailRun.h"
#include "mail/MimeWriter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>

namespace {

const int kMails = 1000;
const int kPlainMails = 200;

double g_dOurSeconds = 0, g_dSmtplibSeconds = 0;

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
        run->m_Recipients.push_back({sz, "nick" + std::to_string(i)});
    }
    run->m_strServer = bSsl ? "localhost" : "127.0.0.1";
    run->m_strPort = std::to_string(nPort);
    run->m_strMailFrom = "sender@example.com";
    run->m_strSubject = "Bench";
    run->m_strContent = "hello";
    run->m_nSsl = bSsl ? 1 : 0;
    return run;
}

void BM_OurClientSsl1000(benchmark::State& state) {
    const int nPort = SslServer().Port();
    if (!nPort) return state.SkipWithError("no server");
    double total = 0;
    for (auto _ : state) {
        auto run = NewRun(nPort, kMails, true);
        const auto t0 = std::chrono::steady_clock::now();
        if (run->Run() != 0 || run->MailsSent() != kMails) return state.SkipWithError("run failed");
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        total += s;
    }
    g_dOurSeconds = total / (double)state.iterations();
    state.counters["mails_per_s"] =
        benchmark::Counter((double)kMails * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OurClientSsl1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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
        m.strFrom = run->m_strMailFrom;
        m.strTo = r.strAddress;
        m.strSubject = run->m_strSubject;
        m.strBody = MimeBodyText(r.strNickname, run->m_strContent, run->m_bSalutation);
        const std::string text = MimeMessage(m, time(nullptr)) + "\r\n";
        f << r.strAddress << "\n" << text.size() << "\n" << text;
    }
    return path;
}

void BM_SmtplibSsl1000(benchmark::State& state) {
    const int nPort = SslServer().Port();
    if (!nPort) return state.SkipWithError("no server");
    mailtest::TempDir dir;
    const std::string path = WriteMessages(dir);
    double total = 0;
    for (auto _ : state) {
        int status = 0;
        const std::string out = mailtest::RunProgram(
            {"/usr/bin/python3", mailtest::ServerScript(), "smtplib", std::to_string(nPort), path}, &status);
        if (status != 0) return state.SkipWithError("smtplib failed");
        const double s = atof(out.c_str());
        state.SetIterationTime(s);
        total += s;
    }
    g_dSmtplibSeconds = total / (double)state.iterations();
    state.counters["mails_per_s"] =
        benchmark::Counter((double)kMails * (double)state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SmtplibSsl1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OurClientPlainPerMail(benchmark::State& state) {
    const int nPort = PlainServer().Port();
    if (!nPort) return state.SkipWithError("no server");
    for (auto _ : state) {
        auto run = NewRun(nPort, kPlainMails, false);
        const auto t0 = std::chrono::steady_clock::now();
        if (run->Run() != 0 || run->MailsSent() != kPlainMails) return state.SkipWithError("run failed");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() /
                               kPlainMails);
    }
}
BENCHMARK(BM_OurClientPlainPerMail)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("SSL_CERT_FILE", mailtest::Certificates().strCaFile.c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (g_dOurSeconds > 0 && g_dSmtplibSeconds > 0)
        printf("SSL, %d mails: our client %.3f s, smtplib %.3f s, ratio %.3f (goal <= 1.0)\n", kMails, g_dOurSeconds,
               g_dSmtplibSeconds, g_dOurSeconds / g_dSmtplibSeconds);
    benchmark::Shutdown();
    SslServer().Stop();
    PlainServer().Stop();
    return 0;
}
