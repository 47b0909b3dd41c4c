// Started by the launcher's tests. Writes its process number, then each argument after the first,
// one per line, into the file named by its first argument (relative to its current directory).
// An argument "--sleep=MS" makes it wait MS milliseconds before writing. The file appears whole
// at once, so a test never reads it half written.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {
int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::string sleepOption = "--sleep=";
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind(sleepOption, 0) == 0) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::stoi(arg.substr(sleepOption.size()))));
        }
    }
    const std::string target = argv[1];
    const std::string partial = target + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out << ProcessId() << '\n';
        for (int i = 2; i < argc; ++i)
            out << argv[i] << '\n';
    }
    return std::rename(partial.c_str(), target.c_str()) == 0 ? 0 : 1;
}
