#pragma once
// What a process holds: resident memory, the heap in use, open file descriptors (on Windows:
// handles), threads and child processes (zombies included). On Linux read from /proc.
#include <QStringList>

#include <cstddef>

struct ProcessFootprint {
    std::size_t residentBytes = 0;  // VmRSS
    std::size_t heapInUseBytes = 0; // malloc's allocated bytes, every arena and mmapped block
    int openDescriptors = 0;
    int threads = 0;
    QStringList children; // "pid name"
};

// Hands the heap's free tops back to the system first, so that two readings differ by what is
// still allocated rather than by where malloc happened to leave its free space.
ProcessFootprint ReadProcessFootprint();
