// Hidden folders of a user directory (".git", ".Trash-1000") are not items,
// while hidden files still count inside an item folder. (The thumbnail, the
// directory itself as an item and the order are held by tst_mainwindow's
// import table; picture or video by tst_reviewitem.)
#include "kovitemfolder.h"

#include <QTemporaryDir>
#include <QtTest>

class TstItemRule : public QObject
{
    Q_OBJECT
private slots:
    void scan_data()
    {
        // files: relative paths made empty; items: "folder/file" of each
        // accepted item, in the scan's order.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("hidden folders are not looked at")
            << QStringList { ".git/a.jpg", ".Trash-1000/b.mp4", ".A/z.jpg", "p1/c.jpg" } << QStringList { "p1/c.jpg" };
        QTest::newRow("hidden picture inside an item folder counts")
            << QStringList { "p1/.x.jpg", "p1/y.jpg", "p2/d.mp4" } << QStringList { "p2/d.mp4" };
    }
    void scan()
    {
        QFETCH(QStringList, files);
        QTemporaryDir root;
        for (const QString& f : qAsConst(files))
            QVERIFY(QDir().mkpath(QFileInfo(root.filePath(f)).path()) && QFile(root.filePath(f)).open(QIODevice::WriteOnly));
        const QString dir = root.path() + QLatin1Char('/');
        QStringList found;
        for (const QString& folder : KOVItemFolder::candidateFolders(dir)) {
            const QString name = KOVItemFolder::itemFileName(folder);
            if (!name.isEmpty())
                found << folder.mid(dir.size()) + QLatin1Char('/') + name;
        }
        QTEST(found, "items");
    }
};

QTEST_GUILESS_MAIN(TstItemRule)
#include "tst_itemrule.moc"
