// Test-point pages not on screen hold no decoder and no audio, get both back
// when shown, and lose nothing of their state on the page or in the recovery
// cache on the way.
#include "kovinformation.h"
#include "kovlockcheck.h"
#include "kovprpd.h"
#include "kovwaveform.h"
#include "pagetesthelp.h"

#include <QComboBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;

namespace {

// The document without the names of its pictures, new on every save.
QJsonObject withoutPictureNames(const QJsonObject& root)
{
    QJsonObject o = root.value(QStringLiteral("testPoint")).toObject();
    for (const char* key : { "img", "markedImgList", "pddImgList" })
        o.remove(QLatin1String(key));
    return o;
}

// Hidden: the frame on show kept, nothing to decode held.
void checkLetGo(const KOVVideoImg& page)
{
    QVERIFY(!page.decoderOpen() && !page.shownFrame().isNull());
    QCOMPARE(KOVLockCheck::check(page.lockState()), QString());
}

} // namespace

class TstHiddenPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_itemDir;

private slots:
    void initTestCase()
    {
        QDir::setCurrent(m_dir.path()); // the recovery cache's pictures go here
        m_itemDir = writePdVideo(m_dir.filePath(QStringLiteral("item")), QStringLiteral("VID_1.mp4"), 30, 5, 1.0);
        QVERIFY(!m_itemDir.isEmpty());
        KOVInformation::Instance()->setFileNameList({ QStringLiteral("VID_1.mp4") });
        KOVInformation::Instance()->setFilePathList({ m_itemDir + QStringLiteral("/VID_1.mp4") });
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
        open(page, reportType, 0, m_itemDir); // loaded while hidden
        QCOMPARE(page.frameCount(), 30);
        checkLetGo(page);
        QVERIFY(page.audioPending() && !page.patternView()->hasAudio() && !page.waveForm()->hasAudio());

        // Shown: the audio at once, only to this page; the decoder with the next frame.
        KOVVideoImg other;
        other.show();
        page.show();
        QVERIFY(!page.audioPending() && !other.waveForm()->hasAudio() && page.pointInfo().wavform);
        QCOMPARE(page.waveForm()->length(), page.patternView()->frameCount() * 1024);
        QCOMPARE(child<QLabel>(&page, QStringLiteral("imgPRPDFramerate"))->text(),
            reportType == 1 ? QStringLiteral("20ms/50Hz") : QString());
        click(&page, QStringLiteral("PB_nextFrame"), 6);
        QVERIFY(page.decoderOpen());

        // State of every kind, then hidden.
        QVERIFY(QMetaObject::invokeMethod(&page, "on_lockBtn_clicked"));
        auto* advice = child<QLineEdit>(&page, QStringLiteral("infoAdvice"));
        advice->setText(QStringLiteral("更换 阀门"));
        emit advice->editingFinished();
        child<QComboBox>(&page, QStringLiteral("infoFaultLevel_elec"))->setCurrentIndex(2);
        QJsonObject shownDoc;
        page.saveData(shownDoc);
        const QImage frame = page.shownFrame();
        const QList<int> marks = page.lockState().marks;
        const QList<QImage> images = page.lockState().images;
        QCOMPARE(marks, QList<int> { 7 }); // frames are counted from 1
        page.hide();
        checkLetGo(page);
        QCOMPARE(page.currentFrameIndex(), 6);
        QCOMPARE(page.shownFrame(), frame);
        QCOMPARE(page.lockState().marks, marks);
        QCOMPARE(page.lockState().images, images);
        QJsonObject hiddenDoc;
        page.saveData(hiddenDoc);
        QCOMPARE(withoutPictureNames(hiddenDoc), withoutPictureNames(shownDoc));
        // Rebuilt from that document while hidden, as a restored report's pages are.
        KOVVideoImg restored;
        restored.isReportWin(true, reportType);
        restored.restoreData(hiddenDoc);
        checkLetGo(restored);
        QVERIFY(restored.audioPending() && !restored.patternView()->hasAudio());
        QCOMPARE(restored.lockState().marks, marks);

        // Shown again it goes on as a page that never hid: forward by reading
        // on, back by a seek in the reopened file.
        page.show();
        click(&page, QStringLiteral("PB_nextFrame"));
        KOVVideoImg twin;
        open(twin, reportType);
        twin.show();
        QVERIFY(QTest::qWaitForWindowExposed(&twin));
        twin.showItem(0, m_itemDir);
        click(&twin, QStringLiteral("PB_nextFrame"), 7);
        QCOMPARE(page.shownFrame(), twin.shownFrame());
        page.hide();
        page.show();
        click(&page, QStringLiteral("PB_lastFrame"));
        QCOMPARE(page.currentFrameIndex(), 6);
        QCOMPARE(page.shownFrame(), frame);
    }
};

QTEST_MAIN(TstHiddenPage)
#include "tst_hiddenpage.moc"
