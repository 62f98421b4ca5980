// Every text the windows show fits its widget, in both languages, with the
// application's own font: a clipped label is a text the user cannot read.
#include "kovabout.h"
#include "kovreportexport.h"
#include "kovstartup.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

// "class object: text (needs x, has y)" for each shown text wider than its
// widget.
QStringList clippedTexts(QWidget* top)
{
    QStringList out;
    const auto widgets = top->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(top))
            continue;
        int need = 0;
        int have = 0;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->wordWrap() || l->text().isEmpty() || l->textFormat() == Qt::RichText)
                continue;
            text = l->text();
            need = l->fontMetrics().horizontalAdvance(text);
            have = l->contentsRect().width() - 2 * l->margin();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            if (b->text().isEmpty())
                continue;
            text = b->text();
            need = b->sizeHint().width();
            have = b->width();
        } else {
            continue;
        }
        if (need > have)
            out << QStringLiteral("%1 %2: \"%3\" needs %4, has %5")
                       .arg(QLatin1String(w->metaObject()->className()), w->objectName(), text)
                       .arg(need)
                       .arg(have);
    }
    return out;
}

} // namespace

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        kovSetApplicationFont();
    }

    // Without the intended face the wide fallback overruns the labels; the
    // substitute must be a face that is really there.
    void applicationFace()
    {
        const QString family = QFontInfo(QApplication::font()).family();
        if (QFontDatabase().families().contains(QStringLiteral("微软雅黑")))
            QCOMPARE(family, QStringLiteral("微软雅黑"));
        else
            QCOMPARE(family, QStringLiteral("Noto Sans CJK SC"));
        QCOMPARE(QApplication::font().pointSize(), 10);
    }

    void windowsShowWholeTexts_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("catalogue");
        for (const char* window : {"main window", "About"}) {
            QTest::addRow("%s, Chinese", window) << window << ":/style/font/Translate_CH.qm";
            QTest::addRow("%s, English", window) << window << ":/style/font/Translate_EN.qm";
        }
    }
    void windowsShowWholeTexts()
    {
        QFETCH(QString, window);
        QFETCH(QString, catalogue);
        QTranslator t;
        QVERIFY(t.load(catalogue));
        qApp->installTranslator(&t);
        std::unique_ptr<QWidget> w;
        if (window == QLatin1String("main window"))
            w.reset(new KOVReportExport);
        else
            w.reset(new KOVAbout);
        qApp->removeTranslator(&t);
        const QStringList clipped = clippedTexts(w.get());
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
