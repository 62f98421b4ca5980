#include "kovreportwin.h"
#include "ui_kovreportwin.h"

#include "kovinformation.h"
#include "kovmsg.h"
#include "kovvideoimg.h"

#include <QIcon>
#include <QLocale>
#include <QTabBar>
#include <QToolButton>

KOVReportWin::KOVReportWin(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::KOVReportWin)
{
    ui->setupUi(this);
    refreshDPI();
    KOVInformation::Instance()->clearChosedItemList();
    initTableWidget();
    slotUpdateItemCnt();

    KOVMsg* hub = KOVMsg::Instance();
    connect(hub, SIGNAL(sigItemListChanged()), this, SLOT(slotUpdateItemCnt()));
    connect(hub, SIGNAL(sigDelItemIndexChanged()), this, SLOT(slotUpdateIndex()));
    connect(hub, &KOVMsg::sigScreenDpiChanged, this, &KOVReportWin::slotScreenDPIChanged);
    connect(ui->reviewTabWidget, SIGNAL(tabCloseRequested(int)), this, SLOT(slotRemoveTestPoint(int)));
    connect(ui->reviewTabWidget->tabBar(), &QTabBar::tabMoved, this, &KOVReportWin::slotTabMoved);
    // The tabs have a fixed width: an item's name longer than that loses its
    // middle, not both its ends.
    ui->reviewTabWidget->setElideMode(Qt::ElideMiddle);
}

KOVReportWin::~KOVReportWin()
{
    // The test-point pages go with the tab widget; none may send a record
    // into lists that are being torn down.
    for (KOVVideoImg* page : qAsConst(m_testPointList))
        disconnect(page, nullptr, this, nullptr);
    delete ui;
}

void KOVReportWin::initTableWidget()
{
    KOVInformation* info = KOVInformation::Instance();
    ui->infoCompany->setText(info->getCompany());
    ui->infoTester->setText(info->getTester());
    ui->infoSite->setText(info->getSite());
    ui->infoDateTime->setText(info->getDateTime());
    ui->infoReportSN->setText(info->getReportSN());
    ui->infoModel->setText(info->getModel());
    ui->infoSN->setText(info->getDeviceSN());
    ui->infoVersion->setText(info->getVersion());

    ui->hideInfoBtn->setIcon(QIcon(QStringLiteral(":/style/ico/reportWin/up.png")));
    ui->choseDatePB->setIcon(QIcon(QStringLiteral(":/style/ico/reportWin/date.png")));
    if (auto* prev = ui->calendarWidget->findChild<QToolButton*>(QStringLiteral("qt_calendar_prevmonth")))
        prev->setIcon(QIcon(QStringLiteral(":/style/ico/lastFrame_video.png")));
    if (auto* next = ui->calendarWidget->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth")))
        next->setIcon(QIcon(QStringLiteral(":/style/ico/nextFrame_video.png")));
    ui->calendarWidget->setLocale(info->runLanguageId() == 0 ? QLocale(QLocale::Chinese, QLocale::China)
                                                             : QLocale(QLocale::English));
    ui->calendarWidget->setSelectedDate(QDate::currentDate());
    ui->calendarWidget->hide();
}

void KOVReportWin::refreshDPI()
{
    KOVInformation* info = KOVInformation::Instance();
    const double rate = info->getScreenDPI() / 96.0;
    const double factor = rate / m_preDpiRate;
    m_preDpiRate = rate;
    info->changeObjectSize(*this, factor);
    resize(int(width() * factor), int(height() * factor));
    setTabStyle(rate);
}

void KOVReportWin::setTabStyle(double rate)
{
    ui->reviewTabWidget->setStyleSheet(QStringLiteral("QTabBar::tab {width: ") + QString::number(200 * rate, 'g', 6)
                                       + QStringLiteral("; height: ") + QString::number(25 * rate, 'g', 6)
                                       + QStringLiteral(";} background-color: rgb(255, 255, 255); ")
                                       + QStringLiteral("QTabWidget::pane { border: -1px; top:-2px; left: 1px; }"));
}

void KOVReportWin::slotScreenDPIChanged(double dpiRate)
{
    // The main window rescales every widget itself; only what a rescale
    // cannot reach changes here.
    setTabStyle(dpiRate);
    const QFont font(QStringLiteral("微软雅黑"), 10);
    for (QLineEdit* e : {ui->infoName, ui->infoCompany, ui->infoTester, ui->infoSite, ui->infoDateTime,
                         ui->infoReportSN, ui->infoModel, ui->infoSN, ui->infoVersion})
        e->setFont(font);
    repaint();
}

void KOVReportWin::setReportWinTitle(QString title, int n)
{
    setWindowTitle(title);
    m_reportInfo.name = title;
    m_winDefaultNum = n;
}

void KOVReportWin::setReportType(int type)
{
    m_reportInfo.type = type;
}

KOVReportInfo KOVReportWin::getReportData() const
{
    return m_reportInfo;
}

void KOVReportWin::updateLanguage()
{
}

void KOVReportWin::slotUpdateItemCnt()
{
    m_itemCnt = KOVInformation::Instance()->getFileNameList().size();
    m_itemPaths = KOVInformation::Instance()->getFilePathList();
}

void KOVReportWin::on_infoName_textChanged(const QString& text)
{
    m_reportInfo.name = text;
    setWindowTitle(text);
    emit KOVMsg::Instance()->sigReportWinTiltleChanged(text);
}

void KOVReportWin::on_infoCompany_textChanged(const QString& text) { m_reportInfo.company = text; }
void KOVReportWin::on_infoTester_textChanged(const QString& text) { m_reportInfo.tester = text; }
void KOVReportWin::on_infoSite_textChanged(const QString& text) { m_reportInfo.site = text; }
void KOVReportWin::on_infoDateTime_textChanged(const QString& text) { m_reportInfo.datetime = text; }
void KOVReportWin::on_infoReportSN_textChanged(const QString& text) { m_reportInfo.reportSN = text; }
void KOVReportWin::on_infoModel_textChanged(const QString& text) { m_reportInfo.deviceModel = text; }
void KOVReportWin::on_infoSN_textChanged(const QString& text) { m_reportInfo.deviceSN = text; }
void KOVReportWin::on_infoVersion_textChanged(const QString& text) { m_reportInfo.deviceVersion = text; }

void KOVReportWin::on_infoName_editingFinished() { ui->infoName->clearFocus(); }
void KOVReportWin::on_infoCompany_editingFinished() { ui->infoCompany->clearFocus(); }
void KOVReportWin::on_infoTester_editingFinished() { ui->infoTester->clearFocus(); }
void KOVReportWin::on_infoSite_editingFinished() { ui->infoSite->clearFocus(); }
void KOVReportWin::on_infoDateTime_editingFinished() { ui->infoDateTime->clearFocus(); }
void KOVReportWin::on_infoReportSN_editingFinished() { ui->infoReportSN->clearFocus(); }
void KOVReportWin::on_infoModel_editingFinished() { ui->infoModel->clearFocus(); }
void KOVReportWin::on_infoSN_editingFinished() { ui->infoSN->clearFocus(); }
void KOVReportWin::on_infoVersion_editingFinished() { ui->infoVersion->clearFocus(); }

void KOVReportWin::on_choseDatePB_clicked()
{
    ui->calendarWidget->setVisible(ui->calendarWidget->isHidden());
    if (ui->calendarWidget->isVisible())
        ui->calendarWidget->raise();
}

void KOVReportWin::on_calendarWidget_clicked(const QDate& date)
{
    ui->infoDateTime->setText(date.toString(QStringLiteral("yyyy-MM-dd")));
    ui->calendarWidget->hide();
}

void KOVReportWin::on_hideInfoBtn_clicked()
{
    QGroupBox* box = ui->groupBox_reportInfo;
    QPushButton* button = ui->hideInfoBtn;
    QTabWidget* tabs = ui->reviewTabWidget;
    // Offsets follow the widgets as scaled, so a scaled page slides alike.
    const int margin = int(10 * m_preDpiRate);
    if (box->y() >= 1) {
        box->move(margin, -button->y());
        tabs->setGeometry(margin, button->height() + margin, tabs->width(), tabs->height() + button->y() + margin);
        button->setIcon(QIcon(QStringLiteral(":/style/ico/reportWin/down.png")));
    } else {
        box->move(margin, margin);
        tabs->setGeometry(margin, box->height() + 2 * margin, tabs->width(), tabs->height() - button->y() - margin);
        button->setIcon(QIcon(QStringLiteral(":/style/ico/reportWin/up.png")));
    }
}
