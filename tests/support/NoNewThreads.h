#pragma once
// A thread that cannot start, made real on POSIX systems: while the object lives, this process
// may start no thread or process.
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>

// Its limit of processes is none, for a user that is not root (root is not held to it): a
// process run as root runs as nobody meanwhile.
class NoNewThreads {
public:
    NoNewThreads() {
        getrlimit(RLIMIT_NPROC, &before_);
        if (geteuid() == 0 && setresuid(Nobody, Nobody, 0) != 0)
            return;
        const rlimit none{0, before_.rlim_max};
        limited_ = setrlimit(RLIMIT_NPROC, &none) == 0;
    }
    ~NoNewThreads() {
        // The rest of the tests cannot run as another user.
        if (getuid() == Nobody && setresuid(0, 0, 0) != 0)
            std::abort();
        setrlimit(RLIMIT_NPROC, &before_);
    }
    NoNewThreads(const NoNewThreads&) = delete;
    NoNewThreads& operator=(const NoNewThreads&) = delete;

    bool Limited() const { return limited_; }

private:
    static constexpr uid_t Nobody = 65534;
    rlimit before_{};
    bool limited_ = false;
};
