#include "kovreadaudio.h"

#include "kovmmap.h"
#include "kovwavheader.h"

#include <QDebug>
#include <QFile>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

KOVReadAudio::KOVReadAudio() = default;

KOVReadAudio::~KOVReadAudio()
{
    clear();
}

void KOVReadAudio::clear()
{
    std::free(m_data);
    m_data = nullptr;
    m_framCnt = 0;
    m_channel = 0;
    m_tooLong = false;
}

bool KOVReadAudio::initAudioData(QString path)
{
    clear();
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        qDebug().noquote() << QStringLiteral("open ") + path + QStringLiteral(" failed.");
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        qWarning() << "KOVReadAudio::initAudioData not a file" << path;
        return false;
    }
    const qint64 size = st.st_size;
    KOVWavHeader header;
    QString why;
    if (size < 44) {
        ::close(fd);
        qWarning() << "KOVReadAudio::initAudioData" << path << "refused:" << size << "bytes";
        return false;
    }
    void* view = win32_mmap(nullptr, static_cast<unsigned long long>(size), 3, KOV_MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (!view) {
        qWarning() << "KOVReadAudio::initAudioData cannot map" << path;
        return false;
    }
    const uchar* bytes = static_cast<const uchar*>(view);
    bool ok = header.parse(bytes, size, &why);
    if (!ok)
        qWarning() << "KOVReadAudio::initAudioData" << path << "refused:" << why;
    else if (header.clamped())
        qWarning() << "KOVReadAudio::initAudioData" << path << "claims more samples than it holds; read"
                   << header.dataLength() << "bytes";
    // Refused before the copy: nothing of a file too long is read.
    const qint64 frames = ok ? header.dataLength() / header.channels() / 2048 : 0;
    if (ok && frames > kMaxFrames) {
        qWarning() << "KOVReadAudio::initAudioData" << path << "too long:" << frames << "frames";
        m_tooLong = true;
        ok = false;
    }
    short* data = nullptr;
    if (ok) {
        data = static_cast<short*>(std::malloc(static_cast<size_t>(header.dataLength()) + 1));
        if (data)
            std::memcpy(data, bytes + header.dataOffset(), static_cast<size_t>(header.dataLength()));
        else
            qWarning() << "KOVReadAudio::initAudioData out of memory for" << path;
    }
    win32_munmap(view, static_cast<unsigned long long>(size));
    if (!data)
        return false;
    m_data = data;
    m_channel = header.channels();
    m_framCnt = static_cast<int>(frames);
    return true;
}
