// A test-point page put away behind another tab lets its picture or frame,
// its audio and its plot buffers go; shown again it shows what it showed.
#include "kovframeview.h"
#include "kovinformation.h"
#include "kovmediafixtures.h"
#include "kovocrcontext.h"
#include "kovprpd.h"
#include "kovtestutil.h"
#include "kovwaveform.h"
#include "kovwarnings.h"
#include "pagetesthelp.h"
#include "reviewfixture.h"

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;

namespace {

// What the user sees of the page, and the frame picture the cache would get.
struct Seen
{
    QImage frame, view;
    QString reading;
    QImage pattern;
    int index;
    QByteArray cached;
    bool operator==(const Seen& o) const
    {
        return frame == o.frame && view == o.view && reading == o.reading && pattern == o.pattern && index == o.index
            && cached == o.cached;
    }
};

Seen seen(KOVVideoImg& page)
{
    QJsonObject doc;
    page.saveData(doc);
    return { page.shownFrame(), child<KOVFrameView>(&page, QString())->image(),
        child<QLineEdit>(&page, QStringLiteral("infoMaxSPL"))->text(),
        child<QLabel>(&page, QStringLiteral("imgPRPD"))->pixmap(Qt::ReturnByValue).toImage(), page.currentFrameIndex(),
        KOVTest::readAll(doc.value(QStringLiteral("testPoint")).toObject().value(QStringLiteral("img")).toString()) };
}

// Mean difference per channel of two pictures of one size; -1 for another size.
double meanDiff(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 sum = 0;
    for (int r = 0; r < x.height(); ++r) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(r));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(r));
        for (int c = 0; c < x.width(); ++c)
            sum += std::abs(qRed(p[c]) - qRed(q[c])) + std::abs(qGreen(p[c]) - qGreen(q[c])) + std::abs(qBlue(p[c]) - qBlue(q[c]));
    }
    return double(sum) / (3.0 * x.width() * x.height());
}

QJsonObject withoutPictureName(QJsonObject doc)
{
    QJsonObject o = doc.value(QStringLiteral("testPoint")).toObject();
    o.remove(QStringLiteral("img"));
    return o;
}

} // namespace

class TstDroppedPage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_folders;

private slots:
    void initTestCase()
    {
        QDir::setCurrent(m_dir.path()); // the recovery cache's pictures go here
        m_folders << writePdVideo(m_dir.filePath(QStringLiteral("video")), QStringLiteral("VID_1.mp4"), 30, 5, 2.0);
        m_folders << m_dir.filePath(QStringLiteral("picture"));
        QVERIFY(!ReviewFixture::makeItem(m_dir.path(), QStringLiteral("picture"), QStringLiteral("IMG_1.jpg"),
                                         KOVGen::ItemKind::Picture, 1, 1).path.isEmpty());
        KOVInformation::Instance()->setFileNameList({ QStringLiteral("VID_1.mp4"), QStringLiteral("IMG_1.jpg") });
        KOVInformation::Instance()->setFilePathList(
            { m_folders[0] + QStringLiteral("/VID_1.mp4"), m_folders[1] + QStringLiteral("/IMG_1.jpg") });
    }

    void cleanup()
    {
        KOVInformation::Instance()->setFilePathList(
            { m_folders[0] + QStringLiteral("/VID_1.mp4"), m_folders[1] + QStringLiteral("/IMG_1.jpg") });
    }

    void shownAgain_data()
    {
        QTest::addColumn<int>("item");
        QTest::newRow("video with discharge audio, at frame 13") << 0;
        QTest::newRow("picture") << 1;
    }
    void shownAgain()
    {
        QFETCH(int, item);
        QTabWidget tabs;
        KOVVideoImg* page = pageBesideAnother(tabs);
        QVERIFY(page);
        open(*page, 1, item, m_folders[item]);
        const bool video = item == 0;
        if (video)
            click(page, QStringLiteral("PB_nextFrame"), 12);
        QTRY_VERIFY(!page->ocrContext()->busy());
        QCoreApplication::processEvents();
        const Seen before = seen(*page);
        QVERIFY(!before.view.isNull() && !before.reading.isEmpty());
        QCOMPARE(before.pattern.isNull(), !video);

        tabs.setCurrentIndex(1);
        QVERIFY(page->imageDropped() && child<KOVFrameView>(page, QString())->image().isNull());
        QVERIFY(!page->waveForm()->hasAudio() && !page->patternView()->hasAudio());
        const Seen hidden = seen(*page);
        QCOMPARE(hidden.frame, before.frame);
        QCOMPARE(hidden.cached, before.cached); // the cache's picture byte for byte

        tabs.setCurrentIndex(0);
        const Seen after = seen(*page);
        QVERIFY(!page->imageDropped());
        QCOMPARE(page->waveForm()->hasAudio(), video);
        QVERIFY(after == before);
    }

    // The card taken out, the folder moved or the file spoilt while the page
    // was put away: shown again, twice, the page shows the picture it showed,
    // says in the log which file it could not read, and the cache gets what
    // it got before.
    void pictureGoneWhileHidden_data()
    {
        QTest::addColumn<QString>("spoilt"); // what becomes of the file while the page is hidden
        QTest::addColumn<bool>("large"); // kept as a copy of what shows, not as the file
        QTest::newRow("file removed") << "removed" << false;
        QTest::newRow("folder moved") << "moved" << false;
        QTest::newRow("large file removed") << "removed" << true;
        // Cut short, a JPEG still decodes: its end comes out grey.
        QTest::newRow("file cut to its first half") << "halved" << false;
        QTest::newRow("large file cut to its first half") << "halved" << true;
        QTest::newRow("large file overwritten, not a picture") << "overwritten" << true;
    }
    void pictureGoneWhileHidden()
    {
        QFETCH(QString, spoilt);
        QFETCH(bool, large);
        const QString folder = m_dir.filePath(QStringLiteral("gone_%1%2").arg(spoilt).arg(large));
        const QString file = folder + QStringLiteral("/IMG_1.jpg");
        QVERIFY(!ReviewFixture::makeItem(m_dir.path(), QFileInfo(folder).fileName(), QStringLiteral("IMG_1.jpg"),
                                         KOVGen::ItemKind::Picture, 1, 1).path.isEmpty());
        if (large) { // 4096 x 2400, faint noise: megabytes of JPEG
            QImage big = QImage(folder + QStringLiteral("/IMG_1.jpg")).scaled(4096, 2400);
            QRandomGenerator noise(3);
            for (int y = 0; y < big.height(); ++y)
                for (int x = 0; x < big.width(); ++x)
                    big.setPixel(x, y, QColor(big.pixel(x, y)).lighter(100 + int(noise.bounded(8))).rgb());
            QVERIFY(big.save(folder + QStringLiteral("/IMG_1.jpg"), "JPG", 95));
            QVERIFY(QFileInfo(folder + QStringLiteral("/IMG_1.jpg")).size() > 1 << 20);
        }
        KOVInformation::Instance()->setFilePathList({ m_folders[0] + QStringLiteral("/VID_1.mp4"), folder + QStringLiteral("/IMG_1.jpg") });
        QTabWidget tabs;
        KOVVideoImg* page = pageBesideAnother(tabs);
        QVERIFY(page);
        open(*page, 1, 1, folder);
        QTRY_VERIFY(!page->ocrContext()->busy());
        auto* view = child<KOVFrameView>(page, QString());
        const QImage shown = view->image();
        QJsonObject before;
        page->saveData(before);
        const QByteArray cached = KOVTest::readAll(before.value("testPoint").toObject().value("img").toString());
        QVERIFY(!shown.isNull());

        for (int round = 0; round < 2; ++round) {
            tabs.setCurrentIndex(1);
            QVERIFY(page->imageDropped() && view->image().isNull());
            if (round == 0 && spoilt == "moved")
                QVERIFY(QDir().rename(folder, folder + QStringLiteral("_moved")));
            else if (round == 0 && spoilt == "removed")
                QVERIFY(QFile::remove(file));
            else if (round == 0)
                QVERIFY(KOVMediaFixture::writeFile(file, spoilt == "halved"
                                                       ? KOVTest::readAll(file).left(QFileInfo(file).size() / 2)
                                                       : QByteArray(300 * 1024, 'k')));
            KOVWarningCatcher log;
            tabs.setCurrentIndex(0);
            const double diff = meanDiff(view->image(), shown);
            QVERIFY2(diff >= 0 && diff < 2.0, qPrintable(QStringLiteral("round %1: %2").arg(round).arg(diff)));
            QCOMPARE(log.warnings().filter(QStringLiteral("picture unreadable")).filter(file).size(), 1);
        }
        QJsonObject after;
        page->saveData(after);
        QCOMPARE(withoutPictureName(after), withoutPictureName(before));
        QCOMPARE(KOVTest::readAll(after.value("testPoint").toObject().value("img").toString()), cached);
    }
};

QTEST_MAIN(TstDroppedPage)
#include "tst_droppedpage.moc"
