#ifndef AVILIBPRIV_H
#define AVILIBPRIV_H

// Helpers shared by the container's writer and reader.

#include "avilib.h"

#include <cstddef>
#include <cstdint>

namespace avi {

const int kHeaderBytes = 2048;
// A chunk that would bring the file to this size is refused; every offset
// stored in the 32-bit fields of the format stays below it.
const int64_t kSizeLimit = 0xFEFFF800LL;
// Size fields of a file still being written, which has no final header yet.
const uint32_t kProvisionalSize = 0xFEFFF003u;

inline void put32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

inline void put16(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline uint32_t get32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint32_t get16(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

// Writes everything or fails; short writes of regular files are continued.
bool writeAll(int fd, const void* buf, size_t len);
bool writeAllAt(int fd, const void* buf, size_t len, int64_t offset);
// Reads exactly len bytes at offset, or fails.
bool readAllAt(int fd, void* buf, size_t len, int64_t offset);

// The 2048-byte header: the provisional one while recording, or the final one
// with the index flags and true sizes. fileLength and moviEnd are used only for
// the final header.
void buildHeader(const avi_t* a, unsigned char* hdr, bool final, bool indexWritten, int64_t fileLength, int64_t idxStart);

// Writes the provisional header at offset 0 and keeps the file position at pos.
int writeProvisionalHeader(avi_t* a);

} // namespace avi

#endif // AVILIBPRIV_H
