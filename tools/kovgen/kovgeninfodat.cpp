// info.dat: headline, device lines, partial-discharge length and leak pressure
// lines, column titles, then one tab-separated line per frame.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QFile>
#include <QtMath>

namespace KOVGen {

namespace {

QString num(double v, int decimals = 1)
{
    return QString::number(v, 'f', decimals);
}

QStringList titles(int format)
{
    QStringList t{QStringLiteral("seqNumber"),    QStringLiteral("freqBandLow"), QStringLiteral("freqBandHigh"),
                  QStringLiteral("dynamicRange"), QStringLiteral("maxSPLdB"),    QStringLiteral("maxSPLPosX"),
                  QStringLiteral("maxSPLPosY"),   QStringLiteral("ultrasonicSPLdB")};
    if (format == 2)
        t << QStringLiteral("reserved");
    if (format == 13)
        t << QStringLiteral("leakDistance") << QStringLiteral("leakLevel") << QStringLiteral("leakPower")
          << QStringLiteral("leakRate");
    return t;
}

QStringList frameFields(int format, const Frame& f)
{
    QStringList t{QString::number(f.seq),  QString::number(f.freqBandLow), QString::number(f.freqBandHigh),
                  num(f.dynamicRange),     num(f.maxSPL),                  QString::number(f.x),
                  QString::number(f.y),    num(f.ultrasonicSPL)};
    if (format == 2)
        t << QStringLiteral("0");
    if (format == 13)
        t << num(f.leakDistance, 2) << num(f.leakLevel) << num(f.leakPower, 2) << num(f.leakRate);
    return t;
}

// What a reader that follows the file's rules gets from these lines: after the
// headline it drops the lines the format promises (whether or not they were
// written), then the title line, then takes every line with the format's
// field count, except one that starts with "seqNumber" (a repeated title line
// would otherwise read as a frame of zeros, in format 2 as in the others).
int countAccepted(const QStringList& lines, int format)
{
    int fields = 0;
    int skip = 0;
    if (format == 2) {
        fields = 9;
    } else if (format >= 11 && format <= 13) {
        fields = format == 13 ? 12 : 8;
        skip = 9 + (format >= 12 ? 1 : 0) + (format >= 13 ? 1 : 0);
    } else {
        return 0;
    }
    int i = 1 + skip;
    if (i >= lines.size() || lines[i].isEmpty())
        return 0;
    int n = 0;
    for (++i; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(QLatin1Char('\t'));
        if (!lines[i].isEmpty() && f.size() == fields && f[0] != QLatin1String("seqNumber"))
            ++n;
    }
    return n;
}

} // namespace

QString readingText(double maxSPL)
{
    return num(maxSPL) + QStringLiteral("dB");
}

QVector<Frame> makeFrames(quint64 seed, int count)
{
    KOVGenRandom r(seed);
    QVector<Frame> out;
    if (count <= 0)
        return out;
    out.reserve(count);
    static const int bands[][2] = {{20000, 40000}, {25000, 35000}, {30000, 45000}};
    const int band = r.range(0, 2);
    double spl = r.uniform(35, 85);
    double x = r.uniform(200, 820);
    double y = r.uniform(140, 480);
    const double dyn = double(r.range(60, 200)) / 10.0;
    double rate = r.uniform(20, 400);
    for (int i = 0; i < count; ++i) {
        Frame f;
        f.seq = i + 1;
        f.freqBandLow = bands[band][0];
        f.freqBandHigh = bands[band][1];
        f.dynamicRange = dyn;
        // One decimal, as the file and the burnt-in reading show it.
        f.maxSPL = qRound(qBound(20.0, spl, 99.9) * 10) / 10.0;
        f.x = qBound(120, int(x), 900);
        f.y = qBound(100, int(y), 520);
        f.ultrasonicSPL = qRound((f.maxSPL - r.uniform(2, 8)) * 10) / 10.0;
        f.leakDistance = qRound(r.uniform(1.5, 6) * 100) / 100.0;
        f.leakLevel = qRound(qBound(0.0, (f.maxSPL - 30) / 14.0, 5.0) * 10) / 10.0;
        f.leakPower = qRound(rate / 200.0 * 100) / 100.0;
        f.leakRate = qRound(rate * 10) / 10.0;
        out.append(f);
        spl += r.uniform(-1.5, 1.5);
        x += r.uniform(-6, 6);
        y += r.uniform(-4, 4);
        rate = qBound(5.0, rate + r.uniform(-5, 5), 600.0);
    }
    return out;
}

QByteArray infoDatBytes(const InfoDatOptions& opt, int* acceptedFrames)
{
    const QString eol = opt.lineEnd == LineEnd::CRLF ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QDateTime base =
        opt.baseTime.isValid() ? opt.baseTime : QDateTime(QDate(2024, 3, 15), QTime(10, 15, 0, 0));
    const QVector<Frame> frames = opt.values.isEmpty() ? makeFrames(opt.seed, opt.frames) : opt.values;
    const int fmt = opt.format;
    const QChar sep = QLatin1Char('\t');
    QStringList lines;

    // Format 2 separates the headline by blanks, the later formats by tabs.
    const QString stamp = base.toString(QStringLiteral("yyyyMMddhhmmss.zzz"));
    if (fmt == 2)
        lines << stamp + QStringLiteral(" headline version:") + QString::number(fmt);
    else
        lines << stamp + QStringLiteral("\tHeadLine\tversion:") + QString::number(fmt);

    if (fmt >= 11 && opt.deviceLines) {
        // The first three values are shown by the review page; the version
        // carries a build date after a second colon, which readers cut off.
        lines << QStringLiteral("DeviceModel:KOV-U200") << QStringLiteral("DeviceSN:KU20240315")
              << QStringLiteral("SoftVersion:V2.1.3:20240301") << QStringLiteral("MicNumber:128")
              << QStringLiteral("FocalLength:4.0mm") << QStringLiteral("Gain:20")
              << QStringLiteral("FilterMode:1") << QStringLiteral("Temperature:25.6")
              << QStringLiteral("Humidity:48");
    }
    if (fmt >= 12 && opt.pddLenLine)
        lines << QStringLiteral("PDDLength:") + QString::number(opt.pddLen);
    if (fmt >= 13 && opt.leakPressureLine)
        lines << QStringLiteral("LeakPressure:kPa:") + num(opt.leakPressureKPa, 0);

    const QString title = titles(fmt).join(sep);
    lines << title;

    for (int i = 0; i < frames.size(); ++i) {
        lines << frameFields(fmt, frames[i]).join(sep);
        // Faults go after the first frame so that good frames surround them.
        if (i != 0)
            continue;
        if (opt.faults & WrongFieldCount) {
            QStringList f = frameFields(fmt, frames[0]);
            f.removeLast();
            lines << f.join(sep);
        }
        if (opt.faults & RepeatedTitle)
            lines << title;
        if (opt.faults & BlankLineInside)
            lines << QString();
        if (opt.faults & NonNumericField) {
            QStringList f = frameFields(fmt, frames[0]);
            f[3] = QStringLiteral("n/a");
            lines << f.join(sep);
        }
    }
    if (acceptedFrames)
        *acceptedFrames = countAccepted(lines, fmt);
    // The imager ends the last line too.
    return (lines.join(eol) + eol).toUtf8();
}

int writeInfoDat(const QString& path, const InfoDatOptions& opt)
{
    int accepted = 0;
    const QByteArray bytes = infoDatBytes(opt, &accepted);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return -1;
    return accepted;
}

} // namespace KOVGen
