#ifndef KOVSCREENSHOT_H
#define KOVSCREENSHOT_H

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QWidget>

#include <opencv2/videoio.hpp>

class QTimer;
class Ui_KOVScreenshot;

// Plays back the clip a review page has just cut, frame by frame at 40 ms
// per frame, with a seek slider; a mouse press on the window toggles
// playback. One player per page, reused for each clip.
class KOVScreenshot : public QWidget
{
    Q_OBJECT
public:
    explicit KOVScreenshot(QWidget* parent = nullptr);
    ~KOVScreenshot() override;

    // Opens the clip unless it is the one on show and unchanged since it was
    // opened (the page rewrites the same file name for each new clip), then
    // shows the window with playback stopped.
    void showScreenshot(QString path);
    // Reads and shows the next frame; false when there is none.
    bool updateImg();

    // A copy of an 8-bit BGR, BGRA or grey frame; null for other types.
    static QImage MatToQImage(const cv::Mat& mat);

    // Read-only views for tests and measurements.
    int currentIndex() const { return m_index; }
    int frameTotal() const { return m_total; }
    bool isPlaying() const;
    QString openPath() const { return m_path; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private slots:
    void on_horizontalSlider_valueChanged(int value);
    void slotTimeOut();

private:
    Ui_KOVScreenshot* ui = nullptr;
    QTimer* m_playTimer = nullptr;
    cv::VideoCapture m_capture;
    int m_index = 0;
    int m_total = 0;
    QString m_path;
    // Modification time and size of m_path when it was opened.
    QDateTime m_modified;
    qint64 m_size = -1;
};

#endif // KOVSCREENSHOT_H
