// The main window as an application shell: screen scale, language choice,
// the About window and closing.
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
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Asked
{
    QString title;
    QString text;
    QStringList buttons;
};

const char* const kAdvice = "切换屏幕缩放比例后，\r\n以下控件显示会不适配：\t\r\n    菜单栏下拉项、时域波形相关绘图标签\r\n\r\n推荐重启软件！";

int storedLanguage()
{
    return QSettings(QStringLiteral("./cfg/config.ini"), QSettings::IniFormat)
        .value(QStringLiteral("/Language/id"), -100)
        .toInt();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QList<Asked> m_asked;
    int m_answer = 0;

    // A user directory with one picture per item folder.
    QString makeUsrDir(const QString& name, const QStringList& items)
    {
        const QString dir = m_root.filePath(name);
        QDir().mkpath(dir);
        QFile(dir + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly);
        for (const QString& item : items) {
            QDir().mkpath(dir + QLatin1Char('/') + item);
            QImage img(32, 20, QImage::Format_RGB32);
            img.fill(Qt::gray);
            img.save(dir + QLatin1Char('/') + item + QLatin1Char('/') + item + QStringLiteral(".jpg"));
        }
        return dir;
    }

    QWidget* contents(KOVReportExport& w)
    {
        return w.findChild<QWidget*>(QStringLiteral("scrollAreaWidgetContents"));
    }

private slots:
    void initTestCase()
    {
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList& buttons) {
            m_asked << Asked{title, text, buttons};
            return m_answer;
        };
    }

    void init()
    {
        m_asked.clear();
        m_answer = 0;
        KOVInformation::Instance()->setScreenDPI(96.0);
    }

    // Rows imported before and after the change get the same size, so the
    // entries fill their rows at every scale.
    void refreshSizeAt144()
    {
        KOVFileDialog::s_chooseHook = [this](const QString&) { return makeUsrDir(QStringLiteral("scale"), {"a", "b"}); };
        KOVReportExport w;
        w.refreshSize(96); // from the test screen's own scale, as a 96 dpi start
        w.importFiles();
        const double r = 1.5;
        const QSize before = w.size();
        const QSize inner = contents(w)->size();
        const int listWidth = w.findChild<QListWidget*>(QStringLiteral("listWidget"))->width();
        QSignalSpy spy(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged);
        w.refreshSize(144);

        QCOMPARE(KOVInformation::Instance()->getScreenDPI(), 144.0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 1.5);
        QCOMPARE(w.maximumSize(), QSize(2397, 2250));
        QCOMPARE(w.size(), QSize(int(before.width() * r), int(before.height() * r)));
        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"));
        QCOMPARE(tabs->iconSize(), QSize(30, 30));
        QVERIFY2(tabs->styleSheet().startsWith(QLatin1String("QTabBar::tab {width: 300; height: 45;}")),
                 qPrintable(tabs->styleSheet()));
        QCOMPARE(w.styleSheet(), QStringLiteral("QMenuBar { width: 75px;}"));
        // The status bar's fixed labels grow too, or the path loses its underscores.
        QStringList status;
        for (QLabel* l : w.statusBar()->findChildren<QLabel*>())
            status << QStringLiteral("%1x%2").arg(l->width()).arg(l->height());
        status.sort();
        QCOMPARE(status, (QStringList{"2250x30", "75x30"}));
        const QSize grown(int(inner.width() * r), int(inner.height() * r));
        QCOMPARE(contents(w)->size(), grown);
        QCOMPARE(tabs->size(), grown);

        auto* list = w.findChild<QListWidget*>(QStringLiteral("listWidget"));
        QCOMPARE(list->spacing(), 3);
        QCOMPARE(list->width(), int(listWidth * r));
        KOVFileDialog::s_chooseHook = [this](const QString&) {
            return makeUsrDir(QStringLiteral("scale"), {"a", "b", "c"});
        };
        w.importFiles();
        QCOMPARE(list->count(), 3);
        for (int r = 0; r < list->count(); ++r) {
            QCOMPARE(list->item(r)->sizeHint(), QSize(315, 37));
            QCOMPARE(w.itemEntries().at(r)->size(), QSize(315, 37));
        }
        QVERIFY(m_asked.isEmpty()); // the advice belongs to a change of the screen, not to start-up
        KOVFileDialog::s_chooseHook = nullptr;
    }

    // Each step scales by new / previous factor, from what the last step
    // left (truncated), and advises a restart once.
    void screenChanges()
    {
        KOVReportExport w;
        w.refreshSize(96); // from the test screen's own scale to the base
        const QSize base = contents(w)->size();
        QSignalSpy spy(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged);
        w.slotLogicalDotsPerInchChanged(120);
        const QSize at120(int(base.width() * 1.25), int(base.height() * 1.25));
        QCOMPARE(contents(w)->size(), at120);
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked.at(0).title, QStringLiteral("提示"));
        QCOMPARE(m_asked.at(0).text, QString::fromUtf8(kAdvice));
        QCOMPARE(m_asked.at(0).buttons, QStringList{QStringLiteral("是")});

        w.slotLogicalDotsPerInchChanged(144);
        const QSize at144(int(at120.width() * 1.2), int(at120.height() * 1.2));
        QCOMPARE(contents(w)->size(), at144);
        QCOMPARE(m_asked.size(), 2);

        w.slotLogicalDotsPerInchChanged(96);
        QCOMPARE(contents(w)->size(), QSize(int(at144.width() / 1.5), int(at144.height() / 1.5)));
        QCOMPARE(w.maximumSize(), QSize(1598, 1500));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(2).at(0).toDouble(), 1.0);
    }

    // A window as wide as the old maximum grows with the scale.
    void growsPastOldMaximum()
    {
        KOVReportExport w;
        w.refreshSize(96);
        w.resize(1598, 1000);
        w.refreshSize(144);
        QCOMPARE(w.size(), QSize(2397, 1500));
    }

    void unusableScaleIgnored_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -144.0;
    }
    void unusableScaleIgnored()
    {
        QFETCH(double, dpi);
        KOVReportExport w;
        w.refreshSize(120);
        const QSize size = w.size();
        const QSize inner = contents(w)->size();
        const QString style = w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"))->styleSheet();
        QSignalSpy spy(KOVMsg::Instance(), &KOVMsg::sigScreenDpiChanged);

        w.slotLogicalDotsPerInchChanged(dpi);
        w.refreshSize(dpi);
        QCOMPARE(spy.count(), 0);
        QVERIFY(m_asked.isEmpty());
        QCOMPARE(KOVInformation::Instance()->getScreenDPI(), 120.0);
        QCOMPARE(w.size(), size);
        QCOMPARE(contents(w)->size(), inner);
        QCOMPARE(w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"))->styleSheet(), style);

        // The next real change still scales from 120, not from the refused value.
        w.refreshSize(144);
        QCOMPARE(contents(w)->size(), QSize(int(inner.width() * 1.2), int(inner.height() * 1.2)));
    }

    void languageChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("English from Chinese") << "actionEnglish" << 0 << 1;
        QTest::newRow("English while English") << "actionEnglish" << 1 << 1;
        QTest::newRow("Chinese from English") << "actionChinese" << 1 << 0;
        QTest::newRow("Chinese from another id") << "actionChinese" << 7 << 0;
    }
    void languageChoice()
    {
        QFETCH(QString, action);
        QFETCH(int, before);
        QFETCH(int, after);
        KOVInformation::Instance()->setLanguageId(before);
        QCOMPARE(storedLanguage(), before);
        KOVReportExport w;
        const QString importText = w.findChild<QAction*>(QStringLiteral("actionImport"))->text();
        w.findChild<QAction*>(action)->trigger();
        QCOMPARE(storedLanguage(), after);
        QCOMPARE(KOVInformation::Instance()->getLanguageId(), after);
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked.at(0).title, QStringLiteral("提示"));
        QCOMPARE(m_asked.at(0).text, QStringLiteral("重启软件，语言设置生效"));
        QCOMPARE(m_asked.at(0).buttons, QStringList{QStringLiteral("是")});
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
        QCOMPARE(m_asked.at(0).title, QStringLiteral("警告"));
        QVERIFY2(m_asked.at(0).text.endsWith(QLatin1String("./cfg/config.ini")), qPrintable(m_asked.at(0).text));
        QCOMPARE(storedLanguage(), -100); // nothing on disk
    }

    void aboutShownOnceCentred()
    {
        KOVReportExport w;
        w.setGeometry(100, 50, 1400, 900);
        QCOMPARE(w.findChildren<KOVAbout*>().size(), 0); // a window of its own, not a child
        QAction* about = w.findChild<QAction*>(QStringLiteral("actionAbout"));
        about->trigger();
        KOVAbout* shown = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* a = qobject_cast<KOVAbout*>(top); a && a->isVisible())
                shown = a;
        QVERIFY(shown);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        about->trigger();
        int visible = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            visible += qobject_cast<KOVAbout*>(top) && top->isVisible();
        QCOMPARE(visible, 1);
        QCOMPARE(shown->size(), QSize(560, 270));
    }

    void aboutCentredAtConstruction()
    {
        KOVReportExport w;
        KOVAbout* about = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* a = qobject_cast<KOVAbout*>(top))
                about = a;
        QVERIFY(about);
        const QRect g = w.geometry();
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

    void closingBrowseOnlyAsksNothing()
    {
        KOVReportExport w;
        w.resize(1401, 902);
        QVERIFY(w.close());
        QVERIFY(m_asked.isEmpty());
        QSettings s(QStringLiteral("./cfg/config.ini"), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("/MainwindowSize/width")).toInt(), 1401);
        QCOMPARE(s.value(QStringLiteral("/MainwindowSize/height")).toInt(), 902);
    }

    // Standard buttons and dialogs follow the chosen language. Last: the
    // catalogues stay installed for the rest of the run, as in the program.
    void standardDialogsFollowLanguage()
    {
        const auto okText = [] {
            QMessageBox box;
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            return box.button(QMessageBox::Ok)->text() + QLatin1Char('/') + box.button(QMessageBox::Cancel)->text();
        };
        const auto lookIn = [] {
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog, true);
            return dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text();
        };
        QVERIFY(kovQtTranslationFile(1).isEmpty());
        kovInstallCatalogues(1);
        QCOMPARE(okText(), QStringLiteral("OK/Cancel"));
        QCOMPARE(lookIn(), QStringLiteral("Look in:"));

        QVERIFY2(QFile::exists(kovQtTranslationFile(0)), qPrintable(kovQtTranslationFile(0)));
        kovInstallCatalogues(0);
        QCOMPARE(okText(), QStringLiteral("确定/取消"));
        QCOMPARE(lookIn(), QStringLiteral("查找范围："));
        // Our own catalogue is installed beside it.
        KOVReportExport w;
        QCOMPARE(w.findChild<QAction*>(QStringLiteral("actionAbout"))->text(), QStringLiteral("关于"));
    }

    void cleanupTestCase()
    {
        KOVMessageBox::s_answer = nullptr;
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
