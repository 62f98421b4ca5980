// Test-point pages that are not on screen: no decoder and no audio while
// hidden, both back when shown, and nothing of the page's state lost on the
// way, neither on the page nor in what it saves to the recovery cache.
#include "kovgen.h"
#include "kovinformation.h"
#include "kovlockcheck.h"
#include "kovprpd.h"
#include "kovvideoimg.h"
#include "kovwaveform.h"

#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The document without the names of its pictures, new on every save.
QJsonObject withoutPictureNames(const QJsonObject& root)
{
    QJsonObject o = root.value(QStringLiteral("testPoint")).toObject();
    for (const char* key : { "img", "markedImgList", "pddImgList" })
        o.remove(QLatin1String(key));
    return o;
}

void click(KOVVideoImg& page, const char* button, int times = 1)
{
    for (int i = 0; i < times; ++i)
        page.findChild<QPushButton*>(QLatin1String(button))->click();
}

} // namespace

class TstHiddenPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_itemDir;

    // A report page with the video, loaded while hidden unless shown first.
    void open(KOVVideoImg& page, int reportType, bool shown)
    {
        page.isReportWin(true, reportType);
        page.slotUpdateItemList();
        if (shown) {
            page.show();
            QVERIFY(QTest::qWaitForWindowExposed(&page));
        }
        page.showItem(0, m_itemDir);
        QCOMPARE(page.frameCount(), 30);
    }
    // Hidden: the frame on show kept, nothing to decode held.
    void checkLetGo(const KOVVideoImg& page)
    {
        QVERIFY(!page.decoderOpen() && !page.shownFrame().isNull());
        QCOMPARE(KOVLockCheck::check(page.lockState()), QString());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir::setCurrent(m_dir.path()); // the recovery cache's pictures go here
        KOVGen::ItemOptions o;
        o.dir = m_dir.filePath(QStringLiteral("item"));
        o.fileName = QStringLiteral("VID_1.mp4");
        o.kind = KOVGen::ItemKind::Video;
        o.frames = 30;
        o.label = KOVGen::electricalLabel(3);
        o.withAudio = true;
        o.audio.content = KOVGen::AudioContent::PdBursts;
        o.audio.seed = 5;
        QVERIFY(KOVGen::writeItem(o));
        KOVInformation::Instance()->setFileNameList({ o.fileName });
        KOVInformation::Instance()->setFilePathList({ o.dir + QLatin1Char('/') + o.fileName });
        m_itemDir = o.dir;
    }

    void hideAndShowAgain_data()
    {
        QTest::addColumn<int>("reportType");
        QTest::newRow("gas report") << 0;
        QTest::newRow("electrical report") << 1;
    }
    void hideAndShowAgain()
    {
        QFETCH(int, reportType);
        KOVVideoImg page;
        open(page, reportType, false);
        checkLetGo(page);
        QCOMPARE(page.currentFrameIndex(), 0);
        QVERIFY(page.audioPending());
        QVERIFY(!page.patternView()->hasAudio() && !page.waveForm()->hasAudio());

        // Shown: the audio at once, only to this page; the decoder with the
        // next frame.
        KOVVideoImg other;
        other.show();
        page.show();
        QVERIFY(!page.audioPending() && !other.waveForm()->hasAudio() && page.pointInfo().wavform);
        QCOMPARE(page.waveForm()->length(), page.patternView()->frameCount() * 1024);
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("imgPRPDFramerate"))->text(),
            reportType == 1 ? QStringLiteral("20ms/50Hz") : QString());
        click(page, "PB_nextFrame", 6);
        QVERIFY(page.decoderOpen());
        QCOMPARE(page.currentFrameIndex(), 6);

        // State of every kind, then hidden.
        QVERIFY(QMetaObject::invokeMethod(&page, "on_lockBtn_clicked"));
        page.findChild<QLineEdit*>(QStringLiteral("infoAdvice"))->setText(QStringLiteral("更换 阀门"));
        emit page.findChild<QLineEdit*>(QStringLiteral("infoAdvice"))->editingFinished();
        page.findChild<QComboBox*>(QStringLiteral("infoFaultLevel_elec"))->setCurrentIndex(2);
        QJsonObject shownDoc;
        page.saveData(shownDoc);
        const QImage frame = page.shownFrame();
        const QList<int> marks = page.lockState().marks;
        const QList<QImage> locked = page.lockState().images;
        QCOMPARE(marks, QList<int> { 7 }); // frames are counted from 1
        page.hide();
        checkLetGo(page);
        QCOMPARE(page.currentFrameIndex(), 6);
        QCOMPARE(page.shownFrame(), frame);
        QCOMPARE(page.lockState().marks, marks);
        QCOMPARE(page.lockState().images, locked);
        QJsonObject hiddenDoc;
        page.saveData(hiddenDoc);
        QCOMPARE(withoutPictureNames(hiddenDoc), withoutPictureNames(shownDoc));
        // Rebuilt from that document while hidden, as a restored report's
        // test points are: its locked frame, still no decoder or audio.
        KOVVideoImg restored;
        restored.isReportWin(true, reportType);
        restored.restoreData(hiddenDoc);
        checkLetGo(restored);
        QVERIFY(restored.audioPending() && !restored.patternView()->hasAudio());
        QCOMPARE(restored.lockState().marks, marks);

        // Shown again it goes on from its frame, as a page that never hid:
        // forward by reading on, back by a seek in the reopened file.
        page.show();
        click(page, "PB_nextFrame");
        QCOMPARE(page.currentFrameIndex(), 7);
        KOVVideoImg twin;
        open(twin, reportType, true);
        click(twin, "PB_nextFrame", 7);
        QCOMPARE(page.shownFrame(), twin.shownFrame());
        page.hide();
        page.show();
        click(page, "PB_lastFrame");
        QCOMPARE(page.currentFrameIndex(), 6);
        QCOMPARE(page.shownFrame(), frame);
    }
};

QTEST_MAIN(TstHiddenPage)
#include "tst_hiddenpage.moc"
