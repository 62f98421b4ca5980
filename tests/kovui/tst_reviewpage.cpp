// The review page as a whole: modes, showing items, the road an item takes,
// playback of a video whose frames carry their index, frame and label
// information, saving the label. The frame view draws the shown picture
// exactly as the frame label drew it as its pixmap, inside the label's
// style-sheet border, and paints every pixel itself only when the picture
// hides the whole contents rectangle.
#include "kovframeinfotext.h"
#include "kovframeview.h"
#include "kovinformation.h"
#include "kovmessagebox.h"
#include "kovocrcontext.h"
#include "kovocrengine.h"
#include "kovvideotime.h"
#include "pagetesthelp.h"
#include "reviewfixture.h"
#include "kovtable.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

using namespace PageTest;
using ReviewFixture::Item;

namespace {

QString text(QWidget* page, const char* name)
{
    if (auto* l = page->findChild<QLabel*>(QLatin1String(name)))
        return l->text();
    return child<QLineEdit>(page, name)->text();
}


// The page's arrangement in small: a white rounded box around a bordered
// label whose picture is centred.
struct Stage
{
    QWidget top;
    QWidget* box = new QWidget(&top);
    QLabel* label = new QLabel(box);

    explicit Stage(const QSize& labelSize, bool enabled = true)
    {
        top.setStyleSheet(QStringLiteral("background-color: rgb(243, 244, 248);"));
        top.resize(labelSize + QSize(40, 40));
        box->setAttribute(Qt::WA_StyledBackground);
        box->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 255);\nborder-radius: 5px;"));
        box->setGeometry(5, 5, labelSize.width() + 30, labelSize.height() + 30);
        label->setStyleSheet(QStringLiteral("border: 1px solid rgb(186,186,186);"));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(10, 15, labelSize.width(), labelSize.height());
        label->setEnabled(enabled);
    }
    QImage grab()
    {
        top.show();
        QCoreApplication::processEvents();
        return top.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

QImage picture(const QSize& size, bool alpha = false)
{
    QImage img(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    img.fill(alpha ? QColor(0, 0, 0, 0) : QColor(20, 40, 60));
    QPainter p(&img);
    // Distinct corners and edges, so a pixel of misplacement shows.
    p.fillRect(0, 0, 3, 3, Qt::red);
    p.fillRect(size.width() - 3, size.height() - 3, 3, 3, Qt::green);
    p.setPen(QColor(200, 200, 0, alpha ? 128 : 255));
    p.drawLine(0, size.height() / 2, size.width() - 1, size.height() / 2 + 1);
    p.drawRect(1, 1, size.width() - 3, size.height() - 3);
    return img;
}

// Paint events seen by the objects it watches.
struct PaintLog : QObject
{
    QList<QObject*> painted;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted << o;
        return false;
    }
};

} // namespace

class TstReviewPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        using K = KOVGen::ItemKind;
        const QString r = m_root.path();
        m_items << ReviewFixture::makeItem(r, "pic", "IMG_gas.jpg", K::Picture, 1, 0, true, 7)
                << ReviewFixture::makeItem(r, "video", "VID_12.mp4", K::Video, m_videoFrames, 1, true, 8)
                << ReviewFixture::makeItem(r, "one", "VID_one.mp4", K::Video, 1, -1, true, 9)
                << ReviewFixture::makeItem(r, "bad", "VID_bad.mp4", K::Video, 2, -1, true, 10)
                << ReviewFixture::makeItem(r, "nodat", "IMG_nodat.jpg", K::Picture, 1, -1, false, 12)
                << ReviewFixture::makeItem(r, "pic elec", "IMG_elec.jpg", K::Picture, 1, 1, true, 13)
                << ReviewFixture::makeItem(r, "v", "x.jpg.mp4", K::Video, 3, -1, true, 21)
                << ReviewFixture::makeItem(r, "p", "x.mp4.jpg", K::Picture, 1, -1, true, 22)
                << ReviewFixture::makeItem(r, "upper", "IMG_UP.JPG", K::Picture, 1, -1, true, 11)
                << ReviewFixture::makeItem(r, "locked", "IMG_locked.jpg", K::Picture, 1, 0, true, 25);
        for (const Item& i : m_items)
            QVERIFY2(!i.path.isEmpty(), "fixture item not written");
        QFile bad(m_items[BadVideo].path);
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate) && bad.write(QByteArray(4096, '\x5a')) > 0);
        // A label file that cannot be written: a folder stands where it would be.
        const QString label = m_items[Unwritable].dir + QStringLiteral("itemInfo.ini");
        QVERIFY(QFile::remove(label) && QDir().mkpath(label));
        ReviewFixture::publish(m_items);
    }
    void cleanup() { KOVMessageBox::s_answer = nullptr; }

    // No row before the first or past the last is shown. A picture shown
    // twice keeps one entry; the next, without information, takes nothing of it.
    void pictures()
    {
        KOVVideoImg page;
        open(page, 0);
        QList<KOVTestPointInfo> sent;
        connect(&page, &KOVVideoImg::sigPointInfoChanged, this, [&sent](KOVTestPointInfo_t i) { sent << i; });
        for (int bad : { -1, int(ItemCount) })
            page.showItem(bad, m_items[Pic].dir);
        QVERIFY(page.shownItem() == -1 && sent.isEmpty() && page.pointInfo().name.isEmpty());
        page.showItem(Pic, m_items[Pic].dir);
        page.showItem(Pic, m_items[Pic].dir);
        QVERIFY(!sent.isEmpty() && sent.last().imgInfoList.size() == 1);
        const KOVTestPointInfo& rec = page.pointInfo();
        QVERIFY(rec.type == ItemType::photo && rec.name == m_items[Pic].name);
        const KOVGen::Frame f = KOVGen::makeFrames(7, 1)[0];
        QCOMPARE(text(&page, "infoFreqBandwidth"), KOVFrameInfoText::bandText(f.freqBandLow, f.freqBandHigh));
        QCOMPARE(text(&page, "infoUltrasonic"), ReviewFixture::ultrasonicText(0));
        QCOMPARE(rec.imgInfoList.value(0).ultrasonic, ReviewFixture::ultrasonicText(0));
        QCOMPARE(text(&page, "infoTime"), QStringLiteral("2024-03-15 10:15"));
        QVERIFY(child(&page, "oldFileVersion")->isHidden());
        QCOMPARE(rec.leakageLevel, QString::number(f.leakLevel, 'f', 1));

        page.showItem(PicNoDat, m_items[PicNoDat].dir);
        QVERIFY(!child(&page, "oldFileVersion")->isHidden());
        for (const char* f : { "infoTime", "infoFreqBandwidth", "infoDynamic", "infoUltrasonic" })
            QCOMPARE(text(&page, f), QStringLiteral("/"));
        QCOMPARE(text(&page, "info_leakValue"), QStringLiteral("0"));
        QVERIFY(page.pointInfo().leakageLevel.isEmpty() && page.pointInfo().imgInfoList.size() == 1);
    }

    // Playback as scripts of steps. n, p: the next and previous buttons; N: the
    // next slot called although its button may be disabled; play: the play
    // button; t: one 40 ms tick; end: wait for the real timer to stop; sK: the
    // slider to K; show: the item shown again; + and -: playing or not; <, !<,
    // > and !>: previous and next enabled or not. A step may end in =K (frame K
    // shown, with index, slider, time and information in agreement) or #K (the
    // index alone).
    void playback_data()
    {
        // before: item shown first on the same page, or -1
        KOVTable::columns<int, int, int, QString>({"item", "before", "frames", "script"});
        QString ticks;
        for (int k = 1; k < m_videoFrames; ++k)
            ticks += QStringLiteral(" t=%1").arg(k);
        QTest::newRow("step, play to the end, play again from the start")
            << int(Video12) << -1 << m_videoFrames
            << QStringLiteral("=0 !< > n=1 n=2 n=3 n=4 n=5 < p p=3 play + end - =11 !> play =0") + ticks
                   + QStringLiteral(" t - =11 N=11");
        // From frame 0 a jump straight to the last frame is ignored; another
        // show starts at frame 0 whatever the slider held.
        QTest::newRow("slider seeks, a move stops playing")
            << int(Video12) << -1 << m_videoFrames
            << QStringLiteral("s7=7 s3=3 s11=11 s0=0 s5=5 s6=6 play s2 -=2 s0 s11=0 s9 show=0");
        QTest::newRow("one frame") << int(Video1) << -1 << 1 << QStringLiteral("=0 !< play + =0 t - =0");
        QTest::newRow("unreadable after a video") << int(BadVideo) << int(Video12) << 0
                                                  << QStringLiteral("#0 play - N#0 s1#0");
    }
    void playback()
    {
        QFETCH(int, item);
        QFETCH(int, before);
        QFETCH(int, frames);
        QFETCH(QString, script);
        KOVVideoImg page;
        open(page, -1);
        if (before >= 0)
            page.showItem(before, m_items[before].dir);
        page.showItem(item, m_items[item].dir);
        QCOMPARE(page.pointInfo().type, ItemType::video);
        QCOMPARE(page.frameCount(), frames);
        QCOMPARE(text(&page, "allCnt"), KOVVideoTime::label(frames));
        auto* slider = child<QSlider>(&page, "horizontalSlider");
        auto* prev = child<QPushButton>(&page, "PB_lastFrame");
        auto* next = child<QPushButton>(&page, "PB_nextFrame");
        if (frames)
            QCOMPARE(slider->maximum(), frames - 1);
        else
            QVERIFY(page.shownFrame().isNull()); // the previous video's frame is gone
        for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int at = step.indexOf(QRegularExpression(QStringLiteral("[=#]")));
            const QString act = at < 0 ? step : step.left(at);
            if (act == QLatin1String("n"))
                next->click();
            else if (act == QLatin1String("p"))
                prev->click();
            else if (act == QLatin1String("N"))
                QVERIFY(QMetaObject::invokeMethod(&page, "on_PB_nextFrame_clicked"));
            else if (act == QLatin1String("play"))
                click(&page, "PB_play");
            else if (act == QLatin1String("t"))
                QVERIFY(QMetaObject::invokeMethod(&page, "slotTimeOut"));
            else if (act == QLatin1String("end"))
                QTRY_VERIFY_WITH_TIMEOUT(!page.isPlaying(), 10000);
            else if (act == QLatin1String("show"))
                page.showItem(item, m_items[item].dir);
            else if (act.startsWith(QLatin1Char('s')))
                slider->setValue(act.mid(1).toInt());
            else if (act == QLatin1String("+") || act == QLatin1String("-"))
                QVERIFY2(page.isPlaying() == (act == QLatin1String("+")), qPrintable(step));
            else if (act.endsWith(QLatin1Char('<')) || act.endsWith(QLatin1Char('>')))
                QVERIFY2((act.endsWith(QLatin1Char('<')) ? prev : next)->isEnabled() == !act.startsWith(QLatin1Char('!')),
                    qPrintable(step));
            else if (!act.isEmpty())
                QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
            if (at < 0)
                continue;
            const int index = step.mid(at + 1).toInt();
            if (step[at] == QLatin1Char('#'))
                QVERIFY2(page.currentFrameIndex() == index, qPrintable(step));
            else
                checkFrame(page, index);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("at step ") + step));
        }
    }

    // The page's groups follow its mode; the label panel follows the item's
    // label, or the report's kind where the item has none.
    void modesAndLabelPanel_data()
    {
        // reportType: -1: the browse page
        KOVTable::columns<int, int, bool, bool, bool, bool>({"reportType", "item", "gas", "prpd", "loss", "result"});
        QTest::newRow("electrical label on gas report") << 0 << int(PicElec) << false << false << true << true;
        QTest::newRow("gas label on electrical report") << 1 << int(Pic) << true << true << false << true;
        QTest::newRow("no label on gas report") << 0 << int(PicNoDat) << true << false << true << true;
        QTest::newRow("no label on browse page") << -1 << int(PicNoDat) << false << true << false << false;
    }
    void modesAndLabelPanel()
    {
        QFETCH(int, reportType);
        QFETCH(int, item);
        QFETCH(bool, gas);
        KOVVideoImg page;
        open(page, reportType, item, m_items[item].dir);
        QTEST(!child(&page, "groupBox_PRPD")->isHidden(), "prpd");
        QTEST(!child(&page, "groupBox_lossEstimation")->isHidden(), "loss");
        QTEST(!child(&page, "groupBox_resultInfo")->isHidden(), "result");
        QCOMPARE(page.pointInfo().leakageData, reportType == 0);
        for (const char* w : { "groupBox_itemInfo_gas", "infoFaultLevel_gas", "groupBox_itemInfo_elec", "infoFaultLevel_elec" })
            QVERIFY2(child(&page, w)->isHidden() == (gas == QByteArray(w).endsWith("elec")), w);
        QVERIFY(page.pointInfo().labelType == !gas && child<QComboBox>(&page, "itemInfoTypeCB")->currentIndex() == !gas);
        if (item == PicElec) {
            const KOVGen::ItemLabel l = KOVGen::electricalLabel(13);
            QCOMPARE(text(&page, "infoFaultSite_elec"), l.faultSiteElec);
            QCOMPARE(page.pointInfo().voltage, l.voltage + l.elecUnit);
        }
    }

    void pagesSaveTheirOwnLabelFiles()
    {
        const QString fileB = m_items[PicElec].dir + "itemInfo.ini";
        const QByteArray beforeB = KOVTest::readAll(fileB);
        KOVVideoImg a;
        a.setQuestion([](const QString&, const QString&) { return true; });
        open(a, 0);
        KOVVideoImg b;
        open(b, 1);
        a.showItem(Pic, m_items[Pic].dir);
        b.showItem(PicElec, m_items[PicElec].dir); // the shared label record is now b's item's

        // Switching a's label type shows a's own item's electrical fields, not b's.
        auto* type = child<QComboBox>(&a, "itemInfoTypeCB");
        type->setCurrentIndex(1);
        QCOMPARE(text(&a, "infoFaultSite_elec"), QStringLiteral("/")); // a's gas label has no electrical site
        type->setCurrentIndex(0);

        b.showItem(PicElec, m_items[PicElec].dir);
        child<QLineEdit>(&a, "infoFaultSite_gas")->setText(QStringLiteral("阀门 A"));
        QVERIFY(QMetaObject::invokeMethod(&a, "on_saveItemInfo_clicked"));
        QCOMPARE(KOVTest::readAll(fileB), beforeB);
        KOVInformation::Instance()->setItemPath(m_items[Pic].dir);
        QCOMPARE(KOVInformation::Instance()->getFaultSite_gas(), QStringLiteral("阀门 A"));
        QCOMPARE(KOVInformation::Instance()->getLabelType(), 0);
    }

    // The reading burnt into the last picture shown reaches the field and the
    // record; a reading of a picture shown before it never overwrites it.
    void pictureReading_data()
    {
        // seed: of the last picture
        KOVTable::columns<QList<int>, quint64>({"shown", "seed"});
        QTest::newRow("one picture") << QList<int>{Pic} << quint64(7);
        QTest::newRow("another shown before the first is read") << QList<int>{Pic, PicElec} << quint64(13);
    }
    void pictureReading()
    {
        if (!KOVOcrEngine::hasLanguageData())
            QSKIP("English OCR data not installed");
        QFETCH(QList<int>, shown);
        QFETCH(quint64, seed);
        KOVVideoImg page;
        open(page, 0);
        int emitted = 0;
        connect(&page, &KOVVideoImg::sigPointInfoChanged, this, [&emitted] { ++emitted; });
        for (int item : shown)
            page.showItem(item, m_items[item].dir);
        const QString expected = KOVGen::readingText(KOVGen::makeFrames(seed, 1)[0].maxSPL)
                                     .replace(QStringLiteral("dB"), QStringLiteral(" dB"));
        QTRY_COMPARE_WITH_TIMEOUT(text(&page, "infoMaxSPL"), expected, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!page.ocrContext()->busy(), 20000);
        QTest::qWait(50);
        QCOMPARE(text(&page, "infoMaxSPL"), expected);
        QCOMPARE(page.pointInfo().name, m_items[shown.last()].name);
        QCOMPARE(page.pointInfo().imgInfoList.size() == 1 ? page.pointInfo().imgInfoList[0].heatSPL : QString(), expected);
        QVERIFY(emitted > shown.size()); // each show, then the reading
    }

    void pageDestroyedWhileRecognising()
    {
        for (int round = 0; round < 3; ++round) {
            auto* page = new KOVVideoImg;
            open(*page, -1, Video12, m_items[Video12].dir);
            for (int k = 0; k < 4; ++k)
                QVERIFY(QMetaObject::invokeMethod(page, "on_PB_nextFrame_clicked"));
            delete page;
            QCoreApplication::processEvents();
        }
        QTest::qWait(100); // the worker threads delete themselves through the event loop
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void roadFollowsImportRule_data()
    {
        // frames: 0: a picture; -1: a video the decoder may read as one still
        KOVTable::columns<int, int>({"item", "frames"});
        QTest::newRow("video whose name holds .jpg") << int(VideoLikePicture) << 3;
        QTest::newRow("picture whose name holds .mp4") << int(PictureLikeVideo) << 0;
        QTest::newRow("upper-case .JPG") << int(UpperJpg) << -1;
    }
    void roadFollowsImportRule()
    {
        QFETCH(int, item);
        QFETCH(int, frames);
        KOVVideoImg page;
        open(page, -1, item, m_items[item].dir);
        QCOMPARE(page.pointInfo().type, frames ? ItemType::video : ItemType::photo);
        if (frames < 0) { // whether OpenCV reads it depends on its backends
            QVERIFY(page.frameCount() <= 1 && (page.shownFrame().isNull() || page.currentFrameIndex() == 0));
            return;
        }
        QVERIFY(page.frameCount() == frames && page.shownFrame().isNull() == !frames);
    }

    // An emptied page keeps nothing of the closed item's label, whichever
    // label type is chosen after.
    void emptiedPageShowsNoLabel_data()
    {
        KOVTable::columns<int, QList<int>>({"item", "switches"});
        QTest::newRow("gas label, there and back") << int(Pic) << QList<int> { 1, 0 };
        QTest::newRow("electrical label, there and back") << int(PicElec) << QList<int> { 0, 1 };
    }
    void emptiedPageShowsNoLabel()
    {
        QFETCH(int, item);
        QFETCH(QList<int>, switches);
        KOVVideoImg page;
        open(page, -1, item, m_items[item].dir);
        QVERIFY(text(&page, item == Pic ? "infoFaultSite_gas" : "infoFaultSite_elec") != QLatin1String("/"));
        page.closeFile(true);
        for (int t : qAsConst(switches)) {
            child<QComboBox>(&page, QStringLiteral("itemInfoTypeCB"))->setCurrentIndex(t);
            for (const char* f : { "infoAirPressure", "infoAirType", "infoFaultSite_gas", "infoDistance",
                     "infoFaultSite_elec", "infoVoltage" })
                QCOMPARE(text(&page, f), QStringLiteral("/"));
        }
    }

    // Saved, or a warning naming the file; declined, the file untouched.
    void labelSave_data()
    {
        KOVTable::columns<int, bool>({"item", "confirmed"});
        QTest::newRow("label file written") << int(Pic) << true;
        QTest::newRow("label file cannot be written") << int(Unwritable) << true;
        QTest::newRow("save declined") << int(PicElec) << false;
    }
    void labelSave()
    {
        QFETCH(int, item);
        QFETCH(bool, confirmed);
        QStringList shown;
        KOVMessageBox::s_answer = [&shown](QMessageBox::Icon icon, const QString& title, const QString& text,
                                      const QStringList&) {
            shown << QStringLiteral("%1|%2|%3").arg(int(icon)).arg(title, text); return 0;
        };
        const QString file = m_items[item].dir + QStringLiteral("itemInfo.ini");
        const QByteArray before = KOVTest::readAll(file);
        KOVVideoImg page;
        QString asked;
        page.setQuestion([&](const QString& title, const QString&) { asked = title; return confirmed; });
        open(page, item == PicElec ? 1 : 0, item, m_items[item].dir);
        child<QLineEdit>(&page, item == PicElec ? "infoDistance" : "infoFaultSite_gas")->setText(QStringLiteral("法兰 B"));
        QVERIFY(QMetaObject::invokeMethod(&page, "on_saveItemInfo_clicked"));
        QCOMPARE(asked, QStringLiteral("提示"));
        QCOMPARE(shown, item != Unwritable ? QStringList()
                                           : QStringList { QStringLiteral("%1|警告|测试点信息未能保存，请检查文件是否可写：%2")
                                                               .arg(int(QMessageBox::Warning))
                                                               .arg(QDir::cleanPath(file)) });
        if (!confirmed)
            QCOMPARE(KOVTest::readAll(file), before);
        if (item != Pic)
            return;
        KOVInformation::Instance()->setItemPath(m_items[item].dir);
        QCOMPARE(KOVInformation::Instance()->getFaultSite_gas(), QStringLiteral("法兰 B"));
    }

    void looksLikeLabelPixmap_data()
    {
        // imageSize: invalid: no picture
        KOVTable::columns<QSize, QSize, bool, bool, bool>({"labelSize", "imageSize", "alpha", "enabled", "opaque"});
        const QSize l(204, 120);
        QTest::newRow("video frame of the label's size") << l << l << false << true << true;
        QTest::newRow("frame of the contents size") << l << QSize(202, 118) << false << true << true;
        QTest::newRow("odd excess, width") << QSize(205, 120) << l << false << true << true;
        QTest::newRow("odd excess, height") << QSize(204, 121) << l << false << true << true;
        QTest::newRow("frame larger than the label") << l << QSize(300, 200) << false << true << true;
        QTest::newRow("one pixel short") << l << QSize(201, 118) << false << true << false;
        QTest::newRow("wide picture") << l << QSize(204, 60) << false << true << false;
        QTest::newRow("sign with transparency") << l << l << true << true << false;
        QTest::newRow("nothing shown") << l << QSize() << false << true << false;
        QTest::newRow("disabled label greys the picture") << l << l << false << false << false;
    }
    void looksLikeLabelPixmap()
    {
        QFETCH(QSize, labelSize);
        QFETCH(QSize, imageSize);
        QFETCH(bool, alpha);
        QFETCH(bool, enabled);
        const QImage img = imageSize.isValid() ? picture(imageSize, alpha) : QImage();
        Stage before(labelSize, enabled);
        if (!img.isNull())
            before.label->setPixmap(QPixmap::fromImage(img));
        Stage after(labelSize);
        auto* view = new KOVFrameView(after.label);
        view->setImage(img);
        after.label->setEnabled(enabled);
        QCOMPARE(after.grab(), before.grab());
        QCOMPARE(view->geometry(), after.label->contentsRect());
        QTEST(view->testAttribute(Qt::WA_OpaquePaintEvent), "opaque");

        // Cleared, the bare label again.
        view->setImage(QImage());
        QVERIFY(!view->testAttribute(Qt::WA_OpaquePaintEvent));
        Stage bare(labelSize, enabled);
        QCOMPARE(after.grab(), bare.grab());
        if (!enabled) { // enabled again, the frame hides the label once more
            view->setImage(img);
            after.label->setEnabled(true);
            QVERIFY(view->testAttribute(Qt::WA_OpaquePaintEvent));
        }
    }

    // The point of the view: a new frame repaints the view alone, not the
    // label, box and window backgrounds beneath it. A screen scale resizes
    // the label after the view was made; a thicker border changes the
    // contents rectangle.
    void newFrameRepaintsOnlyTheViewAndFollowsTheLabel()
    {
        Stage s(QSize(204, 120));
        auto* view = new KOVFrameView(s.label);
        view->setImage(picture(QSize(204, 120)));
        s.top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.top));
        QCoreApplication::processEvents();
        PaintLog log;
        for (QObject* o : std::initializer_list<QObject*> { &s.top, s.box, s.label, view })
            o->installEventFilter(&log);
        // As the page does it: the old frame let go, then the new one shown.
        view->setImage(QImage());
        view->setImage(picture(QSize(204, 120)).mirrored());
        QTRY_VERIFY(log.painted.contains(view));
        QCOMPARE(log.painted, QList<QObject*> { view });
        s.label->setGeometry(12, 18, 255, 150);
        s.grab();
        QCOMPARE(view->geometry(), s.label->contentsRect());
        QVERIFY(!view->testAttribute(Qt::WA_OpaquePaintEvent)); // now smaller than the label
        view->setImage(picture(QSize(255, 150)));
        QVERIFY(view->testAttribute(Qt::WA_OpaquePaintEvent));
        s.label->setStyleSheet(QStringLiteral("border: 4px solid rgb(186,186,186);"));
        QCoreApplication::processEvents();
        QCOMPARE(view->geometry(), QRect(4, 4, 247, 142));
        QVERIFY(view->testAttribute(Qt::WA_TransparentForMouseEvents)); // clicks reach the label
    }
private:
    // The shown frame, the index, the view, the slider, the time label and
    // the frame information agree.
    void checkFrame(KOVVideoImg& page, int index)
    {
        QCOMPARE(page.currentFrameIndex(), index);
        QCOMPARE(KOVGen::decodeFrameIndex(page.shownFrame()), index);
        QCOMPARE(child<KOVFrameView>(&page, QString())->image(), page.shownFrame());
        QCOMPARE(child<QSlider>(&page, "horizontalSlider")->value(), index);
        QCOMPARE(text(&page, "curCnt"), KOVVideoTime::label(index + 1));
        QCOMPARE(text(&page, "infoUltrasonic"), ReviewFixture::ultrasonicText(index));
    }

    QTemporaryDir m_root;
    QList<Item> m_items;
    enum { Pic, Video12, Video1, BadVideo, PicNoDat, PicElec, VideoLikePicture, PictureLikeVideo, UpperJpg, Unwritable,
        ItemCount };
    int m_videoFrames = 12;
};

QTEST_MAIN(TstReviewPage)
#include "tst_reviewpage.moc"
