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
    QWidget* box;
    QLabel* label;

    explicit Stage(const QSize& labelSize)
    {
        top.setStyleSheet(QStringLiteral("background-color: rgb(243, 244, 248);"));
        top.resize(labelSize + QSize(40, 40));
        box = new QWidget(&top);
        box->setAttribute(Qt::WA_StyledBackground);
        box->setStyleSheet(QStringLiteral("background-color: rgb(255, 255, 255);\nborder-radius: 5px;"));
        box->setGeometry(5, 5, labelSize.width() + 30, labelSize.height() + 30);
        label = new QLabel(box);
        label->setStyleSheet(QStringLiteral("border: 1px solid rgb(186,186,186);"));
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(10, 15, labelSize.width(), labelSize.height());
    }
};

QImage picture(const QSize& size, bool alpha)
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

QImage grabAll(Stage& s)
{
    s.top.show();
    QCoreApplication::processEvents();
    return s.top.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The point of the view: a new frame repaints the view alone, not the
// label, box and window backgrounds beneath it.
class PaintCounter : public QObject
{
public:
    QList<QObject*> painted;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            painted << o;
        return false;
    }
};

class TstFrameView : public QObject
{
    Q_OBJECT
private slots:
    void looksLikeLabelPixmap_data()
    {
        QTest::addColumn<QSize>("labelSize");
        QTest::addColumn<QSize>("imageSize"); // invalid: no picture
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("opaque");
        QTest::newRow("video frame of the label's size") << QSize(204, 120) << QSize(204, 120) << false << true;
        QTest::newRow("frame of the contents size") << QSize(204, 120) << QSize(202, 118) << false << true;
        QTest::newRow("odd excess, width") << QSize(205, 120) << QSize(204, 120) << false << true;
        QTest::newRow("odd excess, height") << QSize(204, 121) << QSize(204, 120) << false << true;
        QTest::newRow("frame larger than the label") << QSize(204, 120) << QSize(300, 200) << false << true;
        QTest::newRow("small picture") << QSize(204, 120) << QSize(90, 50) << false << false;
        QTest::newRow("one pixel short") << QSize(204, 120) << QSize(201, 118) << false << false;
        QTest::newRow("wide picture") << QSize(204, 120) << QSize(204, 60) << false << false;
        QTest::newRow("sign with transparency") << QSize(204, 120) << QSize(204, 120) << true << false;
        QTest::newRow("nothing shown") << QSize(204, 120) << QSize() << false << false;
    }
    void looksLikeLabelPixmap()
    {
        QFETCH(QSize, labelSize);
        QFETCH(QSize, imageSize);
        QFETCH(bool, alpha);
        const QImage img = imageSize.isValid() ? picture(imageSize, alpha) : QImage();

        Stage before(labelSize);
        if (!img.isNull())
            before.label->setPixmap(QPixmap::fromImage(img));
        const QImage expected = grabAll(before);

        Stage after(labelSize);
        KOVFrameView* view = new KOVFrameView(after.label);
        view->setImage(img);
        const QImage actual = grabAll(after);

        QCOMPARE(view->geometry(), after.label->contentsRect());
        QTEST(view->testAttribute(Qt::WA_OpaquePaintEvent), "opaque");
        QCOMPARE(actual.size(), expected.size());
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x)
                if (actual.pixel(x, y) != expected.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, the label drew %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(actual.pixel(x, y), 8, 16)
                                         .arg(expected.pixel(x, y), 8, 16)));

        // Clearing shows the bare label again.
        view->setImage(QImage());
        QVERIFY(!view->testAttribute(Qt::WA_OpaquePaintEvent));
        Stage bare(labelSize);
        QCOMPARE(grabAll(after), grabAll(bare));
    }

    void followsLabelResize()
    {
        // A screen scale resizes the label after the view was made, visible or
        // not; a thicker border changes the contents rectangle.
        Stage s(QSize(100, 60));
        KOVFrameView* view = new KOVFrameView(s.label);
        view->setImage(picture(QSize(100, 60), false));
        s.label->setGeometry(12, 18, 125, 75);
        s.top.show();
        QCoreApplication::processEvents();
        QCOMPARE(view->geometry(), s.label->contentsRect());
        QVERIFY(!view->testAttribute(Qt::WA_OpaquePaintEvent)); // now smaller than the label
        view->setImage(picture(QSize(125, 75), false));
        QVERIFY(view->testAttribute(Qt::WA_OpaquePaintEvent));
        s.label->setStyleSheet(QStringLiteral("border: 4px solid rgb(186,186,186);"));
        QCoreApplication::processEvents();
        QCOMPARE(view->geometry(), s.label->contentsRect());
        QCOMPARE(view->geometry(), QRect(4, 4, 117, 67));
        // Clicks pass through to the label.
        QVERIFY(view->testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void disabledLabelGreysThePicture()
    {
        Stage before(QSize(120, 80));
        before.label->setPixmap(QPixmap::fromImage(picture(QSize(120, 80), false)));
        before.label->setEnabled(false);
        Stage after(QSize(120, 80));
        KOVFrameView* view = new KOVFrameView(after.label);
        view->setImage(picture(QSize(120, 80), false));
        after.label->setEnabled(false);
        QVERIFY(!view->testAttribute(Qt::WA_OpaquePaintEvent));
        QCOMPARE(grabAll(after), grabAll(before));
        after.label->setEnabled(true);
        QVERIFY(view->testAttribute(Qt::WA_OpaquePaintEvent));
    }

    void newFrameRepaintsOnlyTheView()
    {
        Stage s(QSize(204, 120));
        KOVFrameView* view = new KOVFrameView(s.label);
        view->setImage(picture(QSize(204, 120), false));
        s.top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.top));
        QCoreApplication::processEvents();
        PaintCounter counter;
        for (QObject* o : { static_cast<QObject*>(&s.top), static_cast<QObject*>(s.box),
                 static_cast<QObject*>(s.label), static_cast<QObject*>(view) })
            o->installEventFilter(&counter);
        // As the page does it: the old frame let go, then the new one shown.
        view->setImage(QImage());
        view->setImage(picture(QSize(204, 120), false).mirrored());
        QTRY_VERIFY(counter.painted.contains(view));
        QCOMPARE(counter.painted, QList<QObject*>() << view);
    }
};

QTEST_MAIN(TstFrameView)
#include "tst_frameview.moc"
