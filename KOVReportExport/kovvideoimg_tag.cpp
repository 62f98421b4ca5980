// Tags: the six tag buttons of the shown item and the dialogs they open.
#include "kovvideoimg.h"
#include "ui_kovvideoimg.h"

#include "kovtagaud.h"
#include "kovtagimg.h"
#include "kovtagslots.h"
#include "kovtagtxt.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDebug>

#include <memory>

void KOVVideoImg::updateTagFile(QString dirPath)
{
    m_dirPath = dirPath;
    mkdirHide();
    const KOVTagSlots tags = KOVTagSlots::scan(dirPath + QStringLiteral("/tag/"));
    m_tagFileList = tags.texts();
    m_tagNameList = tags.names();
    updatePBText();
}

void KOVVideoImg::slotBtnGroupTagClicked(int id)
{
    if (m_tagNameList.isEmpty())
        return;
    qDebug() << "slotBtnGroupTagClicked" << id;
    QAbstractButton* btn = m_btnGroupTag->button(id);
    // An id that is no button's, or a slot without a file, opens nothing.
    if (!btn || id < 0 || id >= m_tagNameList.size() || m_tagNameList[id].isEmpty()) {
        qDebug() << "There's no tag file";
        return;
    }
    const QString path = m_dirPath + QStringLiteral("/tag/") + m_tagNameList[id];
    std::unique_ptr<QDialog> dialog;
    switch (KOVTagSlots::kindOfText(btn->text())) {
    case KOVTagSlots::Kind::Image:
        dialog.reset(new KOVTagImg(path, this));
        break;
    case KOVTagSlots::Kind::Audio:
        dialog.reset(new KOVTagAud(path, this));
        break;
    case KOVTagSlots::Kind::Text:
        dialog.reset(new KOVTagTxt(path, this));
        break;
    case KOVTagSlots::Kind::None:
        qDebug() << "There's no tag file";
        return;
    }
    m_openTag = dialog.get();
    dialog->exec();
    m_openTag = nullptr;
}
