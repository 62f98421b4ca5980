#ifndef KOVGEN_H
#define KOVGEN_H

// Synthetic imager data: user directories, item folders and the single files
// in them, for the demo and for the fixtures of every test. Everything is
// derived from a seed, so the same options give the same bytes.

#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

#include <opencv2/core.hpp>

namespace KOVGen {

// ---------------------------------------------------------------- common

enum class LineEnd { CRLF, LF };

constexpr int kFrameWidth = 1024;
constexpr int kFrameHeight = 600;
constexpr int kSampleRate = 96000;
// Where the imager burns the maximum sound-pressure reading into a frame.
const cv::Rect kOcrRegion(705, 58, 60, 15);

// One frame's measurements, as info.dat carries them.
struct Frame
{
    int seq = 1;
    int freqBandLow = 20000; // Hz
    int freqBandHigh = 40000; // Hz
    double dynamicRange = 10.0; // dB
    double maxSPL = 50.0; // dB
    int x = 512; // position of the maximum in the 1024 x 600 frame
    int y = 300;
    double ultrasonicSPL = 45.0; // dB
    double leakDistance = 2.0; // m
    double leakLevel = 1.0;
    double leakPower = 0.5;
    double leakRate = 60.0; // ml/min as the file holds it; readers divide by 60
};

// count frames of plausible, slowly drifting values; seq counts from 1.
QVector<Frame> makeFrames(quint64 seed, int count);

// The reading as the imager draws it, one decimal and "dB": "45.2dB".
QString readingText(double maxSPL);

// ---------------------------------------------------------------- ini files

struct IniGroup
{
    QString name;
    QVector<QPair<QString, QString>> keys;
};

// Writes groups and keys as the imager does: values unquoted and unescaped
// (commas, semicolons and blanks stay as they are), in the given codec, with
// the given line ends. A null codec name writes UTF-8.
bool writeIni(const QString& path, const QVector<IniGroup>& groups, const char* codec = "GBK",
              LineEnd lineEnd = LineEnd::CRLF);

struct UsrInfo
{
    QString company;
    QString reportSN;
    QString tester;
    QString site;
    QString datetime;
    QString model;
    QString version;
    QString sn;
};
UsrInfo demoUsrInfo(quint64 seed);
bool writeUsrInfo(const QString& path, const UsrInfo& info, const char* codec = "GBK");

struct ItemLabel
{
    int type = 0; // 0 gas leak, 1 electrical
    QString faultSite; // gas
    QString airPressure;
    QString airUnit;
    QString airType;
    QString faultSiteElec; // electrical
    QString voltage;
    QString elecUnit;
    QString distance;
};
ItemLabel gasLabel(quint64 seed);
ItemLabel electricalLabel(quint64 seed);
// Writes [itemInfo] type and the group of the label's kind. Other key sets go
// through writeIni.
bool writeItemInfo(const QString& path, const ItemLabel& label, const char* codec = "GBK");

// ---------------------------------------------------------------- info.dat

// Deliberate faults, combinable. Each adds lines a reader must skip without
// losing the good frames around them.
enum InfoDatFault {
    NoFault = 0,
    WrongFieldCount = 1, // a frame line one field short
    RepeatedTitle = 2, // the column-title line again between frames
    NonNumericField = 4, // a frame line with text in a number field (still a frame)
    BlankLineInside = 8, // an empty line between frames
};

struct InfoDatOptions
{
    int format = 13; // 2, 11, 12 or 13; other numbers write a headline of that number
    int frames = 1;
    QDateTime baseTime; // invalid: 2024-03-15 10:15:00.000
    bool deviceLines = true; // formats 11-13: nine key:value lines
    bool pddLenLine = true; // formats 12, 13
    int pddLen = 240;
    bool leakPressureLine = true; // format 13
    double leakPressureKPa = 350;
    int faults = NoFault;
    LineEnd lineEnd = LineEnd::CRLF;
    quint64 seed = 1;
    QVector<Frame> values; // empty: makeFrames(seed, frames)
};

// The file's bytes. acceptedFrames receives how many frame records a correct
// reader gets from them (the good lines plus NonNumericField's line).
QByteArray infoDatBytes(const InfoDatOptions& opt, int* acceptedFrames = nullptr);
// Returns the accepted frame count, or -1 when the file cannot be written.
int writeInfoDat(const QString& path, const InfoDatOptions& opt);

// ---------------------------------------------------------------- pictures

// A 1024 x 600 false-colour acoustic picture: a grey scene with a heat blob at
// hotSpot, a colour bar, and the reading black on white in kOcrRegion (no
// reading when empty).
cv::Mat acousticImage(quint64 seed, QPoint hotSpot, const QString& reading);
// Draws the reading black on white so that it fills kOcrRegion crisply.
void drawReading(cv::Mat& bgr, const QString& reading);
bool writeJpeg(const QString& path, const cv::Mat& bgr, int quality = 92);
bool writePicture(const QString& path, quint64 seed, const Frame& frame);
// A picture showing exactly this reading, e.g. "45.2dB" or "N/AdB".
bool writePicture(const QString& path, const QString& reading, quint64 seed = 1, QPoint hotSpot = QPoint(512, 300));
// The small preview the imager keeps beside the item: 160 x 94.
bool writeThumbnail(const QString& path, const cv::Mat& bgr);
// The bytes of a tiny JPEG (made once), for bulk items.
const QByteArray& tinyJpeg();

// ---------------------------------------------------------------- video

struct VideoOptions
{
    int frames = 50;
    double fps = 25.0;
    quint64 seed = 1;
    QVector<Frame> values; // per frame reading and hot spot; empty: makeFrames(seed, frames)
};

// Frame index: big digits for people, and a band of 20 black/white cells along
// the bottom for programs (white reference, 16 bits MSB first, 2 parity bits,
// black reference).
cv::Mat videoFrame(int index, const VideoOptions& opt);
void drawFrameCode(cv::Mat& bgr, int index);
// The index the band encodes, or -1 when the image carries no valid band.
// Works on any size the frame was scaled to, and after lossy compression.
int decodeFrameIndex(const cv::Mat& bgr);
int decodeFrameIndex(const QImage& image);
// H.264 in MP4 when the encoder is there, else MPEG-4 Part 2; both are read
// back by OpenCV's capture on Debian.
bool writeVideo(const QString& path, const VideoOptions& opt, QString* error = nullptr);

// ---------------------------------------------------------------- audio

enum class AudioContent { Silence, Noise, Tone, PdBursts };

struct WavOptions
{
    int channels = 1; // 1 or 2, interleaved
    double seconds = 1.0;
    AudioContent content = AudioContent::Noise;
    int sampleRate = kSampleRate;
    double amplitude = 0.3; // peak of tone or bursts, RMS of noise; full scale 1.0
    double toneHz = 1000;
    double noiseLevel = 0.002; // RMS floor under tone and bursts
    int mainsHz = 50; // bursts: 50 or 60
    QVector<double> phasesDeg = {90.0, 270.0}; // burst phases within each mains period
    double burstHz = 40000; // ultrasound carrier of a burst (above the 25 kHz high-pass)
    quint64 seed = 1;
};

// Samples, channels interleaved; float x maps to int(x * 32767), clamped.
QVector<qint16> makeSamples(const WavOptions& opt);
// A canonical 44-byte-header PCM file.
QByteArray wavBytes(const QVector<qint16>& interleaved, int channels, int sampleRate);
bool writeWav(const QString& path, const WavOptions& opt);

// ---------------------------------------------------------------- tags

enum class TagKind { Image, Audio, Text };

struct Tag
{
    QString fileName; // the slot is the first of "01".."05" in the name, else 06
    TagKind kind = TagKind::Text;
    QString text; // Text: content (lines end CRLF); Image: caption
    QByteArray codec = "UTF-8"; // Text only
};
QVector<Tag> demoTags();
// Writes the tags into itemDir/tag/.
bool writeTags(const QString& itemDir, const QVector<Tag>& tags, quint64 seed);

// ---------------------------------------------------------------- items

enum class ItemKind { Picture, Video };

struct ItemOptions
{
    QString dir; // the item folder, created if missing
    QString fileName; // empty: IMG_/VID_ + base time + .jpg/.mp4
    ItemKind kind = ItemKind::Picture;
    int frames = 50; // video only; a picture has one
    quint64 seed = 1;
    QDateTime baseTime; // invalid: 2024-03-15 10:15:00.000
    int infoDatFormat = 13; // 0: no info.dat
    bool withLabel = true;
    ItemLabel label;
    bool withThumbnail = true;
    bool withAudio = false; // into wav/
    WavOptions audio;
    QVector<Tag> tags; // empty: no tag folder
};
bool writeItem(const ItemOptions& opt, QString* error = nullptr);

// ---------------------------------------------------------------- directories

struct DirOptions
{
    QString outDir; // the user directory itself
    quint64 seed = 1;
    int items = 0; // 0: the demo set of eight items
    bool light = false; // tiny pictures, one-frame info.dat, no video or audio
    bool force = false; // write into a folder that already holds files
};

struct DirResult
{
    bool ok = false;
    QString error;
    QStringList itemFiles; // picture or video path of each item, in folder order
};
DirResult writeUserDirectory(const DirOptions& opt);

} // namespace KOVGen

#endif // KOVGEN_H
