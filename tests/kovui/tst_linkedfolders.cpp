// An item's working folder that cannot be written or holds links: a lock
// that fails says so and records nothing, files written there replace what
// stands under their names instead of writing through it, a restore writes a
// lost frame file again, and a cache folder that is a link is removed alone.
#include "kovcachefile.h"
#include "kovlockcheck.h"
#include "kovmediafixtures.h"
#include "kovmessagebox.h"
#include "pagetesthelp.h"
#include "reviewfixture.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace PageTest;
using ReviewFixture::Item;

class TstLinkedFolders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QList<Item> m_items;
    QStringList m_boxes;
    enum { Video, Pd };

    QString hide(int i) const { return m_items[i].dir + "hideImg"; }
    void showOn(KOVVideoImg& page, int i)
    {
        page.saveNamePre("3");
        open(page, 1, i, m_items[i].dir.chopped(1));
    }
    static bool step(KOVVideoImg& page, const char* slot) { return QMetaObject::invokeMethod(&page, slot); }
    static void record(KOVVideoImg& page, int ticks)
    {
        QPushButton* clip = child<QPushButton>(&page, "screenShotPB");
        clip->click();
        for (int i = 0; i < ticks; ++i)
            QVERIFY(step(page, "slotTimeOut"));
        clip->click();
    }
    static double seconds(const QString& path)
    {
        return KOVMediaFixture::run("ffprobe", { "-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path })
            .trimmed()
            .toDouble();
    }

private slots:
    void initTestCase()
    {
        const QString r = m_root.path();
        m_items << ReviewFixture::makeItem(r, "video", "VID_20.mp4", KOVGen::ItemKind::Video, 20, 1, true, 21);
        QVERIFY(!writePdVideo(r + "/pd", "VID_pd.mp4", 40, 1).isEmpty());
        m_items << Item { r + "/pd/", r + "/pd/VID_pd.mp4", "VID_pd.mp4" };
        QVERIFY(!m_items[Video].path.isEmpty());
        ReviewFixture::publish(m_items);
        QVERIFY(QDir().mkpath(r + "/outside"));
    }
    void init()
    {
        m_boxes.clear();
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString&, const QString& text, const QStringList&) {
            m_boxes << text;
            return 0;
        };
    }
    void cleanup()
    {
        KOVMessageBox::s_answer = nullptr;
        for (int i : { Video, Pd }) {
            const QFileInfo h(hide(i));
            if (h.isSymLink() || h.isFile())
                QFile::remove(h.filePath());
            else
                QDir(hide(i)).removeRecursively();
        }
    }

    void lockWhereNothingCanBeWritten_data()
    {
        QTest::addColumn<QString>("planted"); // under the name "hideImg"
        QTest::newRow("a file") << "file";
        QTest::newRow("a link to a folder elsewhere") << m_root.filePath("outside");
        QTest::newRow("a link to the item folder") << m_items[Video].dir;
    }
    void lockWhereNothingCanBeWritten()
    {
        QFETCH(QString, planted);
        QVERIFY(planted == "file" ? KOVMediaFixture::writeFile(hide(Video), "x") : QFile::link(planted, hide(Video)));
        const QStringList before = QDir(m_items[Video].dir).entryList(QDir::Files);
        KOVVideoImg page;
        showOn(page, Video);
        QVERIFY(step(page, "on_PB_nextFrame_clicked") && step(page, "on_lockBtn_clicked"));
        QCOMPARE(KOVLockCheck::check(page.lockState()), QString());
        QVERIFY(page.lockState().marks.isEmpty() && !page.pointInfo().marked);
        // No clip either, and nothing landed anywhere.
        child<QPushButton>(&page, "screenShotPB")->click();
        QCOMPARE(m_boxes.size(), 2);
        QCOMPARE(m_boxes[0], QStringLiteral("锁定图片无法保存到文件夹：\n") + hide(Video));
        QVERIFY(m_boxes[1].startsWith(QStringLiteral("无法创建视频片段文件！")));
        QCOMPARE(QDir(m_items[Video].dir).entryList(QDir::Files), before);
        QVERIFY(QDir(m_root.filePath("outside")).isEmpty());
    }

    void restoreWithFrameFileGone_data()
    {
        QTest::addColumn<bool>("linked");
        QTest::newRow("gone: written again from the cache") << false;
        QTest::newRow("hideImg now a link to the item folder: refused") << true;
    }
    void restoreWithFrameFileGone()
    {
        QFETCH(bool, linked);
        KOVVideoImg saved;
        showOn(saved, Video);
        for (const char* slot : { "on_PB_nextFrame_clicked", "on_PB_nextFrame_clicked", "on_lockBtn_clicked" })
            QVERIFY(step(saved, slot));
        QJsonObject cache;
        saved.saveData(cache);
        const QString frame = hide(Video) + "/R3_0.jpg";
        QVERIFY(QDir(hide(Video)).removeRecursively());
        if (linked)
            QVERIFY(QFile::link(m_items[Video].dir, hide(Video)));
        KOVVideoImg restored;
        restored.saveNamePre("3");
        restored.isReportWin(true, 1);
        restored.restoreData(cache);
        QCOMPARE(restored.lockState().marks, QList<int> { 3 });
        if (linked) {
            QCOMPARE(restored.pointInfo().videoImgPathList, QStringList { QString() });
            QVERIFY(!QFileInfo::exists(m_items[Video].dir + "R3_0.jpg"));
        } else {
            QCOMPARE(KOVLockCheck::check(restored.lockState()), QString());
            QCOMPARE(KOVGen::decodeFrameIndex(QImage(frame)), 2);
        }
    }

    void linksUnderTheFileNames_data()
    {
        QTest::addColumn<bool>("hard");
        QTest::newRow("symbolic links") << false;
        QTest::newRow("hard links") << true;
    }
    void linksUnderTheFileNames()
    {
        QFETCH(bool, hard);
        QByteArray original(300 * 1024, '\0');
        QRandomGenerator(5).fillRange(reinterpret_cast<quint32*>(original.data()), original.size() / 4);
        const QString outside = m_root.filePath("outside/precious.bin");
        QVERIFY(KOVMediaFixture::writeFile(outside, original));
        const QStringList names = { "R3_0.jpg", "R3_videoClip.avi", "R3_audioClip.wav" };
        QVERIFY(QDir().mkpath(hide(Pd)));
        for (const QString& n : names) {
            const QByteArray to = QFile::encodeName(outside), at = QFile::encodeName(hide(Pd) + "/" + n);
            QVERIFY((hard ? ::link(to, at) : ::symlink(to, at)) == 0);
        }
        KOVVideoImg page;
        page.show();
        showOn(page, Pd);
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().wavform, 5000);
        QVERIFY(step(page, "on_PB_nextFrame_clicked") && step(page, "on_lockBtn_clicked"));
        record(page, 5);
        QCOMPARE(contents(outside), original);
        QCOMPARE(KOVLockCheck::check(page.lockState()), QString());
        QVERIFY(page.pointInfo().hasClip && !page.pointInfo().clipAudio.isEmpty());
        for (const QString& n : names) {
            const QFileInfo f(hide(Pd) + "/" + n);
            QVERIFY2(f.isFile() && !f.isSymLink() && contents(f.filePath()) != original, qPrintable(n));
        }
        QVERIFY(QFile::remove(outside));
    }

    void clipLastsAsLongAsItsSound()
    {
        KOVVideoImg page;
        page.show();
        showOn(page, Pd);
        QTRY_VERIFY_WITH_TIMEOUT(page.pointInfo().wavform, 5000);
        record(page, 25);
        const double video = seconds(page.pointInfo().clipVideo), audio = seconds(page.pointInfo().clipAudio);
        QVERIFY2(video > 0.9 && std::abs(video - audio) <= 0.1, qPrintable(QString("%1 s, %2 s").arg(video).arg(audio)));
    }

    void cacheFolderThatIsALink()
    {
        const QString target = m_root.filePath("elsewhere"), link = m_root.filePath("cache");
        QVERIFY(QDir().mkpath(target) && KOVMediaFixture::writeFile(target + "/keep.jpg", "x"));
        QVERIFY(QFile::link(target, link));
        QVERIFY(KOVCacheFile(link + "/").remove());
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo::exists(target + "/keep.jpg"));
    }
};

QTEST_MAIN(TstLinkedFolders)
#include "tst_linkedfolders.moc"
