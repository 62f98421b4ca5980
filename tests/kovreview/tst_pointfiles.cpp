// A test point's files: the delete guard of the working folder, the tag
// slots from a tag folder's names, and the text tag's UTF-8 then GBK reading.
#include "kovclipnames.h"
#include "kovtable.h"
#include "kovreportrules.h"
#include "kovtagslots.h"
#include "kovtagtext.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

namespace {

bool touch(const QString& path)
{
    QFile f(path);
    return QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) && f.write("x", 1) == 1;
}

} // namespace

class TstPointFiles : public QObject
{
    Q_OBJECT
private slots:
    void guard_data()
    {
        // relative: to the item folder; byPage: the page, which knows its item; byReport: a test point's removal, which does not
        KOVTable::columns<QString, bool, bool>({"relative", "byPage", "byReport"});
        QTest::newRow("frame in working folder") << "hideImg/R1_0.jpg" << true << true;
        QTest::newRow("through ..") << "hideImg/../keep.jpg" << false << false;
        QTest::newRow("sub folder") << "hideImg/sub/keep.jpg" << false << false;
        QTest::newRow("other item's working folder") << "../other/hideImg/keep.jpg" << false << true;
        QTest::newRow("link to outside") << "hideImg/link.jpg" << false << false;
    }

    void guard()
    {
        QFETCH(QString, relative);
        QFETCH(bool, byPage);
        QFETCH(bool, byReport);
        QTemporaryDir root;
        const QString item = root.path() + "/item";
        const QString path = item + "/" + relative;
        for (bool page : { true, false }) {
            for (const char* f : { "/item/hideImg/R1_0.jpg", "/item/keep.jpg", "/item/hideImg/sub/keep.jpg",
                     "/other/hideImg/keep.jpg" })
                QVERIFY(touch(root.path() + f));
            QFile::link(item + "/keep.jpg", item + "/hideImg/link.jpg");
            const bool removed = page ? KOVClipNames::removeInside(item, path)
                                      : KOVReportRules::removeFiles({ path }).isEmpty();
            QCOMPARE(removed, page ? byPage : byReport);
            QCOMPARE(QFileInfo::exists(path), !removed);
        }
    }

    // A working folder that is itself a link guards nothing: whatever it
    // points at, even another item's working folder, stays.
    void linkedWorkingFolder_data()
    {
        QTest::addColumn<QString>("target"); // relative to the root
        QTest::newRow("to another item's working folder") << "other/hideImg";
        QTest::newRow("to the item folder") << "item";
    }
    void linkedWorkingFolder()
    {
        QFETCH(QString, target);
        QTemporaryDir root;
        const QString item = root.path() + "/item";
        for (const char* f : { "/item/R1_0.jpg", "/other/hideImg/R1_0.jpg" })
            QVERIFY(touch(root.path() + f));
        QVERIFY(QFile::link(root.path() + "/" + target, item + "/hideImg"));
        const QString path = item + "/hideImg/R1_0.jpg";
        QVERIFY(!KOVClipNames::hideDirUsable(item) && !KOVClipNames::removeInside(item, path));
        QCOMPARE(KOVReportRules::removeFiles({ path }), QStringList { path });
        QVERIFY(QFileInfo::exists(path));
    }

    void tagSlots()
    {
        QTemporaryDir root;
        const QString tag = root.path() + "/tag";
        QVERIFY(QDir().mkpath(tag + "/dir01.jpg")); // a folder is no tag
        for (const char* n : { "a01.txt", "B01.JPG", "t03_02.wav", "x03_jpg.txt", "wav04.jpg", "S05.WAV", "n06.jpg",
                 "ZZ.TXT", "readme.md" })
            QVERIFY(touch(tag + "/" + n));
        // Listed by name without regard to case, the later file wins its slot;
        // the lowest number in the name takes the slot wherever it stands; a name with no
        // number goes to 06; the kind is what the name holds, jpg before wav.
        const KOVTagSlots s = KOVTagSlots::scan(tag);
        QCOMPARE(s.texts(), (QStringList { "Img_01", "Aud_02", "Img_03", "Img_04", "Aud_05", "Txt_06" }));
        QCOMPARE(s.names(), (QStringList { "B01.JPG", "t03_02.wav", "x03_jpg.txt", "wav04.jpg", "S05.WAV", "ZZ.TXT" }));
    }

    void textTurnsGbkForGood()
    {
        // The third line is valid UTF-8 too, but once a line failed the rest is GBK.
        QByteArray bytes = QString("第一行\n").toUtf8() + QTextCodec::codecForName("GBK")->fromUnicode("第二行\n")
            + QString("文件\n").toUtf8();
        QBuffer b(&bytes);
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(KOVTagText::decode(b), QStringLiteral("第一行\n第二行\n鏂囦欢\n"));
        QTemporaryDir dir;
        QString text;
        QCOMPARE(KOVTagText::read(dir.path(), &text), KOVTagText::Status::OpenError);
    }
};

QTEST_GUILESS_MAIN(TstPointFiles)
#include "tst_pointfiles.moc"
