#include "page/ConnectionCutter.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <system_error>

namespace {

using namespace std::chrono_literals;

constexpr auto CutEvery = 200ms;

// The process's open files: Linux's /proc, the BSDs' and macOS's /dev/fd.
DIR* OpenFileList() {
    for (const char* folder : {"/proc/self/fd", "/dev/fd"})
        if (DIR* list = opendir(folder))
            return list;
    return nullptr;
}

// True when it cut one.
bool CutConnectionsTo(const PeerAddress& server) {
    DIR* list = OpenFileList();
    if (!list)
        return false;
    bool cut = false;
    const int own = dirfd(list);
    while (const dirent* entry = readdir(list)) {
        char* end = nullptr;
        const long number = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || number == own)
            continue;
        const int socket = static_cast<int>(number);
        PeerAddress peer;
        // The peer is read just before the cut: a file closed meanwhile and its number given
        // to another connection is not cut unless that one goes to the server too.
        if (ReadPeerAddress(socket, peer) && peer.length == server.length &&
            std::memcmp(&peer.address, &server.address, server.length) == 0)
            cut = shutdown(socket, SHUT_RDWR) == 0 || cut;
    }
    closedir(list);
    return cut;
}

} // namespace

bool ReadPeerAddress(int socket, PeerAddress& peer) {
    peer.length = sizeof(peer.address);
    return getpeername(socket, reinterpret_cast<sockaddr*>(&peer.address), &peer.length) == 0 &&
           peer.length > 0;
}

ConnectionCutter::ConnectionCutter(const PeerAddress& server,
                                   std::chrono::steady_clock::duration after)
    : server_(server) {
    try {
        thread_ =
            std::thread(&ConnectionCutter::Run, this, std::chrono::steady_clock::now() + after);
    } catch (const std::system_error&) {
        // No thread: the library's own waits stay as they are.
    }
}

ConnectionCutter::~ConnectionCutter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool ConnectionCutter::CutAny() {
    const std::lock_guard lock(mutex_);
    return cutAny_;
}

void ConnectionCutter::Run(std::chrono::steady_clock::time_point from) {
    std::unique_lock lock(mutex_);
    if (stop_.wait_until(lock, from, [this] { return stopping_; }))
        return;
    do
        cutAny_ = CutConnectionsTo(server_) || cutAny_;
    while (!stop_.wait_for(lock, CutEvery, [this] { return stopping_; }));
}
