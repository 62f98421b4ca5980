// The main window: its form, import of a user directory, pressing a row.
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovmsg.h"
#include "kovreportexport.h"
#include "kovreportwin.h"
#include "kovvideoimg.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList gWarnings;
QtMessageHandler gPrevious = nullptr;

void catchWarnings(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (type == QtWarningMsg)
        gWarnings << msg;
    if (gPrevious)
        gPrevious(type, ctx, msg);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    QStringList m_asked; // "title|text" of each message box
    QStringList m_chooserStarts;
    QString m_answerDir; // what the folder chooser returns

    // A small real JPEG, so the browse page has something to show.
    void writeFile(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (path.endsWith(QLatin1String(".jpg"))) {
            QImage img(64, 40, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QVERIFY(img.save(path, "JPG"));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
    }

    // A user directory below the scratch root: files relative to it.
    QString makeUsrDir(const QString& name, const QStringList& files)
    {
        const QString dir = m_root.filePath(name);
        QDir().mkpath(dir);
        writeFile(dir + QStringLiteral("/usrInfo.ini"));
        for (const QString& f : files)
            writeFile(dir + QLatin1Char('/') + f);
        return dir;
    }

private slots:
    void initTestCase()
    {
        gPrevious = qInstallMessageHandler(catchWarnings);
        KOVFileDialog::s_chooseHook = [this](const QString& start) {
            m_chooserStarts << start;
            return m_answerDir;
        };
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList&) {
            m_asked << title + QLatin1Char('|') + text;
            return 0;
        };
    }

    void init()
    {
        m_asked.clear();
        m_chooserStarts.clear();
        m_answerDir.clear();
        gWarnings.clear();
    }

    // A slot named on_<object>_<signal> is bound by name: a renamed object
    // leaves it silently unbound. No connection of a window may fail either.
    void everyNamedSlotIsBound()
    {
        gWarnings.clear();
        KOVReportExport w;
        KOVVideoImg report;
        report.isReportWin(true, 0);
        KOVItem item;
        KOVReportWin reportPage;
        for (QObject* o : std::initializer_list<QObject*>{&w, w.browsePage(), &report, &item, &reportPage}) {
            const QMetaObject* mo = o->metaObject();
            for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
                const QMetaMethod slot = mo->method(i);
                const QByteArray name = slot.name();
                if (!name.startsWith("on_"))
                    continue;
                const int cut = name.lastIndexOf('_');
                const QObject* target = o->findChild<QObject*>(QString::fromLatin1(name.mid(3, cut - 3)));
                bool bound = false;
                for (int k = 0; target && k < target->metaObject()->methodCount() && !bound; ++k) {
                    const QMetaMethod signal = target->metaObject()->method(k);
                    bound = signal.methodType() == QMetaMethod::Signal && signal.name() == name.mid(cut + 1)
                        && signal.parameterCount() >= slot.parameterCount();
                    for (int p = 0; bound && p < slot.parameterCount(); ++p)
                        bound = signal.parameterType(p) == slot.parameterType(p);
                }
                QVERIFY2(bound, mo->className() + QByteArray("::") + name);
            }
        }
        for (const QString& m : qAsConst(gWarnings))
            QVERIFY2(!m.contains(QLatin1String("No matching signal")) && !m.contains(QLatin1String("QObject::connect")),
                     qPrintable(m));
        w.findChild<QAction*>(QStringLiteral("actionImport"))->trigger();
        QCOMPARE(m_chooserStarts.size(), 1);
    }

    // The chooser reaches into Qt's own folder dialog by these names: a
    // rename there would silently undo its single selection and accept check.
    void chooserFindsQtViews()
    {
        KOVFileDialog d(nullptr, m_root.path());
        for (const char* name : {"listView", "treeView"})
            QVERIFY2(qobject_cast<QAbstractItemView*>(d.findChild<QObject*>(QLatin1String(name))), name);
        QVERIFY(d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")));
    }

    // Which folders become rows. files: relative to the user directory.
    void importRules_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("thumbnail pair") << QStringList{"i1/A.jpg", "i1/.thumbnail.jpg"} << QStringList{"A.jpg"};
        QTest::newRow("video with thumbnail") << QStringList{"i1/B.mp4", "i1/.thumbnail.jpg"} << QStringList{"B.mp4"};
        QTest::newRow("picture and video skipped") << QStringList{"i1/A.jpg", "i1/B.mp4"} << QStringList{};
        QTest::newRow("triple skipped") << QStringList{"i1/A.jpg", "i1/B.jpg", "i1/.thumbnail.jpg"}
                                        << QStringList{};
        QTest::newRow("A.JPG dropped") << QStringList{"i1/A.JPG", "i2/C.jpg"} << QStringList{"C.jpg"};
        QTest::newRow("thumbnail alone dropped") << QStringList{"i1/.thumbnail.jpg"} << QStringList{};
        QTest::newRow("empty folder dropped") << QStringList{"i1/info.dat"} << QStringList{};
        QTest::newRow("other files ignored") << QStringList{"i1/A.jpg", "i1/info.dat", "i1/wav/a.wav"}
                                             << QStringList{"A.jpg"};
        QTest::newRow("blanks and Chinese") << QStringList{"测试 项目 1/图 片.jpg"} << QStringList{"图 片.jpg"};
        QTest::newRow("user directory itself is an item") << QStringList{"Top.jpg", "i1/A.jpg"}
                                                          << QStringList{"Top.jpg", "A.jpg"};
        QTest::newRow("order ignores letter case") << QStringList{"b/2.jpg", "A/1.jpg", "C/3.mp4"}
                                                   << QStringList{"1.jpg", "2.jpg", "3.mp4"};
    }
    void importRules()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        const QString dir = makeUsrDir(QStringLiteral("rules_%1").arg(QTest::currentDataTag()), files);
        // A picture beside the user directory must never be reached.
        writeFile(m_root.filePath(QStringLiteral("Outside.jpg")));
        m_answerDir = dir;
        KOVReportExport w;
        QSignalSpy changed(KOVMsg::Instance(), &KOVMsg::sigItemListChanged);
        w.importFiles();
        QCOMPARE(w.fileNameList(), rows);
        QCOMPARE(changed.count(), rows.isEmpty() ? 0 : 1);
        QCOMPARE(w.checkConsistency(), QString());
        auto* list = w.findChild<QListWidget*>(QStringLiteral("listWidget"));
        QCOMPARE(list->count(), rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            QCOMPARE(w.itemEntries().at(r)->itemName(), rows.at(r));
            QVERIFY(w.filePathList().at(r).startsWith(dir + QLatin1Char('/')));
            QVERIFY(w.filePathList().at(r).endsWith(QLatin1Char('/') + rows.at(r)));
            QCOMPARE(list->itemWidget(list->item(r)), w.itemEntries().at(r));
            QVERIFY(w.itemEntries().at(r)->findChild<QCheckBox*>(QStringLiteral("chose_checkBox"))->isHidden());
        }
        if (!rows.isEmpty()) {
            QCOMPARE(KOVInformation::Instance()->getFileNameList(), rows);
            QCOMPARE(KOVInformation::Instance()->getFilePathList(), w.filePathList());
            QCOMPARE(KOVInformation::Instance()->getUsrDirPath(), dir + QLatin1Char('/'));
        }
        QVERIFY(m_asked.isEmpty());
    }

    // Imports one after another. A step names the user directory the chooser
    // answers ("" cancels) or, after "+", a file added before the next step.
    // "@" stands for the folder the directories lie in, which is also the
    // chooser's start before the first step unless custom says otherwise.
    void importSequence_data()
    {
        QTest::addColumn<QString>("custom");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("changes"); // list announcements after the first step
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<int>("warnings");
        makeUsrDir(QStringLiteral("seq/twice"), {"i1/A.jpg", "i2/B.mp4"});
        makeUsrDir(QStringLiteral("seq/parent/u1"), {"i1/A.jpg"});
        makeUsrDir(QStringLiteral("seq/own"), {"i1/A.jpg"});
        makeUsrDir(QStringLiteral("seq/foreign"), {"i1/Z.jpg", "i2/Y.jpg"});
        QTest::newRow("again adds nothing, a new folder only itself")
            << "@" << QStringList{"twice", "twice", "+twice/i3/C.jpg", "twice"} << QStringList{"A.jpg", "B.mp4", "C.jpg"}
            << 1 << QStringList{"@", "@", "@"} << 0;
        QTest::newRow("cancel changes nothing") << "@" << QStringList{""} << QStringList{} << 0 << QStringList{"@"} << 0;
        QTest::newRow("missing start folder: the one above") << "@gone/" << QStringList{""} << QStringList{} << 0
                                                             << QStringList{"../"} << 0;
        QTest::newRow("the parent becomes the start") << "@" << QStringList{"parent/u1", "parent/u1"}
                                                      << QStringList{"A.jpg"} << 0 << QStringList{"@", "@parent/"} << 0;
        QTest::newRow("another user directory is refused") << "@" << QStringList{"own", "foreign"} << QStringList{"A.jpg"}
                                                           << 0 << QStringList{"@", "@"} << 1;
    }
    void importSequence()
    {
        QFETCH(QString, custom);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, starts);
        const QString at = m_root.filePath(QStringLiteral("seq/"));
        const auto expand = [&at](QStringList l) { return l.replaceInStrings(QStringLiteral("@"), at); };
        KOVInformation::Instance()->setcustomPath(custom.replace(QStringLiteral("@"), at));
        QFile::remove(QStringLiteral("./cfg/config.ini"));
        KOVReportExport w;
        QScopedPointer<QSignalSpy> changed;
        for (const QString& step : steps) {
            if (step.startsWith(QLatin1Char('+'))) {
                writeFile(at + step.mid(1));
                continue;
            }
            m_answerDir = step.isEmpty() ? QString() : at + step;
            w.importFiles();
            if (!changed)
                changed.reset(new QSignalSpy(KOVMsg::Instance(), &KOVMsg::sigItemListChanged));
        }
        QTEST(w.fileNameList(), "rows");
        QTEST(changed->count(), "changes");
        QCOMPARE(m_chooserStarts, expand(starts));
        QTEST(m_asked.size(), "warnings");
        if (!m_asked.isEmpty())
            QCOMPARE(m_asked.at(0), QStringLiteral("警告|导入用户目录不一，请先删除所有已导入文件后重新导入！"));
        if (w.fileNameList().isEmpty())
            QVERIFY(!QFile::exists(QStringLiteral("./cfg/config.ini")));
        else
            QCOMPARE(KOVInformation::Instance()->getUsrDirPath(), at + steps.first() + QLatin1Char('/'));
    }

    // Row press: the browse page shows the item, the switch buttons wrap
    // round; on a report tab a press shows nothing.
    void pressAndSwitch()
    {
        m_answerDir = makeUsrDir(QStringLiteral("press"), {"a/1.jpg", "b/2.jpg", "c/3.jpg"});
        KOVReportExport w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.importFiles();
        auto* list = w.findChild<QListWidget*>(QStringLiteral("listWidget"));
        QCOMPARE(w.preIndex(), -1);
        w.on_listWidget_itemPressed(list->item(1));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(w.browsePage()->shownItem(), 1);
        QStringList status;
        for (QLabel* l : w.statusBar()->findChildren<QLabel*>())
            status << l->text();
        QVERIFY(status.contains(w.filePathList().at(1)));
        for (const auto& [next, to] : {std::pair{1, 2}, {1, 0}, {0, 2}, {0, 1}}) {
            w.slotSwitchItem(next);
            QCOMPARE(w.preIndex(), to);
        }

        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("mainTabWidget"));
        tabs->addTab(new QWidget, QStringLiteral("report"));
        tabs->setCurrentIndex(1);
        w.on_listWidget_itemPressed(list->item(0));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(w.preIndex(), 1);
        QCOMPARE(w.browsePage()->shownItem(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
