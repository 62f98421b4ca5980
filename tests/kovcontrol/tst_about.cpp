// The About window: its texts in both languages, its fixed size, its icon,
// and text that stays inside its labels at any screen scale.
#include "kovabout.h"
#include "kovinformation.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QSettings>
#include <QTranslator>
#include <QtTest>

namespace {

const char* const kPurposeSource = "View and analyze the data of pictures and videos shot by the adaptive handheld "
                                   "acoustic imager, edit and output the corresponding test report";

QString catalogueFor(const QString& language)
{
    return language == QLatin1String("CH") ? QStringLiteral(":/style/font/Translate_CH.qm")
                                           : QStringLiteral(":/style/font/Translate_EN.qm");
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The state object reads the settings once, at its first use.
        QDir().mkpath(QStringLiteral("cfg"));
        QFile::remove(QStringLiteral("cfg/config.ini"));
        QSettings s(QStringLiteral("cfg/config.ini"), QSettings::IniFormat);
        s.setValue(QStringLiteral("/OEM_Info/title_ch"), QStringLiteral("声学成像报告工具"));
        s.setValue(QStringLiteral("/Language/id"), 0);
        s.sync();
        QCOMPARE(KOVInformation::Instance()->AppTitle(), QStringLiteral("声学成像报告工具"));
    }

    void init()
    {
        KOVInformation::Instance()->setScreenDPI(96.0);
        QDir(QStringLiteral("OEM")).removeRecursively();
    }

    void texts_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("purpose");
        QTest::newRow("none") << QString() << "About" << kPurposeSource;
        QTest::newRow("Chinese") << "CH" << "关于"
                                 << "对适配的手持式工业声学成像仪拍摄的图片和视频文件进行数据查看分析，编辑输出对应的测试报告";
        QTest::newRow("English") << "EN" << "About"
                                 << "View and analyze the data of pictures and videos shot by the adaptive handheld "
                                    "industrial acoustic imager, edit and output the corresponding test report";
    }
    void texts()
    {
        QFETCH(QString, catalogue);
        QFETCH(QString, title);
        QFETCH(QString, purpose);
        QTranslator t;
        if (!catalogue.isEmpty()) {
            QVERIFY(t.load(catalogueFor(catalogue)));
            qApp->installTranslator(&t);
        }
        KOVAbout about;
        qApp->removeTranslator(&t);
        QCOMPARE(about.windowTitle(), title);
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("appFunction"))->text(), purpose);
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("appVersion"))->text(), QStringLiteral("V1.8.0"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("appTitle"))->text(), QStringLiteral("声学成像报告工具"));
        QVERIFY(about.isHidden());
    }

    void cannotBeResized()
    {
        KOVAbout about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.resize(900, 500);
        QCOMPARE(about.size(), QSize(560, 270));
        about.resize(100, 100);
        QCOMPARE(about.size(), QSize(560, 270));
    }

    void icon_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("no icon file") << false;
        QTest::newRow("icon file, other aspect") << true;
    }
    void icon()
    {
        QFETCH(bool, present);
        if (present) {
            QDir().mkpath(QStringLiteral("OEM"));
            QImage img(64, 32, QImage::Format_ARGB32);
            img.fill(Qt::red);
            QVERIFY(img.save(QStringLiteral("OEM/icon.png")));
        }
        KOVAbout about;
        const QLabel* picture = about.findChild<QLabel*>(QStringLiteral("imgLabel"));
        QCOMPARE(about.windowIcon().pixmap(32, 32).isNull(), !present);
        const QPixmap shown = picture->pixmap(Qt::ReturnByValue);
        QCOMPARE(!shown.isNull(), present);
        if (present)
            QCOMPARE(shown.size(), QSize(100, 100));
        // The texts show either way.
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("appVersion"))->text(), QStringLiteral("V1.8.0"));
    }

    // The window keeps its pixels while fonts in points grow with the
    // screen: every text must still fit its label.
    void textFitsAtScale_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QString>("catalogue");
        for (double dpi : {96.0, 120.0, 144.0, 192.0})
            for (const char* lang : {"CH", "EN"})
                QTest::addRow("%s at %g dpi", lang, dpi) << dpi << QString::fromLatin1(lang);
    }
    void textFitsAtScale()
    {
        QFETCH(double, dpi);
        QFETCH(QString, catalogue);
        QTranslator t;
        QVERIFY(t.load(catalogueFor(catalogue)));
        qApp->installTranslator(&t);
        KOVInformation::Instance()->setScreenDPI(dpi);
        KOVAbout about;
        qApp->removeTranslator(&t);
        for (const char* name : {"appTitle", "appVersion", "appFunction"}) {
            const QLabel* label = about.findChild<QLabel*>(QString::fromLatin1(name));
            // The pixels the label's font takes on a screen of this dpi.
            QFont font = label->font();
            font.setPixelSize(qRound(label->font().pointSizeF() * dpi / 72.0));
            const QRect need = QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), label->size()),
                                                               Qt::TextWordWrap | int(label->alignment()),
                                                               label->text());
            QVERIFY2(need.height() <= label->height() && need.width() <= label->width(),
                     qPrintable(QStringLiteral("%1 needs %2 x %3 in %4 x %5")
                                    .arg(QLatin1String(name))
                                    .arg(need.width())
                                    .arg(need.height())
                                    .arg(label->width())
                                    .arg(label->height())));
        }
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
