// The frame view draws the shown picture exactly as the frame label drew it
// as its pixmap, inside the label's style-sheet border, and paints every
// pixel itself only when the picture hides the whole contents rectangle.
#include "kovframeview.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

namespace {

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

class TstFrameView : public QObject
{
    Q_OBJECT
private slots:
    void looksLikeLabelPixmap_data()
    {
        QTest::addColumn<QSize>("labelSize");
        QTest::addColumn<QSize>("imageSize"); // invalid: no picture
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("opaque");
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

    // A screen scale resizes the label after the view was made, visible or
    // not; a thicker border changes the contents rectangle.
    void followsLabelResize()
    {
        Stage s(QSize(100, 60));
        auto* view = new KOVFrameView(s.label);
        view->setImage(picture(QSize(100, 60)));
        s.label->setGeometry(12, 18, 125, 75);
        s.grab();
        QCOMPARE(view->geometry(), s.label->contentsRect());
        QVERIFY(!view->testAttribute(Qt::WA_OpaquePaintEvent)); // now smaller than the label
        view->setImage(picture(QSize(125, 75)));
        QVERIFY(view->testAttribute(Qt::WA_OpaquePaintEvent));
        s.label->setStyleSheet(QStringLiteral("border: 4px solid rgb(186,186,186);"));
        QCoreApplication::processEvents();
        QCOMPARE(view->geometry(), QRect(4, 4, 117, 67));
        QVERIFY(view->testAttribute(Qt::WA_TransparentForMouseEvents)); // clicks reach the label
    }

    // The point of the view: a new frame repaints the view alone, not the
    // label, box and window backgrounds beneath it.
    void newFrameRepaintsOnlyTheView()
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
    }
};

QTEST_MAIN(TstFrameView)
#include "tst_frameview.moc"
