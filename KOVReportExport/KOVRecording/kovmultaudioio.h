#ifndef KOVMULTAUDIOIO_H
#define KOVMULTAUDIOIO_H

// A source of multi-channel 16-bit audio in frames of 1024 samples per
// channel, read from a current frame index.
class KOVMultAudioIO
{
public:
    virtual ~KOVMultAudioIO();
    virtual int channels();
    virtual bool open(char const* path) = 0;
    virtual void close();
    // Copy the current frame of every channel (or of one) and advance.
    virtual bool fill(short** channelBuffers) = 0;
    virtual bool fill(short* buffer, int channel) = 0;
    // Relative move; a negative offset counts from the end.
    virtual bool seek(int offset) = 0;
    // Absolute move.
    virtual bool reSeek(int index) = 0;
    // Milliseconds at the current frame.
    virtual float timeStamp();
    virtual int curIndex();
    virtual int maxIndex();
    virtual void setSampleRate(int rate);
};

#endif // KOVMULTAUDIOIO_H
