#include "kovitem.h"

#include "kovinformation.h"
#include "kovmsg.h"
#include "ui_kovitem.h"

KOVItem::KOVItem(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::KOVItem)
{
    ui->setupUi(this);
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
    ui->label->move(visible ? 25 : 5, 0);
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
    KOVInformation::Instance()->changeObjectSize(*this, r);
    resize(static_cast<int>(width() * r), static_cast<int>(height() * r));
}
