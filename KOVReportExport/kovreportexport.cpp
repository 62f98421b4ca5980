#include "kovreportexport.h"

#include "kovabout.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovmsg.h"
#include "kovreportexportprivate.h"
#include "kovscreenscale.h"
#include "kovvideoimg.h"
#include "ui_kovreportexport.h"

#include <QDebug>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QTabBar>
#include <QWindow>

KOVReportExport::KOVReportExport(QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::KOVReportExport)
    , d(new KOVReportExportPrivate)
{
    ui->setupUi(this);
    d->m_dataResore = new KOVProgressBarWidget(nullptr);
    d->m_dataResore->setProgressText(tr("文件列表与浏览页"));
    d->m_dataResore->hide();
    setMinimumSize(50, 50);

    QScreen* screen = QGuiApplication::screens().value(0);
    if (screen) {
        d->m_screenSize = screen->size();
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &KOVReportExport::slotLogicalDotsPerInchChanged);
    }
    KOVInformation* info = KOVInformation::Instance();
    resize(info->getMainwindowSize());
    refreshSize(screen ? screen->logicalDotsPerInch() : 96.0);
    placeOnScreen();

    setWindowIcon(QIcon(QStringLiteral("./OEM/icon.png")));
    setWindowTitle(info->AppTitle());

    batchVisible(false);
    ui->batch_okPB->setIcon(QIcon(QStringLiteral(":/style/ico/MainWin/del.png")));
    initStatusBar();
    m_language = info->runLanguageId();

    m_videoImg = new KOVVideoImg(nullptr);
    ui->mainTabWidget->addTab(m_videoImg, tr("浏览页"));
    ui->mainTabWidget->setCurrentIndex(0);
    ui->mainTabWidget->tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    m_videoImg->isReportWin(false, -1);

    d->m_aboutWin = new KOVAbout(nullptr);
    const QRect g = geometry();
    d->m_aboutWin->move(g.x() + (g.width() - d->m_aboutWin->width()) / 2,
                        g.y() + (g.height() - d->m_aboutWin->height()) / 2);

    connect(ui->mainTabWidget, SIGNAL(tabCloseRequested(int)), this, SLOT(slotRemoveReportWin(int)));
    KOVMsg* hub = KOVMsg::Instance();
    connect(hub, SIGNAL(sigChosedItemChanged(int, int)), this, SLOT(slotUpdateChosedList(int, int)));
    connect(hub, SIGNAL(sigReportWinTiltleChanged(QString)), this, SLOT(slotUpdateReportWinTitle(QString)));
    connect(hub, SIGNAL(sigSetItemUnchosed(int)), this, SLOT(slotSetItemUnchosed_videoWin(int)));
    connect(ui->mainTabWidget->tabBar(), &QTabBar::tabMoved, this, &KOVReportExport::slotMainTabMoved);

    // Queued when the export worker emits them.
    connect(this, &KOVReportExport::sigTotal, &d->m_progress, &KOVProgressBarDialog::slotTotal);
    connect(this, &KOVReportExport::sigValue, &d->m_progress, &KOVProgressBarDialog::slotValue);
    connect(this, &KOVReportExport::sigProgressText, &d->m_progress, &KOVProgressBarDialog::slotProgressText);
    connect(this, &KOVReportExport::sigFinishProgressBar, &d->m_progress, &KOVProgressBarDialog::slotFinishProgressBar);
}

KOVReportExport::~KOVReportExport()
{
    // The worker emits this window's signals and writes with the writer it
    // shares: nothing of either may go before it has ended.
    waitForExport();
    delete d->m_dataResore;
    delete d;
    // The tab widget would delete the page too; deleting it first keeps the
    // order the page's own teardown expects (the form still alive).
    delete m_videoImg;
    delete ui;
}

void KOVReportExport::initStatusBar()
{
    statusLb = new QLabel(this);
    statusLb->setFixedSize(40, 20);
    statusLb->setFrameShadow(QFrame::Raised);
    ui->statusbar->addWidget(statusLb, 0);
    statusLb->setGeometry(10, 0, 40, 20);
    statusLb->setText(tr("路径："));
    statusLb->show();

    statusLb_filePath = new QLabel(this);
    statusLb_filePath->setFixedSize(1500, 20);
    statusLb_filePath->setFrameShadow(QFrame::Raised);
    ui->statusbar->addWidget(statusLb_filePath, 0);
    statusLb_filePath->setGeometry(50, 0, 1510, 20);
    statusLb_filePath->show();
    fitStatusBar();
}

void KOVReportExport::on_actionAbout_triggered()
{
    if (d->m_aboutWin->isVisible())
        d->m_aboutWin->activateWindow();
    else
        d->m_aboutWin->show();
}

void KOVReportExport::placeOnScreen()
{
    QScreen* screen = QGuiApplication::screens().value(0);
    if (!screen)
        return;
    // Known only once the window manager has framed the window: until then
    // the window is placed as if it had none, and placed again at its first
    // exposure.
    const QRect outer = frameGeometry(), inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    const QRect place = KOVScreenScale(m_preDPIRate)
                            .windowPlacement(KOVInformation::Instance()->getMainwindowSize(),
                                             screen->availableGeometry(), frame);
    resize(place.size());
    move(place.topLeft() - QPoint(frame.left(), frame.top())); // a window's position is its frame's
}

void KOVReportExport::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!d->m_placedFramed && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool KOVReportExport::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()
        && !d->m_placedFramed) {
        d->m_placedFramed = true;
        windowHandle()->removeEventFilter(this);
        const QScreen* screen = QGuiApplication::screens().value(0);
        if (screen && !screen->availableGeometry().contains(frameGeometry()))
            placeOnScreen();
    }
    return QMainWindow::eventFilter(watched, event);
}

int KOVReportExport::getMainTabNum() const
{
    return ui->mainTabWidget->count();
}

void KOVReportExport::mousePressEvent(QMouseEvent*)
{
}

void KOVReportExport::resizeEvent(QResizeEvent*)
{
    const int listWidth = ui->listWidget->width();
    ui->scrollArea->setGeometry(ui->scrollArea->x(), 10, ui->centralwidget->width() - listWidth - 20,
                                ui->centralwidget->height() - 10);
    ui->listWidget->setGeometry(ui->listWidget->x(), ui->listWidget->y(), listWidth, ui->scrollArea->height());
}

void KOVReportExport::batchVisible(bool show)
{
    QRect list = ui->listWidget->geometry();
    const QRect box = ui->groupBox_batchDel->geometry();
    if (show == !ui->groupBox_batchDel->isHidden())
        return; // the list has already made or given back the box's room
    ui->groupBox_batchDel->setVisible(show);
    if (show) {
        ui->listWidget->setSelectionMode(QAbstractItemView::MultiSelection);
        list.setRect(10, box.y() + box.height(), list.width(), list.height() - box.height());
    } else {
        ui->batch_allCB->setChecked(false);
        ui->listWidget->setSelectionMode(QAbstractItemView::SingleSelection);
        list.setRect(10, box.y(), list.width(), list.height() + box.height());
    }
    ui->listWidget->setGeometry(list);
}

void KOVReportExport::setChosedCheckboxVisible(bool visible)
{
    for (KOVItem* item : qAsConst(m_itemList))
        item->setChosedBox(visible);
}
