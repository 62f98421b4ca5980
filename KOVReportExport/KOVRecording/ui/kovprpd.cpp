#include "kovprpd.h"
#include "kovprpdprivate.h"

#include "kovaudiotiming.h"
#include "kovblas.h"
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovmsg.h"

#include <QApplication>
#include <QDebug>
#include <QDir>

#include <algorithm>

namespace {
constexpr int kMaxPeriods = 15;
}

KOVPRPD::KOVPRPD()
    : d(new KOVPRPDPrivate)
{
}

KOVPRPD::~KOVPRPD()
{
    delete d;
}

int KOVPRPD::periodCount() const
{
    return d->m_pddList.size();
}

void KOVPRPD::initParameters()
{
    m_frameCnt = 0;
    m_startIndex = 0;
    m_endIndex = 0;
    m_audioTime = 0.0f;
    m_flag = false;
    m_hasWav = false;
    if (d->m_pddCap)
        d->m_pddCap->releaseCache();
    d->m_pddList.clear();
}

void KOVPRPD::setPDDPath(QString folder, int reportType, bool announce)
{
    initParameters();
    m_reportType = reportType;
    m_announce = announce;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return;
    const QStringList files
        = dir.entryList(QStringList() << QStringLiteral("*.wav"), QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty()) {
        qDebug() << "There's no Audio Recording";
        return;
    }
    initAudioData(folder + files.first());
}

void KOVPRPD::initAudioData(QString path)
{
    d->m_pddList.clear();
    d->m_channel0.clear();
    d->m_channel0.squeeze();
    KOVReadAudio& loader = *d->m_readAudio;
    if (!loader.initAudioData(path)) {
        qDebug() << "PDD图谱：音频初始化失败";
        if (loader.tooLong()) {
            const int minutes = KOVReadAudio::kMaxFrames * 1024LL / 96000 / 60;
            KOVMessageBox::ask(QApplication::activeWindow(), QMessageBox::Warning,
                               QCoreApplication::translate("KOVPRPD", "警告"),
                               QCoreApplication::translate("KOVPRPD", "音频超过 %1 分钟，无法显示波形和图谱：")
                                       .arg(minutes)
                                   + QStringLiteral("\r\n") + QDir::toNativeSeparators(path),
                               { QCoreApplication::translate("KOVPRPD", "是") });
        }
        return;
    }
    m_hasWav = true;
    m_frameCnt = loader.getFrameCnt();
    m_audioTime = float(m_frameCnt) * 1024 / 96000;
    m_pddLen = KOVInformation::Instance()->getPDDLen();
    showPrpdLenLb();

    // Channel 0 with the file's stride, whatever the channel count.
    const int stride = std::max(loader.getAudioChannels(), 1);
    const int n = m_frameCnt * 1024;
    const short* in = loader.getAudioData();
    d->m_channel0.resize(n);
    short* out = d->m_channel0.data();
    for (int i = 0; i < n; ++i)
        out[i] = in[qptrdiff(i) * stride];
    // The file's copy is not needed any more.
    d->m_readAudio.reset(new KOVReadAudio);
    if (m_announce)
        emit KOVMsg::Instance()->sigAudioData(d->m_channel0.data(), m_frameCnt);
}

const short* KOVPRPD::audioData() const
{
    return m_hasWav ? d->m_channel0.constData() : nullptr;
}

void KOVPRPD::showPrpdLenLb()
{
    const QString text = m_pddLen == 240 ? QStringLiteral("20ms/50Hz") : QStringLiteral("16.7ms/60Hz");
    if (m_reportType != 0 && m_announce)
        emit KOVMsg::Instance()->sigFrameRate(text);
}

void KOVPRPD::clearPDD()
{
    m_flag = false;
    m_hasWav = false;
    m_pddLen = 240;
    // The closed item's samples: a minute of audio is 11 MB.
    d->m_channel0 = QVector<short>();
    d->m_feed = QVector<float>();
}

void KOVPRPD::replayVideo()
{
    if (m_reportType == 0)
        return;
    if (d->m_pddCap)
        d->m_pddCap->releaseCache();
    m_startIndex = 0;
    m_endIndex = 0;
}

void KOVPRPD::showPDD(float seconds)
{
    if (!m_hasWav || m_reportType == 0)
        return;
    // No audio frames: nothing to feed.
    if (m_frameCnt <= 0)
        return;
    m_flag = true;
    const int end = KOVAudioTiming::sampleAt(seconds);
    if (end >= m_frameCnt * 1024) {
        qDebug() << "当前视频时间 =" << seconds << "s   音频位置：" << end << "超出音频长度" << m_frameCnt;
        return;
    }
    m_endIndex = end;
    const KOVAudioTiming::Feed f = KOVAudioTiming::feed(m_startIndex, end);
    if (f.reset) {
        if (d->m_pddCap)
            d->m_pddCap->releaseCache();
        d->m_pddList.clear();
    }
    const int n = f.to - f.from;
    d->m_feed.resize(n);
    const short* in = d->m_channel0.constData() + f.from;
    float* x = d->m_feed.data();
    for (int i = 0; i < n; ++i)
        x[i] = float(in[i]) * (1.0f / 32767);
    // The capture takes at most 96000 samples a call.
    for (int at = 0; at < n; at += 96000)
        d->capture().FeedAudio(x + at, std::min(96000, n - at));

    const int bins = KOVPddPattern::usableBins(m_pddLen);
    for (;;) {
        PddBuffer period;
        KOVPddPulseCapture::PddType type = KOVPddPulseCapture::PddTypeNone;
        if (!d->capture().getPdd(period.Data, type))
            break;
        period.pddType = type;
        period.max = KOVBlas::findMax(period.Data, bins);
        d->m_pddList.append(period);
        if (d->m_pddList.size() > kMaxPeriods)
            d->m_pddList.removeFirst();
        checkPrpdType();
        paintImg();
    }
    m_startIndex = m_endIndex;
}

void KOVPRPD::checkPrpdType()
{
    m_typeStr = QCoreApplication::translate("QObject", KOVPddPattern::classText(d->m_pddList));
}

void KOVPRPD::paintImg()
{
    if (!m_flag || d->m_pddList.isEmpty())
        return;
    m_pic = QPixmap::fromImage(KOVPddPattern::picture(d->m_pddList, m_pddLen, m_typeStr));
    emit KOVMsg::Instance()->sigPRPDImg(m_pic, m_typeStr);
}
