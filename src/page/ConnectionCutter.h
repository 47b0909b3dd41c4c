#pragma once
// Cuts this program's connections to one server while a call that the program cannot bound
// itself is still waiting on it: the print library opens connections of its own, with a minute's
// wait for each answer, which no setting of ours reaches.
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// The address a connected socket's peer has: the server's, read from a connection to it.
struct PeerAddress {
    sockaddr_storage address{};
    socklen_t length = 0;
};

// Nothing when the socket is not connected.
bool ReadPeerAddress(int socket, PeerAddress& peer);

// From `after` on, and every fifth of a second until the object goes, every socket of the process
// connected to `server` is shut down: a read or write waiting on it ends at once, as when the
// server closes the connection. Without a thread for it, or without a list of the process's open
// files, it does nothing.
class ConnectionCutter {
public:
    ConnectionCutter(const PeerAddress& server, std::chrono::steady_clock::duration after);
    ~ConnectionCutter();
    ConnectionCutter(const ConnectionCutter&) = delete;
    ConnectionCutter& operator=(const ConnectionCutter&) = delete;

    // True once a connection has been cut: what waited on it got no answer.
    bool CutAny();

private:
    void Run(std::chrono::steady_clock::time_point from);

    const PeerAddress server_;
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    bool cutAny_ = false;
    std::thread thread_;
};
