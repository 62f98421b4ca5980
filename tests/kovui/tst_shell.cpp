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
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
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

QList<KOVAbout*> aboutWindows()
{
    QList<KOVAbout*> all;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* a = qobject_cast<KOVAbout*>(top))
            all << a;
    return all;
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
        // A fresh working directory has no settings folder; the language
        // cases need one to write into.
        QDir().mkpath(QStringLiteral("cfg"));
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
    // entries fill their rows at every scale. Sizes and style texts per
    // scale are held by tst_screenscale.
    void rowsFollowTheScale()
    {
        KOVReportExport w;
        w.refreshSize(96); // from the test screen's own scale, as a 96 dpi start
        importItems(w, {"a", "b"});
        w.refreshSize(144);
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
        QCOMPARE(spy.at(0).at(0).toDouble(), 1.25);
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

    // Opened inside the screen whatever size was stored; the size is stored
    // at factor 1, as the next start multiplies it by its own factor.
    void windowSizeAndPlace()
    {
        KOVInformation::Instance()->setMainwindowSize(QSize(1300, 800));
        KOVReportExport w;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(area.contains(w.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height())));
        w.refreshSize(120);
        w.resize(500, 250);
        w.close();
        QCOMPARE(KOVInformation::Instance()->getMainwindowSize(), QSize(400, 200));
        QVERIFY(m_asked.isEmpty());
    }

    // Stored for the next start, which alone changes the texts; a choice that
    // could not be saved is not promised (asked: the box's text starts so).
    void languageChoice_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("blocked"); // a file where the settings folder should be
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("asked");
        QTest::newRow("English from Chinese") << "actionEnglish" << 0 << false << 1 << "提示|重启软件，语言设置生效|是";
        QTest::newRow("English while English") << "actionEnglish" << 1 << false << 1 << "提示|重启软件，语言设置生效|是";
        QTest::newRow("Chinese from another id") << "actionChinese" << 7 << false << 0 << "提示|重启软件，语言设置生效|是";
        QTest::newRow("not saved") << "actionEnglish" << 0 << true << -100 << "警告|";
    }
    void languageChoice()
    {
        QFETCH(QString, action);
        QFETCH(int, before);
        QFETCH(bool, blocked);
        QFETCH(QString, asked);
        KOVInformation::Instance()->setLanguageId(before);
        KOVReportExport w;
        const QString importText = w.findChild<QAction*>(QStringLiteral("actionImport"))->text();
        if (blocked) {
            QDir(QStringLiteral("cfg")).removeRecursively();
            QVERIFY(QFile(QStringLiteral("cfg")).open(QIODevice::WriteOnly));
        }
        w.findChild<QAction*>(action)->trigger();
        if (blocked) {
            QFile::remove(QStringLiteral("cfg"));
            QDir().mkpath(QStringLiteral("cfg"));
        }
        QTEST(storedLanguage(), "stored");
        QCOMPARE(m_asked.size(), 1);
        QVERIFY2(m_asked.at(0).startsWith(asked), qPrintable(m_asked.at(0)));
        QVERIFY(m_asked.at(0).endsWith(blocked ? QStringLiteral("./cfg/config.ini|是") : asked));
        QCOMPARE(w.findChild<QAction*>(QStringLiteral("actionImport"))->text(), importText);
    }

    // A window of its own, built hidden with the OEM icon; Help > About
    // shows that one, once.
    void about()
    {
        QDir().mkpath(QStringLiteral("OEM"));
        QImage img(64, 32, QImage::Format_ARGB32); // of another aspect
        img.fill(Qt::red);
        QVERIFY(img.save(QStringLiteral("OEM/icon.png")));
        const QList<KOVAbout*> before = aboutWindows(); // left over from other cases
        KOVReportExport w;
        QDir(QStringLiteral("OEM")).removeRecursively();
        QList<KOVAbout*> made = aboutWindows();
        for (KOVAbout* old : before)
            made.removeOne(old);
        QCOMPARE(made.size(), 1);
        QVERIFY(made.at(0)->isHidden() && !made.at(0)->parent());
        QCOMPARE(made.at(0)->findChild<QLabel*>(QStringLiteral("imgLabel"))->pixmap(Qt::ReturnByValue).size(), QSize(100, 100));
        w.findChild<QAction*>(QStringLiteral("actionAbout"))->trigger();
        w.findChild<QAction*>(QStringLiteral("actionAbout"))->trigger();
        QVERIFY(made.at(0)->isVisible());
        QCOMPARE(aboutWindows().size(), before.size() + 1);
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

    // Standard buttons and dialogs follow the chosen language; any id but 0
    // is English. Last: the catalogues stay installed for the rest of the
    // run, as in the program.
    void standardDialogsFollowLanguage()
    {
        const auto texts = [] {
            QMessageBox box;
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            QFileDialog dialog;
            dialog.setOption(QFileDialog::DontUseNativeDialog, true);
            KOVReportExport w; // our own catalogue beside them
            return QStringList{box.button(QMessageBox::Ok)->text(), box.button(QMessageBox::Cancel)->text(),
                               dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                               w.findChild<QAction*>(QStringLiteral("actionAbout"))->text()};
        };
        for (int id : {1, 7, -1}) {
            kovInstallCatalogues(id);
            QCOMPARE(texts(), (QStringList{"OK", "Cancel", "Look in:", "About"}));
        }
        QVERIFY2(QFile::exists(kovQtTranslationFile(0)), qPrintable(kovQtTranslationFile(0)));
        kovInstallCatalogues(0);
        QCOMPARE(texts(), (QStringList{"确定", "取消", "查找范围：", "关于"}));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
