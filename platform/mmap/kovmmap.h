#ifndef KOVMMAP_H
#define KOVMMAP_H

// POSIX-style file mapping with the calling convention the audio readers were
// written against. Every view is private copy-on-write: writes through it never
// reach the file.

// Flag bits of `flags`; at least one must be set.
enum { KOV_MAP_SHARED = 1, KOV_MAP_PRIVATE = 2 };

// Maps length bytes of fd from offset. Returns null on every failure (never
// MAP_FAILED): a requested address, no mapping flag, an offset that is not a
// page multiple, a zero length, or a view reaching past the end of the file.
void* win32_mmap(void* addr, unsigned long long length, int prot, int flags, int fd, long offset);

// Returns false on success and true on failure. length must be the length
// given to win32_mmap.
bool win32_munmap(void* addr, unsigned long long length);

#endif // KOVMMAP_H
