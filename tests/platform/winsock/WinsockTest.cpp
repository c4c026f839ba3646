// The WinSock layer over POSIX sockets: start-up, name look-up from several
// threads, error codes, no SIGPIPE, and receive time limits.
#include <gtest/gtest.h>

#include "winsock2.h"
#include "winsock_testhooks.h"

#include <pthread.h>
#include <signal.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

class Winsock : public ::testing::Test {
protected:
    void SetUp() override {
        WSADATA wsa;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
        EXPECT_EQ(wsa.wVersion, MAKEWORD(2, 2));
    }
    void TearDown() override {
        wsatest::LimitSocketTimeouts(0);
        EXPECT_EQ(WSACleanup(), 0);
    }

    // A listening socket on 127.0.0.1 with an ephemeral port.
    static SOCKET Listen(sockaddr_in* addr) {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        EXPECT_NE(s, INVALID_SOCKET);
        *addr = sockaddr_in{};
        addr->sin_family = AF_INET;
        addr->sin_addr.s_addr = inet_addr("127.0.0.1");
        EXPECT_EQ(::bind((int)s, reinterpret_cast<sockaddr*>(addr), sizeof *addr), 0);
        socklen_t len = sizeof *addr;
        EXPECT_EQ(::getsockname((int)s, reinterpret_cast<sockaddr*>(addr), &len), 0);
        EXPECT_EQ(::listen((int)s, 4), 0);
        return s;
    }

    // A socket of the layer connected to a listener l on 127.0.0.1; peer is
    // the listener's end.
    static void Connected(SOCKET* l, SOCKET* s, int* peer) {
        sockaddr_in addr;
        *l = Listen(&addr);
        *s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        ASSERT_EQ(connect(*s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        *peer = ::accept((int)*l, nullptr, nullptr);
        ASSERT_GE(*peer, 0);
    }
};

TEST(WinsockStartup, VersionAndCounting) {
    WSADATA wsa;
    EXPECT_EQ(WSAStartup(MAKEWORD(1, 1), &wsa), WSAVERNOTSUPPORTED);
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_NE(gethostbyname("localhost"), nullptr);  // still started once
    EXPECT_EQ(WSACleanup(), 0);
}

TEST_F(Winsock, AddressesAndNames) {
    EXPECT_EQ(inet_addr("127.0.0.1"), htonl(0x7F000001));
    EXPECT_EQ(inet_addr("mail.example.com"), INADDR_NONE);
    EXPECT_EQ(htons(25), (u_short)((25 >> 8) | (25 << 8)) & 0xFFFF);
    hostent* h = gethostbyname("localhost");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->h_addrtype, AF_INET);
    EXPECT_EQ(h->h_length, 4);
    ASSERT_NE(h->h_addr_list[0], nullptr);
    EXPECT_EQ(reinterpret_cast<in_addr*>(h->h_addr_list[0])->s_addr, inet_addr("127.0.0.1"));
    EXPECT_EQ(gethostbyname("no-such-host.invalid"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);
}

TEST_F(Winsock, NameLookUpFromManyThreadsAtOnce) {
    std::atomic<int> ok{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; i++)
        threads.emplace_back([&] {
            for (int j = 0; j < 50; j++) {
                hostent* h = gethostbyname("localhost");
                if (h && h->h_addr_list[0] &&
                    reinterpret_cast<in_addr*>(h->h_addr_list[0])->s_addr == inet_addr("127.0.0.1"))
                    ok++;
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(ok.load(), 400);
}

TEST_F(Winsock, ConnectRefusedGivesItsCode) {
    sockaddr_in addr;
    SOCKET l = Listen(&addr);
    closesocket(l);  // nobody listens on that port any more
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
    EXPECT_EQ(closesocket(s), 0);
    EXPECT_EQ(closesocket(INVALID_SOCKET), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(Winsock, SendToAClosedPeerFailsWithoutSigpipe) {
    SOCKET l, s;
    int peer;
    ASSERT_NO_FATAL_FAILURE(Connected(&l, &s, &peer));
    ::close(peer);
    // The first send may still be taken; a later one meets the reset. Without
    // MSG_NOSIGNAL the test program would end here.
    const std::string block(65536, 'x');
    int r = 0;
    for (int i = 0; i < 100 && r != SOCKET_ERROR; i++) r = send(s, block.data(), (int)block.size(), 0);
    EXPECT_EQ(r, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    closesocket(s);
    closesocket(l);
}

TEST_F(Winsock, ReceiveTimeLimitAndShutdown) {
    SOCKET l, s;
    int peer;
    ASSERT_NO_FATAL_FAILURE(Connected(&l, &s, &peer));
    wsatest::LimitSocketTimeouts(100);
    const DWORD ms = 60000;
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms), 0);
    char buf[16];
    EXPECT_EQ(recv(s, buf, sizeof buf, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAETIMEDOUT);
    // Data that arrives is read; a shut-down socket reads the end at once.
    ASSERT_EQ(::write(peer, "220 ok\r\n", 8), 8);
    EXPECT_EQ(recv(s, buf, sizeof buf, 0), 8);
    EXPECT_EQ(shutdown(s, SD_BOTH), 0);
    EXPECT_EQ(recv(s, buf, sizeof buf, 0), 0);
    ::close(peer);
    closesocket(s);
    closesocket(l);
}

// On a non-blocking socket a call that would block fails with WSAEWOULDBLOCK,
// as in WinSock: a receive with nothing to read, a send with the buffers
// full, and a connect to a listener whose queue is full, which cannot end at
// once.
TEST_F(Winsock, CallsThatWouldBlockOnANonBlockingSocket) {
    auto nonBlocking = [](SOCKET s) { return ::fcntl((int)s, F_SETFL, ::fcntl((int)s, F_GETFL, 0) | O_NONBLOCK) == 0; };
    SOCKET l, s;
    int peer;
    ASSERT_NO_FATAL_FAILURE(Connected(&l, &s, &peer));
    ASSERT_TRUE(nonBlocking(s));
    char buf[16];
    EXPECT_EQ(recv(s, buf, sizeof buf, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    const std::string block(65536, 'x');
    int r = 0;
    for (int i = 0; i < 4096 && r != SOCKET_ERROR; i++) r = send(s, block.data(), (int)block.size(), 0);
    EXPECT_EQ(r, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ::close(peer);
    closesocket(s);
    closesocket(l);

    // A queue of pending connections one long, filled by a connection that
    // completes: the kernel drops the next one's SYN.
    sockaddr_in addr;
    l = Listen(&addr);
    ASSERT_EQ(::listen((int)l, 0), 0);
    SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_EQ(connect(filler, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_TRUE(nonBlocking(s));
    EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    closesocket(s);
    closesocket(filler);
    closesocket(l);
}

// Signals to the waiting thread (every 100 ms, a handler without SA_RESTART)
// do not start the time limit over: a receive with a 500 ms limit ends long
// before the 40th signal, and so does a send to a peer that reads nothing.
// This guards the layer's own going on after a signal (the SMTP client sets
// no socket limit and keeps its deadline itself).
TEST_F(Winsock, SignalsDoNotStartTheTimeLimitOver) {
    struct sigaction sa = {}, saOld = {};
    sa.sa_handler = [](int) {};
    sigaction(SIGUSR2, &sa, &saOld);
    SOCKET l, s;
    int peer;
    ASSERT_NO_FATAL_FAILURE(Connected(&l, &s, &peer));
    const DWORD ms = 500;
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms), 0);
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms), 0);
    const pthread_t self = pthread_self();
    for (bool bSend : {false, true}) {
        std::atomic<bool> bDone{false};
        std::atomic<int> nSignals{0};
        std::thread signaller([&] {
            for (; !bDone && nSignals < 40; nSignals++) {
                usleep(100000);
                pthread_kill(self, SIGUSR2);
            }
        });
        std::string block(1 << 20, 'x');
        int r = 0;
        if (bSend)
            while (r != SOCKET_ERROR) r = send(s, block.data(), (int)block.size(), 0);
        else
            r = recv(s, block.data(), 16, 0);
        bDone = true;
        signaller.join();
        EXPECT_EQ(r, SOCKET_ERROR) << bSend;
        EXPECT_EQ(WSAGetLastError(), WSAETIMEDOUT) << bSend;
        EXPECT_LT(nSignals, 40) << bSend;
    }
    sigaction(SIGUSR2, &saOld, nullptr);
    ::close(peer);
    closesocket(s);
    closesocket(l);
}

}  // namespace
