#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovclipnames.h"
#include "kovclipwriter.h"
#include "kovframeconvert.h"
#include "kovframeview.h"
#include "kovinformation.h"
#include "koviteminfo.h"
#include "kovitemfolder.h"
#include "kovmsg.h"
#include "kovocrcontext.h"
#include "kovprpd.h"
#include "kovscreenshot.h"
#include "kovwaveform.h"

#include <QButtonGroup>
#include <QIcon>
#include <QRegExpValidator>
#include <QTimer>


namespace {
const char* const kNullImage = ":/style/ico/null.png";
}

KOVVideoImg::KOVVideoImg(QWidget* parent)
    // The flag with the widget, not after its form: set on a built page it
    // re-creates the whole tree of some 185 widgets.
    : QWidget(parent, Qt::FramelessWindowHint)
    , ui(new Ui_KOVVideoImg)
{
    returnLargeBlocks();
    ui->setupUi(this);
    initTableWidget();

    ui->delScreen_1->hide();
    m_frameView = new KOVFrameView(ui->fileImgLb);
    showNullImage();
    ui->oldFileVersion->hide();

    connect(ui->graphWaveform->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVVideoImg::slotXAxisRange_wavform);
    connect(ui->graphWaveform->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
        &KOVVideoImg::slotYAxisRange_wavform);
    connect(ui->graphWaveform, &QCustomPlot::mouseRelease, this, &KOVVideoImg::slotWaveformReleaseEvent);

    distImg_video(true);

    // Direct: the audio and slice signals carry pointers that are valid only
    // during the emission; the slots copy what they keep.
    KOVMsg* hub = KOVMsg::Instance();
    m_prpd = new KOVPRPD;
    connect(hub, &KOVMsg::sigPRPDImg, this, &KOVVideoImg::slotPRPDPixmap, Qt::DirectConnection);
    connect(hub, &KOVMsg::sigFrameRate, this, &KOVVideoImg::slotPRPDFrameRate, Qt::DirectConnection);
    m_wavfrom = new KOVWaveForm;
    connect(hub, &KOVMsg::sigAudioData, this, &KOVVideoImg::slotAudioData, Qt::DirectConnection);
    connect(hub, &KOVMsg::sigClipWaveInfo, this, &KOVVideoImg::slotPaintWaveGraph, Qt::DirectConnection);

    m_timer = new QTimer(this);
    m_timer->setInterval(40);
    connect(m_timer, &QTimer::timeout, this, &KOVVideoImg::slotTimeOut);
    m_screenShot = new KOVScreenshot(nullptr);
    m_screenshotTimer = new QTimer(this);
    m_screenshotTimer->setInterval(40);
    connect(m_screenshotTimer, &QTimer::timeout, this, &KOVVideoImg::slotScreentshotTimer);

    m_btnGroupTag = new QButtonGroup(this);
    const QList<QPushButton*> tagBtns = { ui->tagBtn_1, ui->tagBtn_2, ui->tagBtn_3, ui->tagBtn_4, ui->tagBtn_5,
        ui->tagBtn_6 };
    for (int i = 0; i < tagBtns.size(); ++i)
        m_btnGroupTag->addButton(tagBtns[i], i);
    m_btnGroupLock = new QButtonGroup(this);
    m_btnGroupUnlock = new QButtonGroup(this);
    const QList<QPushButton*> lockBtns = { ui->lockBtn_1, ui->lockBtn_2, ui->lockBtn_3, ui->lockBtn_4 };
    const QList<QPushButton*> unlockBtns = { ui->lockDelBtn_1, ui->lockDelBtn_2, ui->lockDelBtn_3,
        ui->lockDelBtn_4 };
    for (int i = 0; i < 4; ++i) {
        m_btnGroupLock->addButton(lockBtns[i], i);
        m_btnGroupUnlock->addButton(unlockBtns[i], i);
        unlockBtns[i]->hide();
    }
    connect(m_btnGroupTag, &QButtonGroup::idClicked, this, &KOVVideoImg::slotBtnGroupTagClicked);
    connect(m_btnGroupLock, &QButtonGroup::idClicked, this,
        &KOVVideoImg::slotBtnGroupLockClicked);
    connect(m_btnGroupUnlock, &QButtonGroup::idClicked, this,
        &KOVVideoImg::slotBtnGroupUnlockClicked);

    m_itemInfo = new KOVItemInfo;

    // No engine is started here: the shared pool lends one at the first
    // recognition, so building a hundred test-point pages stays cheap.
    m_ocr = KOVOcrContext::create(
        this, [this](quint64 generation, const QString& text) { slotOcrResult(generation, text); });

    connect(hub, &KOVMsg::sigItemListChanged, this, &KOVVideoImg::slotUpdateItemList);
    connect(hub, &KOVMsg::sigScreenDpiChanged, this, &KOVVideoImg::slotScreenDPIChanged);

    refreshDPI();
    // Until first shown. A tab widget switching pages turns updates off and
    // on again for every page it holds, down to each widget, unless a page
    // has them off itself: with a hundred pages that walk cost more than
    // building a page.
    setUpdatesEnabled(false);
}

KOVVideoImg::~KOVVideoImg()
{
    m_timer->stop();
    m_capture.release();
    delete m_screenShot;
    // Waits for a running recognition; results still queued for this page
    // are dropped with it.
    m_ocr->shutdown();
    delete m_itemInfo;
    delete m_wavfrom;
    delete m_prpd;
    delete ui;
}

void KOVVideoImg::initTableWidget()
{
    const QList<QPushButton*> tagBtns = { ui->tagBtn_1, ui->tagBtn_2, ui->tagBtn_3, ui->tagBtn_4, ui->tagBtn_5,
        ui->tagBtn_6 };
    for (QPushButton* b : tagBtns)
        b->setIcon(QIcon(QStringLiteral(":/style/ico/VideoWin/tag.png")));
    ui->tagBtn_1->hide();
    ui->PB_play->setStyleSheet(QStringLiteral("border-image: url(:/style/ico/pause.png)"));
    ui->lockBtn->setIcon(QIcon(QStringLiteral(":/style/ico/VideoWin/lockBtn.png")));
    ui->screenShotPB->setIcon(QIcon(QStringLiteral(":/style/ico/VideoWin/cut.png")));
    ui->delScreen_1->setIcon(QIcon(QStringLiteral(":/style/ico/VideoWin/cutDel.png")));
    const QList<QPushButton*> lockBtns = { ui->lockBtn_1, ui->lockBtn_2, ui->lockBtn_3, ui->lockBtn_4 };
    for (QPushButton* b : lockBtns)
        b->setIcon(QIcon(QStringLiteral(":/style/ico/VideoWin/lock.png")));
    ui->lockBtn_2->hide();
    ui->lockBtn_3->hide();
    ui->lockBtn_4->hide();

    ui->graphWaveform->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    ui->graphWaveform->xAxis->setLabel(tr("时间/m:s.z"));
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(QStringLiteral("mm:ss.zzz"));
    // Sample times are seconds from the start of the item, not wall time.
    ticker->setDateTimeSpec(Qt::UTC);
    ui->graphWaveform->xAxis->setTicker(ticker);

    showItemLabelInfo(false);
    ui->infoJudgement->setPlaceholderText(tr("（判断依据，不随报告导出）"));
    ui->info_moneyUnit->setCurrentIndex(0);

    const QRegExp number(QStringLiteral("[0-9]*\\.?[0-9]+"));
    for (QLineEdit* e : { ui->info_value, ui->info_energyCost, ui->info_specificPower, ui->info_leakValue })
        e->setValidator(new QRegExpValidator(number, e));
    ui->info_time->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[0-9]*")), ui->info_time));
}

void KOVVideoImg::isReportWin(bool report, int type)
{
    ui->groupBox_resultInfo->setVisible(report);
    ui->groupBox_functionBtn->setVisible(report);
    ui->groupBox_lockInfo->setVisible(report);
    m_isReportPage = report;
    m_reportType = type;
    if (report && type != 1)
        ui->groupBox_PRPD->hide();
    m_pointInfo.leakageData = (type == 0);
    ui->groupBox_lossEstimation->setVisible(type == 0);
}

void KOVVideoImg::distImg_video(bool isPhoto)
{
    ui->horizontalSlider->setVisible(!isPhoto);
    ui->groupBox_time->setVisible(!isPhoto);
    ui->groupBox_playVideo->setVisible(!isPhoto);
    ui->groupBox_lockInfo->setVisible(m_isReportPage && !isPhoto);
    ui->groupBox_functionBtn->setVisible(m_isReportPage && !isPhoto);
    setButtonEnabled(0, false);
    setButtonEnabled(1, !isPhoto);
    setButtonEnabled(2, !isPhoto);
}

void KOVVideoImg::refreshDPI()
{
    const double rate = KOVInformation::Instance()->getScreenDPI() / 96.0;
    const double relative = rate / m_preDpiRate;
    m_preDpiRate = rate;
    KOVInformation::Instance()->changeObjectSize(*this, relative);
    resize(int(width() * relative), int(height() * relative));
}

void KOVVideoImg::slotUpdateItemList()
{
    m_itemList = KOVInformation::Instance()->getFileNameList();
    m_itemPathList = KOVInformation::Instance()->getFilePathList();
}

void KOVVideoImg::synchronousSelectIndexAfterDel(int index)
{
    m_preSelected = index;
}

void KOVVideoImg::saveNamePre(QString pre)
{
    // "R" + the report's number + "_"; the number is the user's text and
    // must not lead the file names out of the working folder.
    m_savePre = KOVClipNames::savePrefix(pre);
}

void KOVVideoImg::showItem(int index, QString dirPath)
{
    // The lists are the state object's as of the last item-list change; a
    // row beyond them (a stale click after a deletion) shows nothing.
    if (index < 0 || index >= m_itemList.size() || index >= m_itemPathList.size())
        return;
    if (!m_isReportPage) {
        closeFile(true);
        delPreItemImg();
    }
    m_preSelected = index;
    const QString path = m_itemPathList[index];
    const QString name = m_itemList[index];
    ui->itemNameLB->setText(tr("数据源：") + name);
    m_itemDir = dirPath;
    KOVInformation::Instance()->setItemPath(dirPath);
    m_pointInfo.name = name;
    // The import's own rule: case-sensitive, as the imager writes ".jpg";
    // anything else is handed to the video decoder, which also reads stills.
    if (KOVItemFolder::isPictureName(name))
        showImg(path, dirPath);
    else
        showVideoImg(path, dirPath);
    showItemLabelInfo(true);
    emitPointInfo();
}

void KOVVideoImg::showLeakPressure(QString dirPath)
{
    m_itemInfo->readItemInfo(dirPath + QStringLiteral("/info.dat"));
    const float pressure = KOVInformation::Instance()->getLeakPressure();
    m_lossEstimation.pressure = pressure;
    ui->info_pressure->setText(QString::number(double(pressure), 'g', 6));
}

void KOVVideoImg::showScaled(const QImage& image)
{
    // The label's size, not its contents rectangle: a frame of the label's
    // size is shown without its outermost pixels, as it always was. At that
    // size (a 96 dpi screen) scaled() returns the image itself.
    m_frameView->setImage(image.scaled(ui->fileImgLb->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void KOVVideoImg::showNullImage()
{
    // In the format a pixmap of it would have, so it looks as it did.
    static const QImage sign
        = QImage(QString::fromLatin1(kNullImage)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_frameView->setImage(sign);
}

void KOVVideoImg::showImg(QString path, QString dirPath)
{
    m_pointInfo.type = ItemType::photo;
    m_pointInfo.photoImgPath = path;
    m_pointInfo.marked = true;
    distImg_video(true);
    showLeakPressure(dirPath);

    m_pictureDropped = false;
    m_hiddenPicture.clear();
    const QImage image = readPicture(path);
    if (!image.isNull())
        showScaled(image);
    // The reading's region is cut from the picture already decoded: a second
    // decode cost as much as building the rest of the page. Palette pictures
    // become colours first, as a decoder into colours would give them.
    const QImage pixels = image.format() == QImage::Format_Indexed8 ? image.convertToFormat(QImage::Format_RGB32) : image;
    cv::Mat mat = KOVFrameConvert::toMat(pixels, false, true);
    if (mat.empty() && !pixels.isNull())
        mat = KOVFrameConvert::toMat(pixels.convertToFormat(QImage::Format_RGB32), true, true);
    showSoundPressure_OCR(mat);

    showItemInfo(1);
    updateTagFile(dirPath);
    // One entry for a picture, however often it is shown.
    m_pointInfo.imgInfoList.clear();
    updatePointInfo_itemInfo();
    updatePointInfo_leakageInfo();
    if (!isVisible())
        releaseHidden();
}

void KOVVideoImg::closeFile(bool isPhoto)
{
    if (m_isPlaying)
        stopPlayback();
    // First: the label panel is reset below, and with a folder left behind a
    // type switch would read the closed item's label again.
    m_itemDir.clear();
    ui->oldFileVersion->hide();
    m_capture.release();
    m_videoImgCnt = 0;
    m_videoImgIndex = 0;
    // A reading still on its way belongs to the item being closed.
    retireOcr();
    clearAudioInfo();
    distImg_video(isPhoto);
    clearItmInfo();
    m_tagFileList = QStringList { QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
        QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("06") };
    updatePBText();
    m_tagNameList.clear();
    showNullImage();
    m_img = QImage();
    m_hiddenFrame.clear();
    m_pictureDropped = false;
    m_hiddenPicture.clear();
    ui->itemNameLB->clear();
    if (!m_markList.isEmpty()) {
        m_markList.clear();
        m_markedImgList.clear();
        m_prpdTypeList.clear();
        m_pddImg.clear();
        m_pointInfo.imgInfoList.clear();
        updateLockLB();
    }
}

void KOVVideoImg::showError(QString dirPath)
{
    showNullImage();
    m_pointInfo.type = ItemType::null;
    distImg_video(true);
    updateTagFile(dirPath);
}

void KOVVideoImg::updatePBText()
{
    const QList<QPushButton*> tagBtns = { ui->tagBtn_1, ui->tagBtn_2, ui->tagBtn_3, ui->tagBtn_4, ui->tagBtn_5,
        ui->tagBtn_6 };
    for (int i = 0; i < m_tagFileList.size() && i < tagBtns.size(); ++i)
        tagBtns[i]->setText(m_tagFileList[i]);
}

void KOVVideoImg::updateLanguage()
{
}

void KOVVideoImg::emitPointInfo()
{
    emit sigPointInfoChanged(m_pointInfo);
}

void KOVVideoImg::hideEvent(QHideEvent* event)
{
    if (m_isPlaying)
        on_PB_play_clicked();
    releaseHidden();
    setUpdatesEnabled(false);
    QWidget::hideEvent(event);
}

void KOVVideoImg::slotScreenDPIChanged(double dpiRate)
{
    const QSize s16(int(16 * dpiRate), int(16 * dpiRate));
    ui->screenShotPB->setIconSize(s16);
    for (QPushButton* b : { ui->tagBtn_2, ui->tagBtn_3, ui->tagBtn_4, ui->tagBtn_5, ui->tagBtn_6, ui->lockBtn_1,
             ui->lockBtn_2, ui->lockBtn_3, ui->lockBtn_4, ui->lockDelBtn_1, ui->lockDelBtn_2, ui->lockDelBtn_3,
             ui->lockDelBtn_4 })
        b->setIconSize(s16);
    ui->delScreen_1->setIconSize(QSize(int(25 * dpiRate), int(25 * dpiRate)));
    const QFont font(QStringLiteral("微软雅黑"), 10);
    for (QWidget* w : std::initializer_list<QWidget*> { ui->infoAdvice, ui->infoPrpdType, ui->infoAirType,
             ui->infoAirPressure, ui->infoFaultSite_gas, ui->infoVoltage, ui->infoFaultSite_elec, ui->infoDistance })
        w->setFont(font);
    if (!m_img.isNull())
        showScaled(m_img);
    if (!m_prpdImg.isNull())
        ui->imgPRPD->setPixmap(m_prpdImg.scaled(int(532 * dpiRate), int(221 * dpiRate), Qt::IgnoreAspectRatio,
            Qt::FastTransformation));
    repaint();
}
