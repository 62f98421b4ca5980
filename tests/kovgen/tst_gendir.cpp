// Whole user directories: the import rules, determinism, bulk items and the
// command line.
#include "kovgen.h"
#include "kovtestutil.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/videoio.hpp>

using namespace KOVGen;

namespace {

// The import's rule: exactly one "*.jpg" or "*.mp4" (letter case ignored),
// or two when one of them is ".thumbnail.jpg". Returns the item's file or "".
QString itemFile(const QString& folder)
{
    QDir d(folder);
    const QStringList files = d.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.mp4")},
                                          QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    if (files.size() == 1)
        return files[0];
    if (files.size() == 2 && files[0] == QLatin1String(".thumbnail.jpg"))
        return files[1];
    if (files.size() == 2 && files[1] == QLatin1String(".thumbnail.jpg"))
        return files[0];
    return QString();
}

QByteArray treeDigest(const QString& root)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const QString& rel : KOVTest::listTree(root)) {
        h.addData(rel.toUtf8());
        if (QFileInfo(root + QLatin1Char('/') + rel).isFile())
            h.addData(KOVTest::readAll(root + QLatin1Char('/') + rel));
    }
    return h.result().toHex();
}

} // namespace

class TestGenDir : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_tmp.isValid());
        DirOptions o;
        o.outDir = m_tmp.filePath(QStringLiteral("a/default"));
        QElapsedTimer t;
        t.start();
        m_demo = writeUserDirectory(o);
        qInfo("demo directory in %lld ms", static_cast<long long>(t.elapsed()));
        QVERIFY2(m_demo.ok, qPrintable(m_demo.error));
    }

    void demoFollowsTheImportRules()
    {
        const QString root = m_tmp.filePath(QStringLiteral("a/default"));
        QVERIFY(QFile::exists(root + QStringLiteral("/usrInfo.ini")));
        // The directory itself must not look like an item.
        QVERIFY(itemFile(root).isEmpty());
        const QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(folders.size(), 8);
        QCOMPARE(m_demo.itemFiles.size(), 8);
        int videos = 0;
        int withoutLabel = 0;
        int withoutInfo = 0;
        bool chineseBlank = false;
        for (int i = 0; i < folders.size(); ++i) {
            const QString dir = root + QLatin1Char('/') + folders[i];
            const QString file = itemFile(dir);
            QVERIFY2(!file.isEmpty(), qPrintable(folders[i]));
            QCOMPARE(m_demo.itemFiles[i], dir + QLatin1Char('/') + file);
            chineseBlank = chineseBlank || (folders[i].contains(QLatin1Char(' ')) && folders[i].contains(QChar(0x6D4B)));
            withoutLabel += !QFile::exists(dir + QStringLiteral("/itemInfo.ini"));
            withoutInfo += !QFile::exists(dir + QStringLiteral("/info.dat"));
            if (!file.endsWith(QLatin1String(".mp4")))
                continue;
            ++videos;
            // The item's audio is the first "*.wav" of wav/, at least as long
            // as the video.
            const QStringList wavs = QDir(dir + QStringLiteral("/wav")).entryList({QStringLiteral("*.wav")}, QDir::Files);
            QVERIFY2(!wavs.isEmpty(), qPrintable(folders[i]));
            const QByteArray wav = KOVTest::readAll(dir + QStringLiteral("/wav/") + wavs[0]);
            QVERIFY(wav.size() > 44);
            const int channels = wav[22];
            const double seconds = double(wav.size() - 44) / (2.0 * channels * 96000);
            cv::VideoCapture cap(QFile::encodeName(dir + QLatin1Char('/') + file).toStdString());
            QVERIFY(cap.isOpened());
            QVERIFY(seconds >= cap.get(cv::CAP_PROP_FRAME_COUNT) * 0.04);
        }
        QVERIFY(videos >= 2);
        QCOMPARE(withoutLabel, 1);
        QCOMPARE(withoutInfo, 1);
        QVERIFY(chineseBlank);
    }

    void demoTagsFillSlots()
    {
        const QString tags = m_tmp.filePath(QStringLiteral("a/default/01_gas_picture/tag"));
        const QStringList files = QDir(tags).entryList(
            {QStringLiteral("*.jpg"), QStringLiteral("*.wav"), QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 4);
        // Slots 01, 02, 03 by name, and one without a number for slot 06.
        for (const char* slot : {"01", "02", "03"})
            QVERIFY(files.filter(QLatin1String(slot)).size() == 1);
        int unnumbered = 0;
        for (const QString& f : files) {
            bool any = false;
            for (const char* s : {"01", "02", "03", "04", "05"})
                any = any || f.contains(QLatin1String(s));
            unnumbered += !any;
        }
        QCOMPARE(unnumbered, 1);
        QVERIFY(KOVTest::readAll(tags + QStringLiteral("/tag03.txt")).contains("\r\n"));
    }

    void sameSeedSameBytesOtherSeedOther()
    {
        DirOptions o;
        o.outDir = m_tmp.filePath(QStringLiteral("b/default"));
        QVERIFY(writeUserDirectory(o).ok);
        QCOMPARE(treeDigest(o.outDir), treeDigest(m_tmp.filePath(QStringLiteral("a/default"))));

        o.outDir = m_tmp.filePath(QStringLiteral("c/default"));
        o.seed = 2;
        QVERIFY(writeUserDirectory(o).ok);
        QCOMPARE(KOVTest::listTree(o.outDir).size(), KOVTest::listTree(m_tmp.filePath(QStringLiteral("a/default"))).size());
        const QString a = m_tmp.filePath(QStringLiteral("a/default/"));
        const QString c = o.outDir + QLatin1Char('/');
        QVERIFY(KOVTest::readAll(a + QStringLiteral("usrInfo.ini")) != KOVTest::readAll(c + QStringLiteral("usrInfo.ini")));
        QVERIFY(KOVTest::readAll(a + QStringLiteral("04_gas_video/info.dat")) !=
                KOVTest::readAll(c + QStringLiteral("04_gas_video/info.dat")));
        QVERIFY(KOVTest::readAll(m_demo.itemFiles[0]) != KOVTest::readAll(c + QFileInfo(m_demo.itemFiles[0]).dir().dirName() +
                                                                                  QLatin1Char('/') +
                                                                                  QFileInfo(m_demo.itemFiles[0]).fileName()));
    }

    void bulkItems_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<bool>("light");
        QTest::newRow("300 light items") << 300 << true;
        QTest::newRow("10 full items") << 10 << false;
        QTest::newRow("light demo count") << 0 << true;
    }
    void bulkItems()
    {
        QFETCH(int, items);
        QFETCH(bool, light);
        QTemporaryDir tmp;
        DirOptions o;
        o.outDir = tmp.filePath(QStringLiteral("u"));
        o.items = items;
        o.light = light;
        const DirResult r = writeUserDirectory(o);
        QVERIFY2(r.ok, qPrintable(r.error));
        const int expected = items > 0 ? items : 8;
        QCOMPARE(r.itemFiles.size(), expected);
        const QStringList folders = QDir(o.outDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(folders.size(), expected);
        for (const QString& f : folders) {
            const QString dir = o.outDir + QLatin1Char('/') + f;
            QVERIFY2(!itemFile(dir).isEmpty(), qPrintable(f));
            if (light) {
                QVERIFY(QFile::exists(dir + QStringLiteral("/info.dat")));
                QVERIFY(QFile::exists(dir + QStringLiteral("/itemInfo.ini")));
                QVERIFY(!QFile::exists(dir + QStringLiteral("/wav")));
            }
        }
        QVERIFY(r.itemFiles.filter(QStringLiteral(".mp4")).isEmpty() == light);
    }

    void refusesWhatItShouldNotTouch()
    {
        QTemporaryDir tmp;
        DirOptions o;
        QVERIFY(!writeUserDirectory(o).ok); // no folder
        o.outDir = tmp.path();
        QVERIFY(KOVTest::writeEncoded(tmp.filePath(QStringLiteral("usrInfo.ini")), QStringLiteral("[TestInfo]\ncompany=mine\n")));
        const DirResult r = writeUserDirectory(o);
        QVERIFY(!r.ok);
        QVERIFY(!r.error.isEmpty());
        QVERIFY(KOVTest::readAll(tmp.filePath(QStringLiteral("usrInfo.ini"))).contains("mine"));
        o.force = true;
        o.items = 2;
        o.light = true;
        QVERIFY(writeUserDirectory(o).ok);
        // A file where the folder should be.
        o.outDir = tmp.filePath(QStringLiteral("usrInfo.ini/x"));
        o.force = false;
        QVERIFY(!writeUserDirectory(o).ok);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("light items") << QStringList{QStringLiteral("--items"), QStringLiteral("5"), QStringLiteral("--light")} << 0;
        QTest::newRow("seed not a number") << QStringList{QStringLiteral("--seed"), QStringLiteral("x")} << 2;
        QTest::newRow("negative items") << QStringList{QStringLiteral("--items"), QStringLiteral("-4")} << 2;
        QTest::newRow("no output folder") << QStringList{QStringLiteral("--light")} << 2;
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        const QString exe = qEnvironmentVariable("KOV_BINARY_DIR") + QStringLiteral("/tools/kovgen/kovgen");
        if (!QFile::exists(exe))
            QSKIP("kovgen is not built");
        QTemporaryDir tmp;
        if (!args.contains(QStringLiteral("--light")) || args.size() > 1)
            args << QStringLiteral("--out") << tmp.filePath(QStringLiteral("default"));
        QProcess p;
        p.start(exe, args);
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), exitCode);
        if (exitCode == 0)
            QCOMPARE(QDir(tmp.filePath(QStringLiteral("default"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 5);
        else
            QVERIFY(!p.readAllStandardError().isEmpty());
    }

private:
    QTemporaryDir m_tmp;
    DirResult m_demo;
};

QTEST_GUILESS_MAIN(TestGenDir)
#include "tst_gendir.moc"
