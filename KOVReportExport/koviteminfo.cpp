#include "koviteminfo.h"

#include "kovinformation.h"
#include "kovmsg.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QTextCodec>
#include <QTextStream>
#include <QStringRef>
#include <QVector>

namespace {

constexpr int kFrameMs = 40;
constexpr int kDeviceLines = 9;
const char kTimeFormat[] = "yyyyMMddhhmmss.zzz";
const char kCacheTimeFormat[] = "yy-MM-dd hh:mm:ss";

// Fields that are not numbers read as 0, as the imager's own viewer does.
int toIntOr0(const QStringRef& s)
{
    bool ok = false;
    const int v = s.toInt(&ok);
    return ok ? v : 0;
}

float toFloatOr0(const QStringRef& s)
{
    bool ok = false;
    const float v = s.toFloat(&ok);
    return ok ? v : 0.0f;
}

// "key:value" or "key:value:unit": the text between the first and second ':'.
QString secondSection(const QString& line)
{
    return line.section(QLatin1Char(':'), 1, 1).trimmed();
}

int fieldsExpected(int format)
{
    switch (format) {
    case 2:
        return 9;
    case 13:
        return 12;
    default:
        return 8;
    }
}

} // namespace

KOVItemInfo::KOVItemInfo() = default;

int KOVItemInfo::readItemInfo(QString path)
{
    m_imageCount = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    QTextStream ts(&file);
    ts.setCodec(QTextCodec::codecForLocale());
    const QString text = ts.readAll();
    file.close();
    return parseItemInfo(text);
}

int KOVItemInfo::parseItemInfo(const QString& text)
{
    m_imageCount = 0;
    m_imageInfos.clear();
    // References into text: a 10-minute video has 15,000 lines, and copying
    // each would cost more than parsing it.
    QVector<QStringRef> lines = text.splitRef(QLatin1Char('\n'));
    // The imager ends its lines in CR LF; a CR left on a line would spoil the
    // format number and the last field of every frame line.
    for (QStringRef& l : lines) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    }

    const QString headLine = lines.first().toString();
    const int format = formatNumber(headLine);
    emit KOVMsg::Instance()->sigClearItemInfo();
    if (!readBaseTime(headLine, format))
        return 0;

    int next = 1;
    if (format >= 11) {
        for (int i = 0; i < kDeviceLines && next < lines.size(); ++i, ++next)
            readDeviceLine(lines.at(next).toString(), i);
    }
    if (format >= 12 && next < lines.size())
        readPDDLenLine(lines.at(next++).toString());
    if (format == 13 && next < lines.size())
        readLeakPressureLine(lines.at(next++).toString());

    if (next >= lines.size() || lines.at(next).isEmpty())
        return 0;
    ++next; // column titles

    m_imageInfos.reserve(lines.size() - next);
    for (; next < lines.size(); ++next) {
        const QStringRef& line = lines.at(next);
        if (line.isEmpty())
            continue;
        KOVImageInfo info;
        if (!parseFrameLine(line, format, info))
            continue;
        m_imageInfos.append(info);
        ++m_imageCount;
    }
    return m_imageCount;
}

int KOVItemInfo::formatNumber(const QString& headLine) const
{
    QString tail;
    const int blank = headLine.lastIndexOf(QLatin1Char(' '));
    if (blank >= 0)
        tail = headLine.mid(blank + 1);
    else
        tail = headLine.section(QLatin1Char('\t'), -1);
    const QString number = tail.section(QLatin1Char(':'), -1).trimmed();
    bool ok = false;
    const int n = number.toInt(&ok);
    if (!ok)
        return 0;
    return (n == 2 || n == 11 || n == 12 || n == 13) ? n : 0;
}

bool KOVItemInfo::readBaseTime(const QString& headLine, int format)
{
    if (format == 0 || !headLine.toLower().contains(QLatin1String("headline")))
        return false;
    const QChar sep = format == 2 ? QLatin1Char(' ') : QLatin1Char('\t');
    const QString first = headLine.section(sep, 0, 0).trimmed();
    // An unreadable date leaves the frames readable, only their times invalid.
    m_baseDateTime = QDateTime::fromString(first, QLatin1String(kTimeFormat));
    return true;
}

void KOVItemInfo::readDeviceLine(const QString& line, int index)
{
    if (index < 3)
        emit KOVMsg::Instance()->sigDeviceInfoChanged(secondSection(line), index);
}

void KOVItemInfo::readPDDLenLine(const QString& line)
{
    bool ok = false;
    const int len = secondSection(line).toInt(&ok);
    if (!ok || len < kMinPDDLen || len > kMaxPDDLen) {
        qWarning() << "info.dat: partial-discharge length refused:" << line;
        return;
    }
    KOVInformation::Instance()->setPDDLen(len);
}

void KOVItemInfo::readLeakPressureLine(const QString& line)
{
    float pressure = 0.0f;
    if (line.contains(QLatin1Char(':')))
        pressure = line.section(QLatin1Char(':'), -1).trimmed().toFloat();
    KOVInformation::Instance()->setLeakPressure(pressure);
}

bool KOVItemInfo::parseFrameLine(const QStringRef& line, int format, KOVImageInfo& out) const
{
    const QVector<QStringRef> f = line.split(QLatin1Char('\t'));
    // A second title line would otherwise read as a frame of zeros.
    if (f.size() != fieldsExpected(format) || f.at(0) == QLatin1String("seqNumber")) {
        qDebug() << "pic info error! len = " << f.size();
        return false;
    }
    out.seq = toIntOr0(f.at(0));
    out.freqBandLow = toIntOr0(f.at(1));
    out.freqBandHigh = toIntOr0(f.at(2));
    out.dynamivRange = toFloatOr0(f.at(3));
    out.maxSPLdBValue = toFloatOr0(f.at(4));
    out.maxSPLPos = QPoint(toIntOr0(f.at(5)), toIntOr0(f.at(6)));
    out.ultrasonicSPLdBValue = toFloatOr0(f.at(7));
    if (format == 13) {
        out.leakDistance = toFloatOr0(f.at(8));
        out.leakLevel = toFloatOr0(f.at(9));
        out.leakPower = toFloatOr0(f.at(10));
        out.leakValue = static_cast<float>(toFloatOr0(f.at(11)) / 60.0f);
    }
    return true;
}

bool KOVItemInfo::getImageInfo(int frameNo, KOVImageInfo& info)
{
    if (frameNo < 1 || frameNo > m_imageCount)
        return false;
    info = m_imageInfos.at(frameNo - 1);
    return true;
}

QDateTime KOVItemInfo::getImageTime(int frameNo)
{
    if (frameNo < 1 || frameNo > m_imageCount)
        return QDateTime();
    return m_baseDateTime.addMSecs(static_cast<qint64>(frameNo - 1) * kFrameMs);
}

void KOVItemInfo::saveData(QJsonObject& root)
{
    root.insert(QStringLiteral("baseDateTime"), m_baseDateTime.toString(QLatin1String(kCacheTimeFormat)));
    root.insert(QStringLiteral("imageCount"), m_imageCount);
    QJsonArray list;
    for (const KOVImageInfo& i : qAsConst(m_imageInfos)) {
        QJsonObject o;
        o.insert(QStringLiteral("seq"), i.seq);
        o.insert(QStringLiteral("freqBandLow"), i.freqBandLow);
        o.insert(QStringLiteral("freqBandHigh"), i.freqBandHigh);
        o.insert(QStringLiteral("dynamivRange"), static_cast<double>(i.dynamivRange));
        o.insert(QStringLiteral("maxSPLdBValue"), static_cast<double>(i.maxSPLdBValue));
        o.insert(QStringLiteral("maxSPLPos_x"), i.maxSPLPos.x());
        o.insert(QStringLiteral("maxSPLPos_y"), i.maxSPLPos.y());
        o.insert(QStringLiteral("ultrasonicSPLdBValue"), static_cast<double>(i.ultrasonicSPLdBValue));
        // Kept, or a restored frame would show a leak rate of 0.
        o.insert(QStringLiteral("leakDistance"), static_cast<double>(i.leakDistance));
        o.insert(QStringLiteral("leakLevel"), static_cast<double>(i.leakLevel));
        o.insert(QStringLiteral("leakPower"), static_cast<double>(i.leakPower));
        o.insert(QStringLiteral("leakValue"), static_cast<double>(i.leakValue));
        list.append(o);
    }
    root.insert(QStringLiteral("imageInfoList"), list);
}

void KOVItemInfo::restoreData(QJsonObject& root)
{
    QDateTime t = QDateTime::fromString(root.value(QStringLiteral("baseDateTime")).toString(),
                                        QLatin1String(kCacheTimeFormat));
    // Two-digit years parse into the 1900s.
    if (t.isValid() && t.date().year() < 2000)
        t = t.addYears(100);
    m_baseDateTime = t;
    m_imageInfos.clear();
    const QJsonArray list = root.value(QStringLiteral("imageInfoList")).toArray();
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        KOVImageInfo i;
        i.seq = o.value(QStringLiteral("seq")).toInt();
        i.freqBandLow = o.value(QStringLiteral("freqBandLow")).toInt();
        i.freqBandHigh = o.value(QStringLiteral("freqBandHigh")).toInt();
        i.dynamivRange = static_cast<float>(o.value(QStringLiteral("dynamivRange")).toDouble());
        i.maxSPLdBValue = static_cast<float>(o.value(QStringLiteral("maxSPLdBValue")).toDouble());
        i.maxSPLPos = QPoint(o.value(QStringLiteral("maxSPLPos_x")).toInt(), o.value(QStringLiteral("maxSPLPos_y")).toInt());
        i.ultrasonicSPLdBValue = static_cast<float>(o.value(QStringLiteral("ultrasonicSPLdBValue")).toDouble());
        i.leakDistance = static_cast<float>(o.value(QStringLiteral("leakDistance")).toDouble());
        i.leakLevel = static_cast<float>(o.value(QStringLiteral("leakLevel")).toDouble());
        i.leakPower = static_cast<float>(o.value(QStringLiteral("leakPower")).toDouble());
        i.leakValue = static_cast<float>(o.value(QStringLiteral("leakValue")).toDouble());
        m_imageInfos.append(i);
    }
    // The stored count is not trusted: a larger one would index past the list.
    m_imageCount = m_imageInfos.size();
}

bool KOVItemInfo::checkHeadLine(QString line)
{
    return !line.isEmpty();
}
