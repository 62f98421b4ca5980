#ifndef KOVPRPD_H
#define KOVPRPD_H

#include <QImage>
#include <QPixmap>
#include <QString>

class KOVPRPDPrivate;

// The phase-resolved partial-discharge view of one review page. It loads the
// first WAV file of the item's wav/ folder, feeds the stretch of audio up to
// the playback time to its pulse capture, keeps the patterns of the last 15
// mains periods, votes their class and draws the 530 x 220 pattern picture.
// Audio, the mains-period label and each picture go out through the hub.
// Idle on gas-leak report pages (report type 0). Not a QObject.
class KOVPRPD
{
public:
    KOVPRPD();
    ~KOVPRPD();
    KOVPRPD(const KOVPRPD&) = delete;
    KOVPRPD& operator=(const KOVPRPD&) = delete;

    // announce false: the audio and the mains-period label stay with this
    // view, for a page that takes them itself (audioData()).
    void setPDDPath(QString folder, int reportType, bool announce = true);
    void showPDD(float seconds);
    void clearPDD();
    void replayVideo();
    bool getPDDState() const { return m_flag; }
    QImage getPDDImg() const { return m_pic.toImage(); }
    // Channel 0 of the loaded audio (frameCount() x 1024 samples), as the hub
    // announced it; null without audio. For a page that was hidden then.
    const short* audioData() const;

    bool hasAudio() const { return m_hasWav; }
    int frameCount() const { return m_frameCnt; }
    int binCount() const { return m_pddLen; }
    int periodCount() const;
    QString typeText() const { return m_typeStr; }
    // Sample positions: the next sample the capture is fed, and the last
    // requested playback position.
    int fedTo() const { return m_startIndex; }
    int requestedTo() const { return m_endIndex; }

private:
    void initParameters();
    void initAudioData(QString path);
    void showPrpdLenLb();
    void checkPrpdType();
    void paintImg();

    KOVPRPDPrivate* d;
    int m_frameCnt = 0;
    int m_startIndex = 0;
    int m_endIndex = 0;
    float m_audioTime = 0.0f;
    bool m_flag = false;
    bool m_hasWav = false;
    int m_pddLen = 0;
    QPixmap m_pic;
    QString m_typeStr;
    int m_reportType = -1;
    bool m_announce = true;
};

#endif // KOVPRPD_H
