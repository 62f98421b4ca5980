// Which folders of a user directory are items, and which items are pictures:
// import and the review page decide both by the same rule.
#include "kovitemfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TstItemRule : public QObject
{
    Q_OBJECT
private slots:
    void scan_data();
    void scan();
    void pictureOrVideo_data();
    void pictureOrVideo();
};

void TstItemRule::scan_data()
{
    // files: relative paths made empty; items: "folder/file" of each accepted
    // item, in the scan's order.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("hidden folders are not looked at")
        << QStringList { ".git/a.jpg", ".Trash-1000/b.mp4", "p1/c.jpg" } << QStringList { "p1/c.jpg" };
    QTest::newRow("hidden folder only") << QStringList { ".cache/a.mp4" } << QStringList {};
    QTest::newRow("thumbnail beside the item")
        << QStringList { "p1/.thumbnail.jpg", "p1/c.jpg" } << QStringList { "p1/c.jpg" };
    QTest::newRow("thumbnail alone") << QStringList { "p1/.thumbnail.jpg" } << QStringList {};
    QTest::newRow("hidden picture inside an item folder counts")
        << QStringList { "p1/.x.jpg", "p1/y.jpg" } << QStringList {};
    QTest::newRow("the user directory itself holds one item")
        << QStringList { "d.mp4", "p1/e.jpg" } << QStringList { "./d.mp4", "p1/e.jpg" };
    QTest::newRow("names by letter case ignored")
        << QStringList { "B/x.mp4", "a/y.jpg", ".A/z.jpg" } << QStringList { "a/y.jpg", "B/x.mp4" };
}

void TstItemRule::scan()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, items);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const QString& f : qAsConst(files)) {
        const QString path = root.filePath(f);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString dir = root.path() + QLatin1Char('/');
    QStringList found;
    for (const QString& folder : KOVItemFolder::candidateFolders(dir)) {
        QVERIFY2(folder.startsWith(dir), qPrintable(folder));
        const QString name = KOVItemFolder::itemFileName(folder);
        if (!name.isEmpty())
            found << folder.mid(dir.size()) + QLatin1Char('/') + name;
    }
    QCOMPARE(found, items);
}

void TstItemRule::pictureOrVideo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("picture");
    QTest::newRow("picture") << "IMG_1.jpg" << true;
    QTest::newRow("video") << "VID_1.mp4" << false;
    QTest::newRow("video named like a picture") << "x.jpg.mp4" << false;
    QTest::newRow("picture named like a video") << "x.mp4.jpg" << true;
}

void TstItemRule::pictureOrVideo()
{
    QFETCH(QString, name);
    QFETCH(bool, picture);
    QVERIFY(KOVItemFolder::isItemName(name));
    QCOMPARE(KOVItemFolder::isPictureName(name), picture);
}

QTEST_GUILESS_MAIN(TstItemRule)
#include "tst_itemrule.moc"
