// Import of a user directory into the file list.
#include "kovreportexport.h"

#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovitemfolder.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "ui_kovreportexport.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QListWidgetItem>
#include <QSet>

void KOVReportExport::on_actionImport_triggered()
{
    importFiles();
}

void KOVReportExport::importFiles()
{
    qDebug() << "importFiles() start";
    const int count = m_fileNameList.size();
    const QString dir = openUsrDirDialog();
    if (dir.isEmpty())
        return;
    if (!checkIsUsrDirSame(dir))
        return;
    tellUndecodable(dir);
    if (checkDirInfo(openDirListDialog(dir), count).isEmpty())
        return;

    // The browse page and batch deletion show no check boxes. Setting that
    // on each new entry saves a second pass over thousands of rows.
    const bool hideBoxes = ui->mainTabWidget->currentIndex() == 0 || !ui->groupBox_batchDel->isHidden();
    ui->listWidget->setUpdatesEnabled(false);
    for (int i = count; i < m_fileNameList.size(); ++i)
        addRow(m_fileNameList.at(i), !hideBoxes);
    ui->listWidget->setUpdatesEnabled(true);

    KOVInformation* info = KOVInformation::Instance();
    info->setFileNameList(m_fileNameList);
    info->setFilePathList(m_filePathList);
    emit KOVMsg::Instance()->sigItemListChanged();
    updateOpenDir();
    if (hideBoxes && count > 0)
        setChosedCheckboxVisible(false);
    qDebug() << "importFiles() end";
}

void KOVReportExport::addRow(const QString& name, bool boxVisible)
{
    auto* row = new QListWidgetItem();
    row->setSizeHint(QSize(static_cast<int>(210 * m_preDPIRate), static_cast<int>(25 * m_preDPIRate)));
    ui->listWidget->addItem(row);
    auto* entry = new KOVItem(ui->listWidget);
    entry->setItemName(name);
    if (!boxVisible)
        entry->setChosedBox(false);
    ui->listWidget->setItemWidget(row, entry);
    connect(entry, SIGNAL(sigChosed(QString)), this, SLOT(slotSetItemChosed(QString)));
    connect(entry, SIGNAL(sigUnchosed(QString)), this, SLOT(slotSetItemUnchosed(QString)));
    m_itemList.enqueue(entry);
}

void KOVReportExport::tellUndecodable(const QString& dir)
{
    // Such a folder would otherwise vanish from the import without a word.
    const QStringList names = KOVItemFolder::undecodableFolders(dir);
    if (names.isEmpty())
        return;
    const int shown = 20;
    QString text = tr("以下文件夹的名称无法识别，未导入：") + QStringLiteral("\r\n");
    text += QStringList(names.mid(0, shown)).join(QStringLiteral("\r\n"));
    if (names.size() > shown)
        text += QStringLiteral("\r\n…");
    KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"), text, QStringList{tr("是")});
}

QString KOVReportExport::openUsrDirDialog()
{
    QString start = KOVInformation::Instance()->getCustomPath();
    if (!QDir(start).exists())
        start = QStringLiteral("../");
    QString dir = KOVFileDialog::chooseUsrDirectory(start);
    if (!dir.isEmpty())
        dir += QLatin1Char('/');
    qDebug() << "openUsrDirDialog() =" << dir;
    return dir;
}

bool KOVReportExport::checkIsUsrDirSame(QString dir)
{
    KOVInformation* info = KOVInformation::Instance();
    if (ui->listWidget->count() == 0) {
        info->setUsrPath(dir);
        const QString withoutSlash = dir.left(dir.size() - 1);
        info->setcustomPath(withoutSlash.left(withoutSlash.lastIndexOf(QLatin1Char('/')) + 1));
        return true;
    }
    if (dir == info->getUsrDirPath()) {
        info->setUsrPath(dir); // the imager may have rewritten usrInfo.ini since
        return true;
    }
    qDebug() << "different usrdir, please delete all files and reImport";
    KOVMessageBox::ask(this, QMessageBox::Warning, tr("警告"),
                       tr("导入用户目录不一，请先删除所有已导入文件后重新导入！"), QStringList{tr("是")});
    return false;
}

QStringList KOVReportExport::openDirListDialog(QString dir)
{
    return KOVItemFolder::candidateFolders(dir);
}

QStringList KOVReportExport::checkDirInfo(QStringList dirs, int count)
{
    // Paths imported before this run; a path names its file, so it alone
    // decides whether name and path both match.
    QSet<QString> known;
    known.reserve(count);
    for (int i = 0; i < count && i < m_filePathList.size(); ++i)
        known.insert(m_filePathList.at(i));

    QStringList accepted;
    for (const QString& folder : qAsConst(dirs)) {
        const QString name = KOVItemFolder::itemFileName(folder);
        if (name.isEmpty())
            continue; // also a folder that vanished since it was listed
        const QString path = folder + QLatin1Char('/') + name;
        if (known.contains(path))
            continue;
        m_fileNameList.append(name);
        m_filePathList.append(path);
        accepted.append(folder);
    }
    return accepted;
}

bool KOVReportExport::checkSameFile(QString name, QString path, int count)
{
    for (int i = 0; i < count && i < m_fileNameList.size() && i < m_filePathList.size(); ++i) {
        if (m_fileNameList.at(i) == name && m_filePathList.at(i) == path)
            return true;
    }
    return false;
}

void KOVReportExport::updateOpenDir()
{
    if (m_filePathList.isEmpty())
        return;
    const QStringList parts = m_filePathList.last().split(QLatin1Char('/'));
    QString usr;
    for (int i = 0; i < parts.size() - 2; ++i)
        usr += parts.at(i) + QLatin1Char('/');
    // Taking the directory read its usrInfo.ini already: the imager's file
    // can be tens of megabytes, and a second parse froze the import.
    KOVInformation* info = KOVInformation::Instance();
    if (usr != info->getUsrDirPath())
        info->setUsrPath(usr);
}

QString KOVReportExport::getItemDirPath(QString path)
{
    return KOVItemFolder::dirPart(path);
}
