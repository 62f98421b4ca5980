// The main window as an application shell: screen scale, language choice,
// the About window and the toolkit's own texts.
#include "kovabout.h"
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "kovreportexport.h"
#include "kovstartup.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

const char* const kAdvice = "切换屏幕缩放比例后，\r\n以下控件显示会不适配：\t\r\n    菜单栏下拉项、时域波形相关绘图标签\r\n\r\n推荐重启软件！";

int storedLanguage()
{
    return QSettings(QStringLiteral("./cfg/config.ini"), QSettings::IniFormat)
        .value(QStringLiteral("/Language/id"), -100)
        .toInt();
}

// As the window scales: truncating, where QSize's own product rounds.
QSize scaled(QSize s, double r)
{
    return QSize(int(s.width() * r), int(s.height() * r));
}

KOVAbout* aboutWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* a = qobject_cast<KOVAbout*>(top))
            return a;
    return nullptr;
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QStringList m_asked; // "title|text|buttons" of each message box

    // A user directory with one picture per item folder, imported.
    void importItems(KOVReportExport& w, const QStringList& items)
    {
        const QString dir = m_root.filePath(QStringLiteral("items"));
        QFile(dir + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        for (const QString& item : items) {
            QDir().mkpath(dir + QLatin1Char('/') + item);
            QImage img(32, 20, QImage::Format_RGB32);
            img.fill(Qt::gray);
            img.save(dir + QLatin1Char('/') + item + QLatin1Char('/') + item + QStringLiteral(".jpg"));
        }
        KOVFileDialog::s_chooseHook = [dir](const QString&) { return dir; };
        w.importFiles();
        KOVFileDialog::s_chooseHook = nullptr;
    }

    static QSize inner(KOVReportExport& w)
    {
        return w.findChild<QWidget*>(QStringLiteral("scrollAreaWidgetContents"))->size();
    }

private slots:
    void initTestCase()
    {
        QDir().mkpath(m_root.filePath(QStringLiteral("items")));
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList& buttons) {
            m_asked << title + QLatin1Char('|') + text + QLatin1Char('|') + buttons.join(QLatin1Char(','));
            return 0;
        };
    }

    void init()
    {
        m_asked.clear();
        KOVInformation::Instance()->setScreenDPI(96.0);
    }

    // Rows imported before and after the change get the same size, so the
    // entries fill their rows at every scale.
    void refreshSizeAt144()
    {
        KOVReportExport w;
        w.refreshSize(96); // from the test screen's own scale, as a 96 dpi start
        importItems(w, {"a", "b"});
        const QSize before = w.size();
        const QSize contents = inner(w);
        QSignalSpy spy(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged);
        w.refreshSize(144);

        QCOMPARE(KOVInformation::Instance()->getScreenDPI(), 144.0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 1.5);
        QCOMPARE(w.maximumSize(), QSize(2397, 2250));
        QCOMPARE(w.size(), scaled(before, 1.5));
        QCOMPARE(inner(w), scaled(contents, 1.5));
        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"));
        QCOMPARE(tabs->iconSize(), QSize(30, 30));
        QVERIFY(tabs->styleSheet().startsWith(QLatin1String("QTabBar::tab {width: 300; height: 45;}")));
        QCOMPARE(w.styleSheet(), QStringLiteral("QMenuBar { width: 75px;}"));
        // Fixed sizes a rescale cannot reach: at 20 pixels the path loses its underscores.
        QStringList status;
        for (QLabel* l : w.statusBar()->findChildren<QLabel*>())
            status << QStringLiteral("%1x%2").arg(l->width()).arg(l->height());
        status.sort();
        QCOMPARE(status, (QStringList{"2250x30", "75x30"}));

        importItems(w, {"a", "b", "c"});
        auto* list = w.findChild<QListWidget*>(QStringLiteral("listWidget"));
        QCOMPARE(list->count(), 3);
        for (int r = 0; r < list->count(); ++r) {
            QCOMPARE(list->item(r)->sizeHint(), QSize(315, 37));
            QCOMPARE(w.itemEntries().at(r)->size(), QSize(315, 37));
        }
        QVERIFY(m_asked.isEmpty()); // the advice belongs to a change of the screen
    }

    // Each step scales by new / previous factor from what the last left,
    // advising a restart each time; unusable scales change nothing.
    void screenChanges()
    {
        KOVReportExport w;
        w.refreshSize(96);
        w.resize(1598, 1000); // as wide as the maximum: it must grow past the old one
        const QSize base = inner(w);
        QSignalSpy spy(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged);
        w.slotLogicalDotsPerInchChanged(120);
        const QSize at120 = scaled(base, 1.25);
        QCOMPARE(inner(w), at120);
        QCOMPARE(m_asked, QStringList{QStringLiteral("提示|") + QString::fromUtf8(kAdvice) + QStringLiteral("|是")});

        for (double refused : {0.0, -144.0}) {
            w.slotLogicalDotsPerInchChanged(refused);
            w.refreshSize(refused);
        }
        QCOMPARE(spy.count(), 1);
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(KOVInformation::Instance()->getScreenDPI(), 120.0);
        QCOMPARE(inner(w), at120);

        w.slotLogicalDotsPerInchChanged(144); // from 120, not from a refused value
        const QSize at144 = scaled(at120, 1.2);
        QCOMPARE(inner(w), at144);
        QCOMPARE(w.size(), QSize(2396, 1500)); // 1598 x 1.25 x 1.2, past 120 dpi's maximum of 1997
        w.slotLogicalDotsPerInchChanged(96);
        QCOMPARE(inner(w), scaled(at144, 1 / 1.5));
        QCOMPARE(w.maximumSize(), QSize(1598, 1500));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(m_asked.size(), 3);
    }

    void languageChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("English from Chinese") << "actionEnglish" << 0 << 1;
        QTest::newRow("English while English") << "actionEnglish" << 1 << 1;
        QTest::newRow("Chinese from another id") << "actionChinese" << 7 << 0;
    }
    void languageChoice()
    {
        QFETCH(QString, action);
        QFETCH(int, before);
        QFETCH(int, after);
        KOVInformation::Instance()->setLanguageId(before);
        KOVReportExport w;
        const QString importText = w.findChild<QAction*>(QStringLiteral("actionImport"))->text();
        w.findChild<QAction*>(action)->trigger();
        QCOMPARE(storedLanguage(), after);
        QCOMPARE(m_asked, QStringList{QStringLiteral("提示|重启软件，语言设置生效|是")});
        // Only the next start changes the texts.
        QCOMPARE(w.findChild<QAction*>(QStringLiteral("actionImport"))->text(), importText);
    }

    // A choice that could not be saved is not promised for the next start.
    void languageChoiceNotSaved()
    {
        KOVInformation::Instance()->setLanguageId(0);
        KOVReportExport w;
        QDir(QStringLiteral("cfg")).removeRecursively();
        QFile block(QStringLiteral("cfg")); // a file where the folder should be
        QVERIFY(block.open(QIODevice::WriteOnly));
        block.close();
        w.findChild<QAction*>(QStringLiteral("actionEnglish"))->trigger();
        QFile::remove(QStringLiteral("cfg"));
        QDir().mkpath(QStringLiteral("cfg"));
        QCOMPARE(m_asked.size(), 1);
        QVERIFY2(m_asked.at(0).startsWith(QStringLiteral("警告|")), qPrintable(m_asked.at(0)));
        QVERIFY(m_asked.at(0).endsWith(QStringLiteral("./cfg/config.ini|是")));
        QCOMPARE(storedLanguage(), -100); // nothing on disk
    }

    void about_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("purpose");
        QTest::newRow("no catalogue, no icon file")
            << QString() << false << "About"
            << "View and analyze the data of pictures and videos shot by the adaptive handheld acoustic imager, "
               "edit and output the corresponding test report";
        QTest::newRow("Chinese, icon of another aspect") << "CH" << true << "关于"
                                 << "对适配的手持式工业声学成像仪拍摄的图片和视频文件进行数据查看分析，编辑输出对应的测试报告";
        QTest::newRow("English") << "EN" << false << "About"
                                 << "View and analyze the data of pictures and videos shot by the adaptive handheld "
                                    "industrial acoustic imager, edit and output the corresponding test report";
    }
    void about()
    {
        QFETCH(QString, catalogue);
        QFETCH(bool, icon);
        QFETCH(QString, title);
        QFETCH(QString, purpose);
        QDir(QStringLiteral("OEM")).removeRecursively();
        if (icon) {
            QDir().mkpath(QStringLiteral("OEM"));
            QImage img(64, 32, QImage::Format_ARGB32);
            img.fill(Qt::red);
            QVERIFY(img.save(QStringLiteral("OEM/icon.png")));
        }
        QTranslator t;
        if (!catalogue.isEmpty()) {
            QVERIFY(t.load(QStringLiteral(":/style/font/Translate_%1.qm").arg(catalogue)));
            qApp->installTranslator(&t);
        }
        KOVReportExport w;
        const QRect g = w.geometry();
        qApp->removeTranslator(&t);
        KOVAbout* about = aboutWindow();
        QVERIFY(about && about->isHidden());
        QCOMPARE(w.findChildren<KOVAbout*>().size(), 0); // a window of its own
        QCOMPARE(about->windowTitle(), title);
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("appFunction"))->text(), purpose);
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("appVersion"))->text(), QStringLiteral("V1.8.0"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("appTitle"))->text(), KOVInformation::Instance()->AppTitle());
        QCOMPARE(about->windowIcon().pixmap(32, 32).isNull(), !icon);
        const QPixmap picture = about->findChild<QLabel*>(QStringLiteral("imgLabel"))->pixmap(Qt::ReturnByValue);
        QCOMPARE(picture.isNull() ? QSize() : picture.size(), icon ? QSize(100, 100) : QSize());
        about->resize(900, 500);
        QCOMPARE(about->size(), QSize(560, 270));

        // Help > About shows it, once, centred on the window as it was built.
        w.setGeometry(100, 50, 1400, 900);
        w.findChild<QAction*>(QStringLiteral("actionAbout"))->trigger();
        w.findChild<QAction*>(QStringLiteral("actionAbout"))->trigger();
        QVERIFY(about->isVisible());
        QCOMPARE(aboutWindow(), about);
        QCOMPARE(about->pos(), QPoint(g.x() + (g.width() - 560) / 2, g.y() + (g.height() - 270) / 2));
    }

    // Left open, the About window must not keep the program running.
    void closingQuitsWithAboutOpen()
    {
        KOVReportExport w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QAction*>(QStringLiteral("actionAbout"))->trigger();
        bool timedOut = false;
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        QTimer::singleShot(5000, [&timedOut] {
            timedOut = true;
            qApp->exit(1);
        });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!timedOut);
    }

    // Standard buttons and dialogs follow the chosen language. Last: the
    // catalogues stay installed for the rest of the run, as in the program.
    void standardDialogsFollowLanguage()
    {
        const auto texts = [] {
            QMessageBox box;
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog, true);
            return QStringList{box.button(QMessageBox::Ok)->text(), box.button(QMessageBox::Cancel)->text(),
                               dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text()};
        };
        kovInstallCatalogues(1);
        QCOMPARE(texts(), (QStringList{"OK", "Cancel", "Look in:"}));
        QVERIFY2(QFile::exists(kovQtTranslationFile(0)), qPrintable(kovQtTranslationFile(0)));
        kovInstallCatalogues(0);
        QCOMPARE(texts(), (QStringList{"确定", "取消", "查找范围："}));
        KOVReportExport w; // our own catalogue beside it
        QCOMPARE(w.findChild<QAction*>(QStringLiteral("actionAbout"))->text(), QStringLiteral("关于"));
    }

    void cleanupTestCase()
    {
        KOVMessageBox::s_answer = nullptr;
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
