#include "kovabout.h"
#include "ui_kovabout.h"

#include "kovinformation.h"
#include "kovscreenscale.h"
#include "kovversion.h"

#include <QIcon>
#include <QPixmap>

namespace {
const char* const kIconFile = "./OEM/icon.png";
}

KOVAbout::KOVAbout(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::KOVAbout)
{
    ui->setupUi(this);
    // Built without a parent: left open, it must not keep the application
    // running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    const QString iconFile = QString::fromLatin1(kIconFile);
    setWindowIcon(QIcon(iconFile));
    const QPixmap picture(iconFile);
    if (!picture.isNull())
        ui->imgLabel->setPixmap(picture.scaled(ui->imgLabel->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    ui->appTitle->setText(KOVInformation::Instance()->AppTitle());
    ui->appVersion->setText(QStringLiteral(KOV_APP_VERSION));
    ui->appFunction->setText(tr("View and analyze the data of pictures and videos shot by the adaptive handheld "
                                "acoustic imager, edit and output the corresponding test report"));
    holdTextPixelSize(KOVInformation::Instance()->getScreenDPI());
    hide();
}

KOVAbout::~KOVAbout()
{
    delete ui;
}

// Fonts in points grow with the screen's dots per inch while this window's
// pixels do not: at 144 dpi the purpose text would run out of its label. The
// texts keep the pixel size their points have at 96 dpi instead.
void KOVAbout::holdTextPixelSize(double dpi)
{
    if (!KOVScreenScale::isUsableDpi(dpi) || dpi == 96.0)
        return;
    for (QLabel* label : { ui->appTitle, ui->appVersion, ui->appFunction }) {
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * 96.0 / dpi);
        label->setFont(font);
    }
}
