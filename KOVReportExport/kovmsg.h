#ifndef KOVMSG_H
#define KOVMSG_H

#include <QObject>
#include <QPixmap>
#include <QString>

// The hub through which windows that must not know each other meet. Signals
// only; every sender and receiver lives on the interface thread, so each
// emission runs its receivers before it returns and pointer arguments are
// valid for the emission only.
class KOVMsg : public QObject
{
    Q_OBJECT
public:
    static KOVMsg* Instance();
    explicit KOVMsg(QObject* parent = nullptr);
    ~KOVMsg() override;

signals:
    void sigItemListChanged();
    void sigChosedItemChanged(int pre, int now);
    void sigSetItemUnchosed(int cur);
    void sigDelItem(int seq);
    void sigReviewItemChanged(int pre, int index);
    void sigDeviceInfoChanged(QString info, int seq);
    void sigClearItemInfo();
    void sigReportWinTiltleChanged(QString title);
    void sigDelItemIndexChanged();
    void sigAudioData(short* data, int len);
    void sigPRPDImg(QPixmap pixmap, QString prpdType);
    void sigFrameRate(QString frameRate);
    void sigWavformImg(QPixmap pixmap);
    void sigClipWaveInfo(int startIndex, int len, float* data, double max);
    void sigHasWavform();
    void sigScreenDpiChanged(double dpiRate);
};

#endif // KOVMSG_H
