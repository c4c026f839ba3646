#include "tests/mail/SmtpTestServer.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace mailtest {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Spawns argv with its standard input and output on pipes.
int Spawn(const std::vector<std::string>& argv, int* pfdIn, int* pfdOut) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return -1;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return -1;
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, in[0], 0);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    const int r = posix_spawn(&pid, args[0], &fa, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(in[0]);
    close(out[1]);
    if (r != 0) {
        close(in[1]);
        close(out[0]);
        return -1;
    }
    *pfdIn = in[1];
    *pfdOut = out[0];
    return pid;
}

// Reads one line from fd, waiting at most timeoutMs.
bool ReadLine(int fd, std::string* line, int timeoutMs) {
    line->clear();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int left =
            (int)std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, left) <= 0) continue;
        char c;
        const ssize_t n = read(fd, &c, 1);
        if (n <= 0) return false;
        if (c == '\n') return true;
        *line += c;
    }
}

std::string MakeCertificates(const std::string& dir) {
    const std::string openssl = "/usr/bin/openssl";
    auto run = [&](const std::vector<std::string>& argv) {
        int status = 0;
        RunProgram(argv, &status);
        if (status != 0) throw std::runtime_error("openssl failed: " + argv[1]);
    };
    auto ecKey = [&](const std::string& key) {
        run({openssl, "genpkey", "-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-out",
             dir + "/" + key});
    };
    ecKey("ca.key");
    run({openssl, "req", "-x509", "-new", "-key", dir + "/ca.key", "-out", dir + "/ca.pem", "-days", "2", "-subj",
         "/CN=Tarvel Test CA", "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
         "keyUsage=critical,keyCertSign,cRLSign"});
    for (const std::string host : {"localhost", "mail.example.test"}) {
        ecKey(host + ".key");
        run({openssl, "req", "-new", "-key", dir + "/" + host + ".key", "-out", dir + "/" + host + ".csr", "-subj",
             "/CN=" + host});
        std::ofstream(dir + "/" + host + ".ext")
            << "subjectAltName=DNS:" << host << "\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n";
        run({openssl, "x509", "-req", "-in", dir + "/" + host + ".csr", "-CA", dir + "/ca.pem", "-CAkey",
             dir + "/ca.key", "-CAcreateserial", "-out", dir + "/" + host + ".pem", "-days", "2", "-extfile",
             dir + "/" + host + ".ext"});
    }
    ecKey("self.key");
    run({openssl, "req", "-x509", "-new", "-key", dir + "/self.key", "-out", dir + "/self.pem", "-days", "2", "-subj",
         "/CN=localhost", "-addext", "subjectAltName=DNS:localhost"});
    return dir;
}

// The servers and folders alive, each with the process that made it, which
// that process stops and removes at its exit: servers first, so that none
// writes into its folder as it goes.
struct Alive {
    std::mutex m;
    std::set<std::pair<SmtpTestServer*, pid_t>> servers;
    std::set<std::pair<std::string, pid_t>> folders;
};
Alive& Live() {
    static auto* live = new Alive;  // outlives every static TempDir
    return *live;
}
void EndWhatLives() {
    std::vector<SmtpTestServer*> servers;
    {
        std::lock_guard<std::mutex> lock(Live().m);
        for (const auto& [server, pid] : Live().servers)
            if (pid == getpid()) servers.push_back(server);
    }
    for (SmtpTestServer* server : servers) server->Stop();
    std::lock_guard<std::mutex> lock(Live().m);
    for (const auto& [path, pid] : Live().folders) {
        std::error_code ec;
        if (pid == getpid()) std::filesystem::remove_all(path, ec);
    }
}

}  // namespace

TempDir::TempDir() {
    const char* base = getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/tarvel-mail-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_strPath = tmpl;
    m_nPid = getpid();
    static const bool atExit = std::atexit(EndWhatLives) == 0;
    (void)atExit;
    std::lock_guard<std::mutex> lock(Live().m);
    Live().folders.emplace(m_strPath, m_nPid);
}

TempDir::~TempDir() {
    {
        std::lock_guard<std::mutex> lock(Live().m);
        Live().folders.erase({m_strPath, m_nPid});
    }
    std::error_code ec;
    if (m_nPid == getpid()) std::filesystem::remove_all(m_strPath, ec);
}

std::string RunProgram(const std::vector<std::string>& argv, int* pStatus) {
    int fdIn = -1, fdOut = -1;
    const int pid = Spawn(argv, &fdIn, &fdOut);
    if (pid < 0) {
        if (pStatus) *pStatus = -1;
        return "";
    }
    close(fdIn);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fdOut, buf, sizeof buf)) > 0) out.append(buf, (size_t)n);
    close(fdOut);
    int status = 0;
    waitpid(pid, &status, 0);
    if (pStatus) *pStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

const TestCertificates& Certificates() {
    static TempDir* dir = new TempDir;  // lives to the end of the test program, which removes it
    static TestCertificates certs = [] {
        const std::string d = MakeCertificates(dir->Path());
        TestCertificates c;
        c.strCaFile = d + "/ca.pem";
        c.strLocalhostCert = d + "/localhost.pem";
        c.strLocalhostKey = d + "/localhost.key";
        c.strOtherHostCert = d + "/mail.example.test.pem";
        c.strOtherHostKey = d + "/mail.example.test.key";
        c.strSelfSignedCert = d + "/self.pem";
        c.strSelfSignedKey = d + "/self.key";
        return c;
    }();
    return certs;
}

const std::string& ReceivedMail::operator[](const std::string& key) const {
    static const std::string empty;
    auto it = fields.find(key);
    return it == fields.end() ? empty : it->second;
}

std::string ServerScript() { return TARVEL_SMTP_SERVER_SCRIPT; }

SmtpTestServer::SmtpTestServer(const std::vector<std::string>& options) {
    std::vector<std::string> argv = {"/usr/bin/python3", ServerScript(), "serve", m_Dir.Path()};
    argv.insert(argv.end(), options.begin(), options.end());
    int fdOut = -1;
    m_nPid = Spawn(argv, &m_fdIn, &fdOut);
    if (m_nPid < 0) return;
    std::string line;
    if (ReadLine(fdOut, &line, 30000) && line.rfind("READY ", 0) == 0) m_nPort = atoi(line.c_str() + 6);
    close(fdOut);
    if (m_nPort == 0) {
        Stop();
        return;
    }
    std::lock_guard<std::mutex> lock(Live().m);
    Live().servers.emplace(this, getpid());
}

SmtpTestServer::~SmtpTestServer() {
    {
        std::lock_guard<std::mutex> lock(Live().m);
        Live().servers.erase({this, getpid()});
    }
    Stop();
}

void SmtpTestServer::Stop() {
    if (m_fdIn >= 0) {
        const char quit[] = "quit\n";
        (void)!write(m_fdIn, quit, sizeof quit - 1);
        close(m_fdIn);
        m_fdIn = -1;
    }
    if (m_nPid > 0) {
        // The server ends on "quit"; one that does not within 10 s is killed.
        int status = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (waitpid(m_nPid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > until) {
                kill(m_nPid, SIGKILL);
                waitpid(m_nPid, &status, 0);
                break;
            }
            pollfd none{-1, 0, 0};
            poll(&none, 0, 10);
        }
        m_nPid = -1;
    }
}

int SmtpTestServer::StoredCount() const {
    int n = 0;
    if (DIR* d = opendir(m_Dir.Path().c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".env") == 0) n++;
        }
        closedir(d);
    }
    return n;
}

std::vector<ReceivedMail> SmtpTestServer::Messages() const {
    std::vector<ReceivedMail> list;
    std::istringstream in(RunProgram({"/usr/bin/python3", ServerScript(), "parse", m_Dir.Path()}));
    std::string line;
    ReceivedMail m;
    while (std::getline(in, line)) {
        if (line == "--") {
            list.push_back(m);
            m = ReceivedMail();
            continue;
        }
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            m.fields[line.substr(0, colon)] = line.substr(colon + 2);
        else if (!line.empty() && line.back() == ':')
            m.fields[line.substr(0, line.size() - 1)] = "";
    }
    return list;
}

std::string SmtpTestServer::RawMessage(int n) const {
    char name[32];
    snprintf(name, sizeof name, "/%05d.eml", n);
    return ReadFile(m_Dir.Path() + name);
}

std::string SmtpTestServer::Commands() const { return ReadFile(m_Dir.File("commands.log")); }
std::string SmtpTestServer::SniNames() const { return ReadFile(m_Dir.File("sni.log")); }
std::string SmtpTestServer::Ends() const { return ReadFile(m_Dir.File("ends.log")); }
int SmtpTestServer::Counted() const { return atoi(ReadFile(m_Dir.File("count")).c_str()); }

int SmtpTestServer::Accepted() const {
    const std::string s = ReadFile(m_Dir.File("accepted.log"));
    return (int)std::count(s.begin(), s.end(), '\n');
}

int ConnectingTo(int nPort) {
    std::istringstream in(ReadFile("/proc/net/tcp"));
    std::string line;
    std::getline(in, line);  // the column names
    int n = 0;
    char szRemote[64], szState[8];
    while (std::getline(in, line)) {
        // "sl local_address rem_address st ...": state 02 is SYN_SENT.
        if (sscanf(line.c_str(), "%*s %*s %63s %7s", szRemote, szState) != 2) continue;
        const char* pColon = strchr(szRemote, ':');
        if (pColon && strtol(pColon + 1, nullptr, 16) == nPort && strcmp(szState, "02") == 0) n++;
    }
    return n;
}

}  // namespace mailtest
