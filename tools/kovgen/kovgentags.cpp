// The tag folder: picture, audio and text notes the imager attaches to an item.
#include "kovgen.h"
#include "kovgenrandom.h"

#include <QDir>
#include <QFile>
#include <QTextCodec>

#include <opencv2/imgproc.hpp>

namespace KOVGen {

QVector<Tag> demoTags()
{
    return {
        {QStringLiteral("tag01.jpg"), TagKind::Image, QStringLiteral("TAG 01"), "UTF-8"},
        {QStringLiteral("tag02.wav"), TagKind::Audio, QString(), "UTF-8"},
        {QStringLiteral("tag03.txt"), TagKind::Text,
         QStringLiteral("现场记录：法兰接口处有明显泄漏声。\n建议：停机后更换垫片, 复测。\n"), "UTF-8"},
        // No slot number in the name: slot 06. Written in GBK as older imagers do.
        {QStringLiteral("memo.txt"), TagKind::Text, QStringLiteral("备注：测试人员已确认;无需复测\n"), "GBK"},
    };
}

bool writeTags(const QString& itemDir, const QVector<Tag>& tags, quint64 seed)
{
    const QString dir = itemDir + QStringLiteral("/tag");
    if (!QDir().mkpath(dir))
        return false;
    KOVGenRandom r(seed);
    for (const Tag& t : tags) {
        const QString path = dir + QLatin1Char('/') + t.fileName;
        if (t.kind == TagKind::Image) {
            cv::Mat m(480, 640, CV_8UC3, cv::Scalar(r.range(40, 120), r.range(40, 120), r.range(40, 120)));
            cv::circle(m, cv::Point(r.range(200, 440), r.range(150, 330)), 80, cv::Scalar(200, 200, 200), 6,
                       cv::LINE_AA);
            cv::putText(m, t.text.toStdString(), cv::Point(30, 60), cv::FONT_HERSHEY_SIMPLEX, 1.4,
                        cv::Scalar(255, 255, 255), 3, cv::LINE_AA);
            if (!writeJpeg(path, m, 85))
                return false;
        } else if (t.kind == TagKind::Audio) {
            WavOptions w;
            w.content = AudioContent::Tone;
            w.toneHz = 880;
            w.amplitude = 0.2;
            w.seconds = 1.0;
            w.seed = r.next();
            if (!writeWav(path, w))
                return false;
        } else {
            QTextCodec* c = QTextCodec::codecForName(t.codec);
            if (!c)
                return false;
            QString text = t.text;
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            const QByteArray bytes = c->fromUnicode(text);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
                return false;
        }
    }
    return true;
}

} // namespace KOVGen
