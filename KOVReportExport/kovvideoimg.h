#ifndef KOVVIDEOIMG_H
#define KOVVIDEOIMG_H

#include "kovdatastruct.h"
#include "kovlockcheck.h"
#include "kovvideosource.h"
#include "leaklossestimation.h"

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

#include <opencv2/core.hpp>

class QButtonGroup;
class QDialog;
class QCPRange;
class QMouseEvent;
class QTimer;
class KOVFrameView;
class KOVItemInfo;
class KOVOcrContext;
class KOVPRPD;
class KOVScreenshot;
class KOVWaveForm;
class KOVClipWriter;
class Ui_KOVVideoImg;

// The item review page: one imported item (a picture, or a video shown frame
// by frame at 40 ms per frame), its per-frame measurements, the OCR reading of
// its maximum sound pressure, its label and, in report mode, the test-point
// record it keeps in step with its fields.
//
// The page orchestrates; the rules live in plain classes: KOVVideoSource
// (frame reading and our own frame count), KOVVideoTime (time labels),
// KOVFrameInfoText (measurement texts), KOVLabelRules (label panel),
// KOVMarkLookup (locked-frame lists), KOVOcrContext (recognition off the
// interface thread); KOVFrameView draws the picture or frame on show.
// Implementation by concern: kovvideoimg.cpp (construction, modes, showing
// and closing an item), kovvideoimg_playback.cpp,
// kovvideoimg_info.cpp, kovvideoimg_label.cpp, kovvideoimg_ocr.cpp,
// kovvideoimg_audio.cpp, kovvideoimg_lock.cpp, kovvideoimg_analysis.cpp,
// kovvideoimg_clip.cpp, kovvideoimg_tag.cpp, kovvideoimg_leak.cpp (leak loss),
// kovvideoimg_state.cpp (recovery-cache state), kovvideoimg_lazy.cpp (what a
// hidden page lets go).
class KOVVideoImg : public QWidget
{
    Q_OBJECT
public:
    explicit KOVVideoImg(QWidget* parent = nullptr);
    ~KOVVideoImg() override;

    void isReportWin(bool report, int type);
    void saveNamePre(QString pre);
    void showItem(int index, QString dirPath);
    void closeFile(bool isPhoto);
    void synchronousSelectIndexAfterDel(int index);
    void saveData(QJsonObject& root);
    void restoreData(QJsonObject& root);
    void updatePBText();
    void updateLanguage();
    bool ifMarked() const;

    // Read-only views for the owner windows, tests and measurements.
    bool decoderOpen() const { return m_capture.isOpened(); }
    bool audioPending() const { return !m_audioDir.isEmpty(); }
    int currentFrameIndex() const { return m_videoImgIndex; }
    int frameCount() const { return m_videoImgCnt; }
    bool isPlaying() const { return m_isPlaying; }
    int shownItem() const { return m_preSelected; }
    const KOVTestPointInfo_t& pointInfo() const { return m_pointInfo; }
    // While the page is hidden the frame's pixels are let go; this reads the
    // same frame from the video again.
    QImage shownFrame() const;
    // Whether the hidden page let its picture or frame go.
    bool imageDropped() const { return m_pictureDropped || !m_hiddenFrame.isEmpty(); }
    const KOVOcrContext* ocrContext() const { return m_ocr.get(); }
    // The page's audio buffer (with its waveform window) and pattern view.
    KOVWaveForm* waveForm() const { return m_wavfrom; }
    KOVPRPD* patternView() const { return m_prpd; }
    KOVLockState lockState() const
    {
        return { m_markList, m_markedImgList, m_pddImg, m_prpdTypeList, m_pointInfo };
    }
    QDialog* openTagDialog() const { return m_openTag; }
    KOVScreenshot* clipPlayer() const { return m_screenShot; }

    // Seam for the save question: returns true for "save". The default asks
    // with a message box; tests answer without a person.
    using Question = std::function<bool(const QString& title, const QString& text)>;
    void setQuestion(Question question) { m_question = std::move(question); }

signals:
    void sigPointInfoChanged(KOVTestPointInfo_t info);
    void sigMarkedImgList(QList<QImage> imgList);
    void sigSwitchItem(int next);

public slots:
    void slotUpdateItemList();
    void slotPRPDPixmap(QPixmap pixmap, QString prpdType);
    void slotPRPDFrameRate(QString framerate);
    void slotAudioData(short* data, int dataNum);
    void slotPaintWaveGraph(int startIndex, int len, float* data, double max);
    void slotScreenDPIChanged(double dpiRate);
    void slotHasWavform();

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    // Playback (kovvideoimg_playback.cpp)
    void on_PB_play_clicked();
    void on_PB_lastFrame_clicked();
    void on_PB_nextFrame_clicked();
    void on_horizontalSlider_valueChanged(int value);
    void slotTimeOut();

    // Waveform plot (kovvideoimg_audio.cpp)
    void slotXAxisRange_wavform(const QCPRange& range);
    void slotYAxisRange_wavform(const QCPRange& range);
    void slotWaveformReleaseEvent(QMouseEvent* event);

    // OCR result, posted by the worker (kovvideoimg_ocr.cpp)
    void slotOcrResult(quint64 generation, const QString& text);

    // Frame and test-point fields (kovvideoimg_info.cpp)
    void on_infoMaxSPL_editingFinished();
    void on_infoMaxSPL_textChanged(const QString& text);
    void on_infoAdvice_editingFinished();
    void on_infoJudgement_textChanged();
    void on_infoFaultLevel_elec_currentIndexChanged(const QString& text);
    void on_infoFaultLevel_gas_currentIndexChanged(const QString& text);
    void on_infoPrpdType_editingFinished();
    void on_infoPrpdType_textChanged(const QString& text);
    void on_radioButton_toggled(bool checked);

    // Label fields (kovvideoimg_label.cpp)
    void on_infoAirPressure_editingFinished();
    void on_infoAirType_editingFinished();
    void on_infoFaultSite_gas_editingFinished();
    void on_infoAirPressure_textChanged(const QString& text);
    void on_infoAirType_textChanged(const QString& text);
    void on_infoFaultSite_gas_textChanged(const QString& text);
    void on_infoVoltage_editingFinished();
    void on_infoFaultSite_elec_editingFinished();
    void on_infoDistance_editingFinished();
    void on_infoFaultSite_elec_textChanged(const QString& text);
    void on_infoVoltage_textChanged(const QString& text);
    void on_infoDistance_textChanged(const QString& text);
    void on_itemInfoTypeCB_currentIndexChanged(int index);
    void on_saveItemInfo_clicked();
    void on_infoAirPressureUnit_currentIndexChanged(const QString& unit);
    void on_infoVoltageUnitCB_currentIndexChanged(const QString& unit);

    // Locked frame, clips, tags, leak loss: filled by their own work
    // (kovvideoimg_lock.cpp)
    void on_lockBtn_clicked();
    void on_screenShotPB_clicked();
    void on_delScreen_1_clicked();
    void slotScreentshotTimer();
    void slotBtnGroupTagClicked(int id);
    void slotBtnGroupLockClicked(int id);
    void slotBtnGroupUnlockClicked(int id);
    void on_info_moneyUnit_currentIndexChanged(int index);
    void on_info_specificPower_editingFinished();
    void on_info_energyCost_editingFinished();
    void on_info_value_editingFinished();
    void on_info_time_editingFinished();
    void on_info_leakValue_editingFinished();

private:
    // kovvideoimg.cpp
    void initTableWidget();
    void distImg_video(bool isPhoto);
    void refreshDPI();
    void showImg(QString path, QString dirPath);
    void showLeakPressure(QString dirPath);
    void showScaled(const QImage& image);
    void showNullImage();
    void clearAudioInfo();
    void showError(QString dirPath);
    void emitPointInfo();

    // kovvideoimg_playback.cpp
    void showVideoImg(QString path, QString dirPath);
    bool updateImg();
    bool showFrameAt(int index);
    void stopPlayback();
    void updateSlider(int index);
    void checkIndex();
    void showVideoTime(int frames, bool total);
    void setButtonEnabled(int which, bool enabled);

    // kovvideoimg_analysis.cpp
    void updateAudioRecording(QString dirPath);
    void followFrame(int index);

    // kovvideoimg_lazy.cpp
    void loadAudio(const QString& dirPath, bool announce);
    void deferAudio(const QString& dirPath);
    void releaseHidden();
    bool loadShown();
    void dropAudio();
    void restoreImage();
    // Decodes a picture file, keeping a small one's bytes for a hidden page.
    QImage readPicture(const QString& path);
    static void returnLargeBlocks();

    // kovvideoimg_ocr.cpp
    void showSoundPressure_OCR(const cv::Mat& image);
    void retireOcr();

    // kovvideoimg_info.cpp
    void showItemInfo(int seq);
    void showDefaultInfo();
    void clearItmInfo();
    void updatePointInfo_itemInfo();
    void updatePointInfo_leakageInfo();
    KOVImgInfo currentImgInfo() const;

    // kovvideoimg_label.cpp
    void showItemLabelInfo(bool hasLabel);
    void showItemInfo_gas();
    void showItemInfo_elec();
    void reloadOwnLabel();
    bool ask(const QString& title, const QString& text);

    // kovvideoimg_lock.cpp
    // Shows the locked frames and saves their files; false as saveLockImg.
    bool updateLockLB();
    // Writes the locked frames (and pattern pictures) and records their
    // paths; false when a frame file, or the pattern picture that goes with
    // it, could not be written (such a frame is neither kept nor recorded).
    bool saveLockImg();
    void removeMarkedImg(int pos);
    void mkdirHide();
    void delPreItemImg();
    // kovvideoimg_state.cpp
    void rewriteLostFrames(const QString& itemDir);
    QImage currentPddImage() const;

    // kovvideoimg_clip.cpp
    void saveScreenAudio();
    void startClip();
    void stopClip();
    bool cutClipAudio(const QString& path, float start, float end);

    // kovvideoimg_tag.cpp
    void updateTagFile(QString dirPath);

    void updateLeakLossEstimation_value();
    void updateLeakLossEstimation_unit();

    Ui_KOVVideoImg* ui = nullptr;
    // Draws the shown picture or frame over ui->fileImgLb.
    KOVFrameView* m_frameView = nullptr;
    KOVVideoSource m_capture;
    QTimer* m_timer = nullptr;
    QButtonGroup* m_btnGroupTag = nullptr;
    QButtonGroup* m_btnGroupLock = nullptr;
    KOVItemInfo* m_itemInfo = nullptr;
    QButtonGroup* m_btnGroupUnlock = nullptr;
    KOVPRPD* m_prpd = nullptr;
    KOVWaveForm* m_wavfrom = nullptr;
    int m_videoImgIndex = 0;
    int m_videoImgCnt = 0;
    QList<int> m_markList;
    QList<QImage> m_markedImgList;
    bool m_isPlaying = false;
    QImage m_img;
    QStringList m_tagFileList;
    QStringList m_itemList;
    QStringList m_itemPathList;
    int m_preSelected = -1;
    QString m_dirPath;
    QStringList m_tagNameList;
    KOVTestPointInfo_t m_pointInfo;
    QList<QImage> m_pddImg;
    QString m_savePre;
    KOVScreenshot* m_screenShot = nullptr;
    QTimer* m_screenshotTimer = nullptr;
    // The open clip; frames are encoded off the interface thread.
    std::unique_ptr<KOVClipWriter> m_clipWriter;
    // The last frame written into the clip, so each shown frame goes in once.
    int m_clipFrame = -1;
    bool m_screening = false;
    QStringList m_screenList;
    QStringList m_screenAudList;
    bool m_initAudio = true;
    bool m_isReportPage = true;
    float m_screenTime_start = 0.0f;
    float m_screenTime_end = 0.0f;
    double m_max_wavform = 1.0;
    int m_reportType = -1;
    double m_preDpiRate = 1.0;
    // The pattern picture on show, scaled to its label, and its class.
    QPixmap m_prpdImg;
    QString m_prpdType;
    // The same picture at the pattern view's size, from the same vote as
    // m_prpdType: what a lock saves. The pattern view's own picture may be
    // newer (rebuilt from reloaded audio after a hide) than the one on show.
    QPixmap m_prpdPicture;
    QStringList m_prpdTypeList;
    // The engine, its lock, the closing flag and the request generation:
    // shared with the recognising worker, which never touches the page.
    std::shared_ptr<KOVOcrContext> m_ocr;
    LeakLossEstimation m_lossEstimation;
    // The item folder this page shows; its label file is re-read before the
    // page reads or writes the one shared label record.
    QString m_itemDir;
    Question m_question;
    // The item folder whose audio waits for the page's first show.
    QString m_audioDir;
    // Loads and drops of the audio: a late read of the pattern state
    // belongs to the newest load only.
    quint64 m_audioLoads = 0;
    // Hidden: the frame on show as the recovery cache writes it (JPEG); its
    // pixels are read from the video again when the page is shown.
    QByteArray m_hiddenFrame;
    QString m_videoPath;
    // Hidden: the picture's scaled copy is let go, decoded again when shown.
    bool m_pictureDropped = false;
    // The picture's file as read, or when too large a JPEG of the scaled
    // copy made when hidden: shown should the file be unreadable when the
    // page comes back. Not the recovery cache's: it writes no picture for a
    // photo.
    QByteArray m_hiddenPicture;
    // The tag dialog on show (its exec() runs), for tests and shots.
    QDialog* m_openTag = nullptr;
};

#endif // KOVVIDEOIMG_H
