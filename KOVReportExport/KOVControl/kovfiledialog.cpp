#include "kovfiledialog.h"

#include "kovinformation.h"
#include "kovitemfolder.h"

#include <QDebug>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QListView>
#include <QTreeView>

KOVFileDialog::KOVFileDialog(QDialog* parent, const QString& dir)
    : QFileDialog(parent, QString(), QString(), QString())
{
    refreshDPI();
    setWindowTitle(tr("Please select folder"));
    setDirectory(dir);
    setWindowFlags(Qt::WindowStaysOnTopHint);
    setOption(QFileDialog::DontUseNativeDialog, true);
    // DirectoryOnly is deprecated in favour of Directory + ShowDirsOnly; the
    // two together behave the same.
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, true);
    setWindowIcon(QIcon(QStringLiteral("./OEM/icon.png")));

    // Object names of the toolkit's own non-native dialog.
    auto* listView = findChild<QListView*>(QStringLiteral("listView"));
    auto* treeView = findChild<QTreeView*>(QStringLiteral("treeView"));
    if (listView && treeView) {
        listView->setSelectionMode(QAbstractItemView::SingleSelection);
        treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    } else {
        qDebug() << "pListView = " << listView;
        qDebug() << "pTreeView = " << treeView;
    }

    auto* buttonBox = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (buttonBox) {
        disconnect(buttonBox, SIGNAL(accepted()), this, SLOT(accept()));
        connect(buttonBox, &QDialogButtonBox::accepted, this, &KOVFileDialog::slotChoice);
    } else {
        qDebug() << "pButton = " << buttonBox;
    }
}

KOVFileDialog::~KOVFileDialog() = default;

std::function<QString(const QString&)> KOVFileDialog::s_chooseHook;

QString KOVFileDialog::chooseUsrDirectory(const QString& dir)
{
    if (s_chooseHook)
        return s_chooseHook(dir);
    KOVFileDialog dialog(nullptr, dir);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

bool KOVFileDialog::isKovUsrDirectory(QString path)
{
    if (path.section(QLatin1Char('/'), -1) == QLatin1String("default"))
        return true;
    return QFile::exists(path + QStringLiteral("/usrInfo.ini"));
}

bool KOVFileDialog::isKovItem(QString path)
{
    const QStringList files = QDir(path).entryList(QStringList{QStringLiteral("*.jpg"), QStringLiteral("*.mp4")},
                                                   QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    return files.size() == 1 && KOVItemFolder::isItemName(files.first());
}

void KOVFileDialog::refreshDPI()
{
    const double f = KOVInformation::Instance()->getScreenDPI() / 96.0;
    KOVInformation::Instance()->changeObjectSize(*this, f);
    resize(static_cast<int>(width() * f), static_cast<int>(height() * f));
}

void KOVFileDialog::slotChoice()
{
    const QStringList fileList = selectedFiles();
    qDebug() << "KOVFileDialog::slotChoice fileList =" << fileList;
    // With nothing chosen the toolkit may hand back one empty path.
    if (fileList.isEmpty() || fileList.first().isEmpty())
        return;
    if (isKovUsrDirectory(fileList.first()))
        QFileDialog::accept();
    else
        setDirectory(fileList.first());
}
