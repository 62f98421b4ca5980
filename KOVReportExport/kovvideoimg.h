#ifndef KOVVIDEOIMG_H
#define KOVVIDEOIMG_H

#include "kovdatastruct.h"

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QTimer;

// The item review page: one imported item (a picture, or a video shown frame
// by frame), its per-frame measurements, the OCR reading of its maximum sound
// pressure, its label and, in report mode, the test-point record it keeps in
// step with its fields.
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

signals:
    void sigPointInfoChanged(KOVTestPointInfo_t info);
    void sigMarkedImgList(QList<QImage> imgList);
    void sigSwitchItem(int next);

public slots:
    void slotUpdateItemList();

private:
    QStringList m_itemList;
    QStringList m_itemPathList;
    int m_preSelected = -1;
    QString m_savePre;
    KOVTestPointInfo_t m_pointInfo;
    bool m_isReportPage = true;
    int m_reportType = -1;
};

#endif // KOVVIDEOIMG_H
