#ifndef KOVMULTAUDIOIODEVICE_H
#define KOVMULTAUDIOIODEVICE_H

class KOVAudioFrame;
class KOVAudioFrameBuffer;
class KOVMultAudioFrame;
class KOVMultAudioFrameBuffer;
class KOVMultAudioIODevicePrivate;

// Multi-channel audio of a stereo WAV file in frames of 1024 samples per
// channel (128 channels, each pair the file's left and right), with time
// stamps. Every operation holds the device's lock for its whole length, so
// reads from several threads do not interleave.
class KOVMultAudioIODevice
{
public:
    KOVMultAudioIODevice();
    ~KOVMultAudioIODevice();
    KOVMultAudioIODevice(const KOVMultAudioIODevice&) = delete;
    KOVMultAudioIODevice& operator=(const KOVMultAudioIODevice&) = delete;

    // False at once when a source is open; a failed open leaves none.
    bool open(char const* path);
    bool isOpen() const;
    void close();
    void setSampleRate(int rate);
    int sampleRate() const;

    // Moves by offset (negative: from the end), then reads every channel.
    bool readFrame(KOVMultAudioFrame* frame, int offset);
    // Reads frame index (negative: from the end) of the frame's channel
    // without moving the current position.
    bool readFrame(KOVAudioFrame* frame, int index);
    bool readFrameBuffer(KOVMultAudioFrameBuffer* buffer, int offset);
    bool readFrameBuffer(KOVAudioFrameBuffer* buffer, int index);

    int curIndex() const;
    int maxIndex() const;
    int minIndex() const;

private:
    KOVMultAudioIODevicePrivate* d;
};

#endif // KOVMULTAUDIOIODEVICE_H
