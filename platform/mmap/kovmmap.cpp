#include "kovmmap.h"

#include <cstdio>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

void* win32_mmap(void* addr, unsigned long long length, int prot, int flags, int fd, long offset)
{
    (void)prot; // every view is copy-on-write, whatever was asked
    if (addr || !(flags & (KOV_MAP_SHARED | KOV_MAP_PRIVATE))) {
        std::printf("Invalid usage of mingw_mmap\n");
        return nullptr;
    }
    if (offset < 0 || offset % getpagesize() != 0) {
        std::printf("Offset does not match the memory allocation granularity\n");
        return nullptr;
    }
    // A view longer than the file would map without complaint here, and the
    // first touch beyond the last page would raise SIGBUS; the Windows call
    // refuses such a view, and so do we.
    struct stat st;
    if (length == 0 || fstat(fd, &st) != 0 || st.st_size < 0)
        return nullptr;
    const unsigned long long size = static_cast<unsigned long long>(st.st_size);
    const unsigned long long off = static_cast<unsigned long long>(offset);
    if (off > size || length > size - off)
        return nullptr;
    void* p = mmap(nullptr, static_cast<size_t>(length), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, offset);
    return p == MAP_FAILED ? nullptr : p;
}

bool win32_munmap(void* addr, unsigned long long length)
{
    if (!addr)
        return true;
    return munmap(addr, static_cast<size_t>(length)) != 0;
}
