// A real SMTP server for tests: the Python script smtp_test_server.py
// (aiosmtpd) started on 127.0.0.1 with an ephemeral port, stopped by the
// object's destructor. Also the test certificates, made with the openssl CLI.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace mailtest {

// A fresh folder under the temporary folder, removed with all it holds by
// the destructor, or at the process's exit (std::exit, a death test's child)
// while it lives; a forked child leaves its parent's folders alone.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& name) const { return m_strPath + "/" + name; }

private:
    std::string m_strPath;
    int m_nPid = 0;  // the process that made it
};

// Runs argv (argv[0] a path), waits for it and returns its standard output;
// *pStatus receives the exit status (-1 when it could not run).
std::string RunProgram(const std::vector<std::string>& argv, int* pStatus = nullptr);

// Test certificates, made once per test program: a CA ("ca.pem"), a server
// certificate for "localhost" signed by it, one for "mail.example.test"
// signed by it, and a self-signed one for "localhost" that no CA vouches for.
struct TestCertificates {
    std::string strCaFile;
    std::string strLocalhostCert, strLocalhostKey;
    std::string strOtherHostCert, strOtherHostKey;
    std::string strSelfSignedCert, strSelfSignedKey;
};
const TestCertificates& Certificates();

// One stored message, its fields decoded by Python's email package (UTF-8).
struct ReceivedMail {
    std::map<std::string, std::string> fields;
    const std::string& operator[](const std::string& key) const;
};

class SmtpTestServer {
public:
    // Starts the server with the script's options; Port() is 0 when it did
    // not start.
    explicit SmtpTestServer(const std::vector<std::string>& options = {});
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    int Port() const { return m_nPort; }
    std::string PortText() const { return std::to_string(m_nPort); }
    // Ends the server and waits for its process.
    void Stop();

    // Messages stored so far, in the order they arrived.
    int StoredCount() const;
    std::vector<ReceivedMail> Messages() const;
    // The raw bytes of message n (1-based).
    std::string RawMessage(int n) const;
    // Command lines the server read, and SNI names it was sent.
    std::string Commands() const;
    std::string SniNames() const;
    // How the client ended its connections to a --tls-trickle server.
    std::string Ends() const;
    // Messages counted by a server started with --count-only.
    int Counted() const;
    // Connections accepted by a server started with --mute.
    int Accepted() const;

private:
    TempDir m_Dir;
    int m_nPid = -1;
    int m_fdIn = -1;  // the server's standard input
    int m_nPort = 0;
};

// Connections of this process to 127.0.0.1:nPort still waiting for the
// server's answer to their SYN (from /proc/net/tcp).
int ConnectingTo(int nPort);

// A real message box is shown (not answered by the test hook).
bool MessageBoxShown();

// Path of the server script.
std::string ServerScript();

}  // namespace mailtest
