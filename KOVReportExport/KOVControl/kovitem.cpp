#include "kovitem.h"

#include "kovinformation.h"
#include "kovmsg.h"

#include <QCheckBox>
#include <QLabel>

KOVItem::KOVItem(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui_KOVItem)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("KOVItem"));
    resize(210, 25);
    setWindowTitle(tr("Form"));

    ui->chose_checkBox = new QCheckBox(this);
    ui->chose_checkBox->setObjectName(QStringLiteral("chose_checkBox"));
    ui->chose_checkBox->setGeometry(5, 0, 15, 25);
    QSizePolicy policy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    policy.setHeightForWidth(ui->chose_checkBox->sizePolicy().hasHeightForWidth());
    ui->chose_checkBox->setSizePolicy(policy);
    ui->chose_checkBox->setIconSize(QSize(16, 16));
    ui->chose_checkBox->setTristate(false);

    ui->label = new QLabel(this);
    ui->label->setObjectName(QStringLiteral("label"));
    ui->label->setGeometry(25, 0, 180, 25);
    // Setting a font costs a propagation per widget; the application font
    // usually is this size already.
    if (ui->label->font().pointSize() != 10) {
        QFont font = ui->label->font();
        font.setPointSize(10);
        ui->label->setFont(font);
    }

    connect(ui->chose_checkBox, &QCheckBox::toggled, this, &KOVItem::on_chose_checkBox_toggled);
    refreshDPI();
    connect(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged, this, &KOVItem::slotScreenDpiChanged);
}

KOVItem::~KOVItem()
{
    delete ui;
}

void KOVItem::setItemName(QString name)
{
    ui->label->setText(name);
    m_name = name;
}

void KOVItem::setChosed()
{
    ui->chose_checkBox->setChecked(true);
}

void KOVItem::setUnchosed()
{
    // The flag goes first so the toggle handler sees a granted untick.
    m_itemChosed = false;
    ui->chose_checkBox->setChecked(false);
}

bool KOVItem::isBoxChecked() const
{
    return ui->chose_checkBox->isChecked();
}

void KOVItem::setChosedBox(bool visible)
{
    ui->chose_checkBox->setVisible(visible);
    ui->chose_checkBox->setEnabled(visible);
    // Scaled like the box beside it: at 25 unscaled pixels the label would run
    // under a box grown by the screen's scale.
    const double f = KOVInformation::Instance()->getScreenDPI() / 96.0;
    ui->label->move(static_cast<int>((visible ? 25 : 5) * f), 0);
}

void KOVItem::on_chose_checkBox_toggled(bool checked)
{
    if (checked) {
        if (!m_itemChosed) {
            m_itemChosed = true;
            emit sigChosed(m_name);
        }
        return;
    }
    if (!m_itemChosed)
        return;
    emit sigUnchosed(ui->label->text());
    // Refused unless a receiver called setUnchosed(); re-ticking re-enters
    // this handler with the flag set, which does nothing.
    ui->chose_checkBox->setChecked(m_itemChosed);
}

void KOVItem::slotScreenDpiChanged(double dpiRate)
{
    ui->label->move(static_cast<int>(25 * dpiRate), 0);
}

void KOVItem::refreshDPI()
{
    const double f = KOVInformation::Instance()->getScreenDPI() / 96.0;
    const double r = f / m_preDpiRate;
    m_preDpiRate = f;
    if (r == 1.0)
        return; // unscaled screens: one entry per imported item, skip the walk
    KOVInformation::Instance()->changeObjectSize(*this, r);
    resize(static_cast<int>(width() * r), static_cast<int>(height() * r));
}
