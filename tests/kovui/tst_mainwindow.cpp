// The main window and the application shell: its bindings, import of a user
// directory (at its edges too: one file name in two folders, folder names
// the system cannot decode, a large usrInfo.ini read once per import),
// pressing a row, screen scale, language, the About window; every
// text the windows show fits its widget, in both languages, with the
// application's own font: a clipped label is a text the user cannot read.
#include "kovabout.h"
#include "kovinformation.h"
#include "kovmsg.h"
#include "kovshowwavform.h"
#include "kovstartup.h"
#include "kovvideoimg.h"
#include "kovwarnings.h"
#include "reporttesthelp.h"
#include "reviewfixture.h"
#include "kovtable.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTranslator>
#include <QtTest>

#include <memory>

#include <cstdio>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kAdvice = "切换屏幕缩放比例后，\r\n以下控件显示会不适配：\t\r\n    菜单栏下拉项、时域波形相关绘图标签\r\n\r\n推荐重启软件！";

// A small real JPEG, so the browse page has something to show.
void writeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage img(64, 40, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    if (!path.endsWith(QLatin1String(".jpg")) || !img.save(path, "JPG"))
        QFile(path).open(QIODevice::WriteOnly);
}

QStringList labelTexts(QWidget* w, bool sizes = false)
{
    QStringList out;
    for (QLabel* l : w->findChildren<QLabel*>())
        out << (sizes ? QStringLiteral("%1x%2").arg(l->width()).arg(l->height()) : l->text());
    out.sort();
    return out;
}

QList<KOVAbout*> aboutWindows()
{
    QList<KOVAbout*> all;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* a = qobject_cast<KOVAbout*>(top))
            all << a;
    return all;
}

// As the window scales: truncating, where QSize's own product rounds.
QSize scaled(QSize s, double r) { return QSize(int(s.width() * r), int(s.height() * r)); }
QSize inner(KOVReportExport& w) { return w.findChild<QWidget*>(QStringLiteral("scrollAreaWidgetContents"))->size(); }
QListWidget* list(KOVReportExport& w) { return w.findChild<QListWidget*>(QStringLiteral("listWidget")); }
QAction* action(KOVReportExport& w, const QString& name) { return w.findChild<QAction*>(name); }


// The metrics a font has on a screen of another dpi than the test's: the
// windows are scaled to the row's dpi, their text must be measured at it too.
QFontMetrics metricsAt(const QFont& font, double fontScale)
{
    QFont f(font);
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * fontScale);
    else
        f.setPixelSize(qRound(f.pixelSize() * fontScale));
    return QFontMetrics(f);
}

// "class object: text (needs x, has y)" for each shown text wider or taller
// than its widget.
QStringList clippedTexts(QWidget* top, double fontScale)
{
    QStringList out;
    const auto fit = [&out](QWidget* w, const QString& text, const char* what, int need, int have) {
        if (need > have)
            out << QStringLiteral("%1 %2: \"%3\" needs %4 %5, has %6")
                       .arg(QLatin1String(w->metaObject()->className()), w->objectName(), text, QLatin1String(what))
                       .arg(need)
                       .arg(have);
    };
    const auto widgets = top->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        if (!w->isVisibleTo(top))
            continue;
        const QFontMetrics fm = metricsAt(w->font(), fontScale);
        if (auto* l = qobject_cast<QLabel*>(w)) {
            if (l->text().isEmpty() || l->textFormat() == Qt::RichText)
                continue;
            const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
            if (l->wordWrap()) {
                fit(w, l->text(), "high wrapped",
                    fm.boundingRect(room, int(l->alignment()) | Qt::TextWordWrap, l->text()).height(), room.height());
                continue;
            }
            fit(w, l->text(), "wide", fm.horizontalAdvance(l->text()), room.width());
            fit(w, l->text(), "high", fm.height(), room.height());
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            fit(w, b->text(), "wide",
                b->sizeHint().width() - b->fontMetrics().horizontalAdvance(b->text()) + fm.horizontalAdvance(b->text()),
                b->width());
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            // Tabs of a fixed width clip their text at both ends unless it is elided.
            for (int i = 0; bar->elideMode() == Qt::ElideNone && i < bar->count(); ++i) {
                QWidget* button = bar->tabButton(i, QTabBar::RightSide);
                fit(w, bar->tabText(i), "wide",
                    fm.horizontalAdvance(bar->tabText(i)) + bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar)
                        + (button ? button->sizeHint().width() : 0),
                    bar->tabRect(i).width());
            }
        }
    }
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    ReportTest::Answers m_asked;
    QStringList m_chooserStarts;
    QString m_answerDir; // what the folder chooser returns

    // A user directory below the scratch root: files relative to it.
    QString makeUsrDir(const QString& name, const QStringList& files)
    {
        const QString dir = m_root.filePath(name);
        writeFile(dir + QStringLiteral("/usrInfo.ini"));
        for (const QString& f : files)
            writeFile(dir + QLatin1Char('/') + f);
        return dir;
    }
    // The same with the files' paths in the file system's own bytes, and the
    // user information filled in.
    QString rawUsrDir(const QString& name, const QByteArrayList& files)
    {
        const QString dir = m_root.filePath(name);
        if (!QDir().mkpath(dir) || !KOVGen::writeUsrInfo(dir + "/usrInfo.ini", KOVGen::demoUsrInfo(1)))
            return QString();
        for (const QByteArray& f : files) {
            const QByteArray path = QFile::encodeName(dir) + '/' + f;
            ::mkdir(path.left(path.lastIndexOf('/')).constData(), 0755);
            const QByteArray& jpeg = KOVGen::tinyJpeg();
            FILE* out = std::fopen(path.constData(), "wb");
            const bool written = out && std::fwrite(jpeg.constData(), 1, size_t(jpeg.size()), out) == size_t(jpeg.size());
            if (!out || std::fclose(out) != 0 || !written)
                return QString();
        }
        return dir;
    }

private slots:
    void initTestCase()
    {
        QDir().mkpath(QStringLiteral("cfg")); // the language cases write into it
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8")); // file names as on a UTF-8 system
        KOVFileDialog::s_chooseHook = [this](const QString& start) {
            m_chooserStarts << start;
            return m_answerDir;
        };
        m_asked.install();
    }

    void init()
    {
        m_asked.clear();
        m_chooserStarts.clear();
        m_answerDir.clear();
        KOVInformation::Instance()->setScreenDPI(96.0);
    }

    // A slot named on_<object>_<signal> is bound by name: a renamed object
    // leaves it silently unbound. No connection of a window may fail either.
    void everyNamedSlotIsBound()
    {
        KOVWarningCatcher warnings;
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
        for (const QString& m : warnings.warnings())
            QVERIFY2(!m.contains(QLatin1String("No matching signal")) && !m.contains(QLatin1String("QObject::connect")),
                     qPrintable(m));
        action(w, QStringLiteral("actionImport"))->trigger();
        QCOMPARE(m_chooserStarts.size(), 1);
        // The chooser reaches into Qt's own folder dialog by these names: a
        // rename there would silently undo its single selection and accept check.
        KOVFileDialog d(nullptr, m_root.path());
        for (const char* name : {"listView", "treeView"})
            QVERIFY2(qobject_cast<QAbstractItemView*>(d.findChild<QObject*>(QLatin1String(name))), name);
        QVERIFY(d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")));
    }

    // Which folders become rows. files: relative to the user directory.
    void importRules_data()
    {
        KOVTable::columns<QStringList, QStringList>({"files", "rows"});
        QTest::newRow("thumbnail pair") << QStringList{"i1/A.jpg", "i1/.thumbnail.jpg"} << QStringList{"A.jpg"};
        QTest::newRow("video with thumbnail") << QStringList{"i1/B.mp4", "i1/.thumbnail.jpg"} << QStringList{"B.mp4"};
        QTest::newRow("picture and video skipped") << QStringList{"i1/A.jpg", "i1/B.mp4"} << QStringList{};
        QTest::newRow("triple skipped") << QStringList{"i1/A.jpg", "i1/B.jpg", "i1/.thumbnail.jpg"} << QStringList{};
        QTest::newRow("A.JPG dropped") << QStringList{"i1/A.JPG", "i2/C.jpg"} << QStringList{"C.jpg"};
        QTest::newRow("thumbnail alone dropped") << QStringList{"i1/.thumbnail.jpg"} << QStringList{};
        QTest::newRow("empty folder dropped") << QStringList{"i1/info.dat"} << QStringList{};
        QTest::newRow("other files ignored") << QStringList{"i1/A.jpg", "i1/info.dat", "i1/wav/a.wav"} << QStringList{"A.jpg"};
        QTest::newRow("hidden folders not looked at, hidden files in an item count")
            << QStringList{".git/a.jpg", ".Trash-1000/b.mp4", "p1/c.jpg", "p2/.x.jpg", "p2/y.jpg"} << QStringList{"c.jpg"};
        QTest::newRow("blanks and Chinese") << QStringList{"测试 项目 1/图 片.jpg"} << QStringList{"图 片.jpg"};
        QTest::newRow("user directory itself is an item") << QStringList{"Top.jpg", "i1/A.jpg"} << QStringList{"Top.jpg", "A.jpg"};
        QTest::newRow("order ignores letter case") << QStringList{"b/2.jpg", "A/1.jpg", "C/3.mp4"} << QStringList{"1.jpg", "2.jpg", "3.mp4"};
    }
    void importRules()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, rows);
        m_answerDir = makeUsrDir(QStringLiteral("rules_%1").arg(QTest::currentDataTag()), files);
        writeFile(m_root.filePath(QStringLiteral("Outside.jpg"))); // beside the directory: never reached
        KOVReportExport w;
        QSignalSpy changed(KOVMsg::Instance(), &KOVMsg::sigItemListChanged);
        w.importFiles();
        QCOMPARE(w.fileNameList(), rows);
        QCOMPARE(changed.count(), rows.isEmpty() ? 0 : 1);
        QCOMPARE(w.checkConsistency(), QString());
        for (int r = 0; r < rows.size(); ++r) {
            QCOMPARE(w.itemEntries().at(r)->itemName(), rows.at(r));
            QCOMPARE(QFileInfo(w.filePathList().at(r)).fileName(), rows.at(r));
            QVERIFY(w.filePathList().at(r).startsWith(m_answerDir + QLatin1Char('/')));
            QVERIFY(w.itemEntries().at(r)->findChild<QCheckBox*>()->isHidden());
        }
        if (!rows.isEmpty()) {
            QCOMPARE(KOVInformation::Instance()->getFileNameList(), rows);
            QCOMPARE(KOVInformation::Instance()->getFilePathList(), w.filePathList());
            QCOMPARE(KOVInformation::Instance()->getUsrDirPath(), m_answerDir + QLatin1Char('/'));
        }
        QVERIFY(m_asked.texts.isEmpty());
    }

    // Imports one after another. A step names the user directory the chooser
    // answers ("" cancels) or, after "+", a file added before the next step.
    // "@" stands for the folder the directories lie in, which is also the
    // chooser's start before the first step unless custom says otherwise.
    void importSequence_data()
    {
        // changes: list announcements after the first step
        KOVTable::columns<QString, QStringList, QStringList, int, QStringList, QStringList>(
            {"custom", "steps", "rows", "changes", "starts", "warnings"});
        makeUsrDir(QStringLiteral("seq/twice"), {"i1/A.jpg", "i2/B.mp4"});
        makeUsrDir(QStringLiteral("seq/parent/u1"), {"i1/A.jpg"});
        makeUsrDir(QStringLiteral("seq/own"), {"i1/A.jpg"});
        makeUsrDir(QStringLiteral("seq/foreign"), {"i1/Z.jpg", "i2/Y.jpg"});
        QTest::newRow("again adds nothing, a new folder only itself")
            << "@" << QStringList{"twice", "twice", "+twice/i3/C.jpg", "twice"} << QStringList{"A.jpg", "B.mp4", "C.jpg"}
            << 1 << QStringList{"@", "@", "@"} << QStringList{};
        QTest::newRow("cancel changes nothing") << "@" << QStringList{""} << QStringList{} << 0 << QStringList{"@"} << QStringList{};
        QTest::newRow("missing start folder: the one above")
            << "@gone/" << QStringList{""} << QStringList{} << 0 << QStringList{"../"} << QStringList{};
        QTest::newRow("the parent becomes the start")
            << "@" << QStringList{"parent/u1", "parent/u1"} << QStringList{"A.jpg"} << 0 << QStringList{"@", "@parent/"} << QStringList{};
        QTest::newRow("another user directory is refused")
            << "@" << QStringList{"own", "foreign"} << QStringList{"A.jpg"} << 0 << QStringList{"@", "@"}
            << QStringList{"警告|导入用户目录不一，请先删除所有已导入文件后重新导入！|是"};
    }
    void importSequence()
    {
        QFETCH(QString, custom);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, starts);
        const QString at = m_root.filePath(QStringLiteral("seq/"));
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
        QCOMPARE(m_chooserStarts, starts.replaceInStrings(QStringLiteral("@"), at));
        QTEST(m_asked.boxes, "warnings");
        if (w.fileNameList().isEmpty())
            QVERIFY(!QFile::exists(QStringLiteral("./cfg/config.ini")));
        else
            QCOMPARE(KOVInformation::Instance()->getUsrDirPath(), at + steps.first() + QLatin1Char('/'));
    }

    // A report's row follows its item, not the first row of the item's file
    // name: after a deletion the tick stays on the item really used, whose
    // deletion is then refused.
    void sameFileNameInTwoFolders_data()
    {
        KOVTable::columns<QByteArrayList, int, int>({"files", "ticked", "deleted"});
        QTest::newRow("second twin, an item before it deleted") << QByteArrayList{"a/x.jpg", "b/y.jpg", "c/x.jpg"} << 2 << 1;
        QTest::newRow("second twin, the first deleted") << QByteArrayList{"a/x.jpg", "c/x.jpg"} << 1 << 0;
    }
    void sameFileNameInTwoFolders()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(int, ticked);
        QFETCH(int, deleted);
        KOVReportExport w;
        QVERIFY(!(m_answerDir = rawUsrDir(QStringLiteral("twins_%1").arg(QTest::currentDataTag()), files)).isEmpty());
        w.importFiles();
        w.addNewReport(0);
        ReportTest::tick(w, ticked);
        const QString used = w.filePathList().at(ticked);
        w.delItemFile(deleted);
        QCOMPARE(w.filePathList().size(), files.size() - 1);
        const QQueue<int> rows = w.reportWins().first()->chosedItemList();
        QCOMPARE(rows.size() == 1 ? w.filePathList().value(rows.first()) : QString(), used);
        KOV_CONSISTENT(w);
        QVERIFY(m_asked.texts.isEmpty());
        w.delItemFile(rows.first());
        QVERIFY(w.filePathList().contains(used));
        QVERIFY2(m_asked.boxes.size() == 1 && m_asked.boxes.first().startsWith(QStringLiteral("删除文件|")),
                 qPrintable(m_asked.boxes.join('\n')));
    }

    // Folders whose names do not decode in the system's encoding (GBK names
    // on a UTF-8 system) cannot be imported; one message per import names
    // them as the imager wrote them.
    void undecodableFoldersNamed_data()
    {
        KOVTable::columns<QByteArrayList, QStringList, QStringList>({"files", "rows", "named"});
        const QByteArray test = "\xb2\xe2\xca\xd4", middle = "\xd6\xd0"; // 测试, 中 in GBK
        QTest::newRow("beside a good folder") << QByteArrayList{test + "/x.jpg", "a/y.jpg"} << QStringList{"y.jpg"} << QStringList{"测试"};
        QTest::newRow("nothing else to import")
            << QByteArrayList{test + "/x.jpg", middle + "/z.mp4"} << QStringList{} << QStringList{"中", "测试"};
        QTest::newRow("UTF-8 names import") << QByteArrayList{QString("测试/x.jpg").toUtf8()} << QStringList{"x.jpg"} << QStringList{};
    }
    void undecodableFoldersNamed()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QStringList, named);
        KOVReportExport w;
        QVERIFY(!(m_answerDir = rawUsrDir(QStringLiteral("codes_%1").arg(QTest::currentDataTag()), files)).isEmpty());
        w.importFiles();
        QTEST(w.fileNameList(), "rows");
        const QString text = "警告|以下文件夹的名称无法识别，未导入：\r\n" + named.join("\r\n") + '|';
        QVERIFY2(m_asked.boxes.size() == (named.isEmpty() ? 0 : 1) && (named.isEmpty() || m_asked.boxes.first().startsWith(text)),
                 qPrintable(m_asked.boxes.join('\n')));
    }

    // The imager's usrInfo.ini can be tens of megabytes: it is opened once
    // per import, the first and a later one alike.
    void usrInfoReadOncePerImport()
    {
        const QString dir = rawUsrDir(QStringLiteral("once"), {"a/x.jpg"});
        QVERIFY(!dir.isEmpty());
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        // Opens and closes alternate, so no two events in a row are alike
        // and none is merged with the one before.
        QVERIFY(watch >= 0 && inotify_add_watch(watch, QFile::encodeName(dir + "/usrInfo.ini").constData(),
                                                IN_OPEN | IN_CLOSE_NOWRITE) >= 0);
        const auto opens = [watch]() {
            alignas(inotify_event) char buffer[4096];
            int n = 0;
            for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
                for (char* p = buffer; p < buffer + got; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
                    n += (reinterpret_cast<inotify_event*>(p)->mask & IN_OPEN) != 0;
            }
            return n;
        };
        KOVReportExport w;
        m_answerDir = dir;
        w.importFiles();
        QCOMPARE(opens(), 1);
        QCOMPARE(KOVInformation::Instance()->getCompany(), KOVGen::demoUsrInfo(1).company);
        QVERIFY(!rawUsrDir(QStringLiteral("once"), {"b/y.jpg"}).isEmpty());
        opens();
        m_answerDir = dir;
        w.importFiles();
        QCOMPARE(w.fileNameList(), (QStringList{"x.jpg", "y.jpg"}));
        QCOMPARE(opens(), 1);
        ::close(watch);
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
        QCOMPARE(w.preIndex(), -1);
        w.on_listWidget_itemPressed(list(w)->item(1));
        QVERIFY(list(w)->currentRow() == 1 && w.browsePage()->shownItem() == 1);
        QVERIFY(labelTexts(w.statusBar()).contains(w.filePathList().at(1)));
        for (const auto& [next, to] : {std::pair{1, 2}, {1, 0}, {0, 2}, {0, 1}}) {
            w.slotSwitchItem(next);
            QCOMPARE(w.preIndex(), to);
        }
        ReportTest::mainTabs(w)->addTab(new QWidget, QStringLiteral("report"));
        ReportTest::mainTabs(w)->setCurrentIndex(1);
        w.on_listWidget_itemPressed(list(w)->item(0));
        QVERIFY(list(w)->currentRow() == 0 && w.preIndex() == 1 && w.browsePage()->shownItem() == 1);
    }

    // Rows imported before and after a change of scale get the same size;
    // status labels keep sizes a rescale cannot reach.
    void rowsFollowTheScale()
    {
        KOVReportExport w;
        w.refreshSize(96); // from the test screen's own scale, as a 96 dpi start
        ReportTest::importInto(w, makeUsrDir(QStringLiteral("scale"), {"a/a.jpg", "b/b.jpg"}));
        w.refreshSize(144);
        // At 20 pixels the path loses its underscores.
        QCOMPARE(labelTexts(w.statusBar(), true), (QStringList{"2250x30", "75x30"}));
        ReportTest::importInto(w, makeUsrDir(QStringLiteral("scale"), {"c/c.jpg"}));
        QCOMPARE(list(w)->count(), 3);
        for (int r = 0; r < list(w)->count(); ++r)
            QVERIFY(list(w)->item(r)->sizeHint() == QSize(315, 37) && w.itemEntries().at(r)->size() == QSize(315, 37));
        QVERIFY(m_asked.texts.isEmpty()); // the advice belongs to a change of the screen
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
        QCOMPARE(m_asked.boxes, QStringList{QStringLiteral("提示|") + QString::fromUtf8(kAdvice) + QStringLiteral("|是")});
        for (double refused : {0.0, -144.0}) {
            w.slotLogicalDotsPerInchChanged(refused);
            w.refreshSize(refused);
        }
        QVERIFY(spy.count() == 1 && m_asked.texts.size() == 1);
        QVERIFY(KOVInformation::Instance()->getScreenDPI() == 120.0 && inner(w) == at120);
        w.slotLogicalDotsPerInchChanged(144); // from 120, not from a refused value
        const QSize at144 = scaled(at120, 1.2);
        QCOMPARE(inner(w), at144);
        QCOMPARE(w.size(), QSize(2396, 1500)); // 1598 x 1.25 x 1.2, past 120 dpi's maximum of 1997
        w.slotLogicalDotsPerInchChanged(96);
        QVERIFY(inner(w) == scaled(at144, 1 / 1.5) && w.maximumSize() == QSize(1598, 1500));
        QVERIFY(spy.count() == 3 && m_asked.texts.size() == 3);
    }

    // Opened inside the screen whatever size was stored; the size is stored
    // at factor 1 by the factor of the moment.
    void windowSizeAndPlace()
    {
        KOVInformation::Instance()->setMainwindowSize(QSize(1300, 800));
        KOVReportExport w;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(area.contains(w.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height())));
        w.refreshSize(120);
        w.resize(500, 250);
        w.close();
        QCOMPARE(KOVInformation::Instance()->getMainwindowSize(), QSize(400, 200));
    }

    // Stored for the next start, which alone changes the texts; a choice that
    // could not be saved is not promised (asked: the box's text starts so).
    void languageChoice_data()
    {
        // blocked: a file where the settings folder should be
        KOVTable::columns<QString, int, bool, int, QString>({"action", "before", "blocked", "stored", "asked"});
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
        const QString importText = ::action(w, QStringLiteral("actionImport"))->text();
        if (blocked) {
            QDir(QStringLiteral("cfg")).removeRecursively();
            QVERIFY(QFile(QStringLiteral("cfg")).open(QIODevice::WriteOnly));
        }
        ::action(w, action)->trigger();
        if (blocked) {
            QFile::remove(QStringLiteral("cfg"));
            QDir().mkpath(QStringLiteral("cfg"));
        }
        QTEST(QSettings(QStringLiteral("./cfg/config.ini"), QSettings::IniFormat).value(QStringLiteral("/Language/id"), -100).toInt(),
              "stored");
        QCOMPARE(m_asked.boxes.size(), 1);
        const QString box = m_asked.boxes.at(0);
        QVERIFY2(box.startsWith(asked) && box.endsWith(blocked ? QStringLiteral("./cfg/config.ini|是") : asked),
                 qPrintable(box));
        QCOMPARE(::action(w, QStringLiteral("actionImport"))->text(), importText);
    }

    // The About window is made hidden with the main window, shown by Help >
    // About once however often; left open, it must not keep the program running.
    void aboutWindow()
    {
        const QList<KOVAbout*> before = aboutWindows(); // left over from other cases
        KOVReportExport w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QList<KOVAbout*> made = aboutWindows();
        for (KOVAbout* old : before)
            made.removeOne(old);
        QVERIFY(made.size() == 1 && made.at(0)->isHidden() && !made.at(0)->parent());
        action(w, QStringLiteral("actionAbout"))->trigger();
        action(w, QStringLiteral("actionAbout"))->trigger();
        QVERIFY(made.at(0)->isVisible());
        QCOMPARE(aboutWindows().size(), before.size() + 1);
        bool timedOut = false;
        QTimer::singleShot(0, &w, [&w] { w.close(); });
        QTimer::singleShot(5000, [&timedOut] {
            timedOut = true;
            qApp->exit(1);
        });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!timedOut);
    }

    void windowsShowWholeTexts_data()
    {
        KOVTable::columns<QString, QString, double>({"window", "catalogue", "dpi"});
        for (const char* window : {"main window", "About", "gas report", "electricity report", "waveform window"}) {
            for (double dpi : {96.0, 144.0}) {
                QTest::addRow("%s, Chinese, %g dpi", window, dpi) << window << ":/style/font/Translate_CH.qm" << dpi;
                QTest::addRow("%s, English, %g dpi", window, dpi) << window << ":/style/font/Translate_EN.qm" << dpi;
            }
        }
    }
    void windowsShowWholeTexts()
    {
        QFETCH(QString, window);
        QFETCH(QString, catalogue);
        QFETCH(double, dpi);
        kovSetApplicationFont(); // the wide fallback face would overrun the labels
        // Names as the imager writes them: a picture and a video, labelled.
        const QString items = m_root.filePath(QStringLiteral("textfit"));
        if (!QFile::exists(items + QStringLiteral("/usrInfo.ini"))) {
            QVERIFY(!ReviewFixture::makeItem(items, QStringLiteral("01_gas_picture"), QStringLiteral("IMG_20240315_101500.jpg"),
                                             KOVGen::ItemKind::Picture, 4, 0).path.isEmpty());
            QVERIFY(!ReviewFixture::makeItem(items, QStringLiteral("02_electric_video"), QStringLiteral("VID_20240315_102900.mp4"),
                                             KOVGen::ItemKind::Video, 4, 1).path.isEmpty());
            QVERIFY(QFile(items + QStringLiteral("/usrInfo.ini")).open(QIODevice::WriteOnly));
        }
        // Windows scale from the state object's dpi while the test screen
        // draws text at its own: the sizes are taken at the screen's dpi,
        // the windows scaled to the row's, and the fonts measured at it.
        KOVInformation::Instance()->setScreenDPI(dpi);
        QTranslator t;
        QVERIFY(t.load(catalogue));
        qApp->installTranslator(&t);
        std::unique_ptr<QWidget> w;
        if (window == QLatin1String("main window") || window.endsWith(QLatin1String("report"))) {
            auto* main = new KOVReportExport;
            w.reset(main);
            main->refreshSize(dpi);
            if (window != QLatin1String("main window")) {
                // On its tab, its test points a picture and a video, each labelled.
                ReportTest::importInto(*main, items);
                main->addNewReport(window.startsWith(QLatin1String("gas")) ? 0 : 1);
                for (int row = 0; row < main->itemEntries().size(); ++row)
                    ReportTest::tick(*main, row);
            }
        } else if (window == QLatin1String("waveform window")) {
            w.reset(new KOVShowWavform);
            // Its tabs elide their titles: they must at least grow with the
            // screen, as the fonts in them do.
            QTabBar* bar = w->findChild<QTabBar*>();
            QVERIFY(bar);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w.get()));
            QCOMPARE(bar->tabRect(0).width(), int(150 * dpi / 96));
        } else {
            w.reset(new KOVAbout);
        }
        qApp->removeTranslator(&t);
        QStringList clipped = clippedTexts(w.get(), dpi / w->logicalDpiY());
        // The one English text the loss panel has no room for: known, so the
        // check stays strict elsewhere and fails once the label fits.
        const QString known = QStringLiteral("QLabel time: \"System Annual Working Duration(h)\"");
        const int knownAt = clipped.indexOf(QRegularExpression(QRegularExpression::escape(known) + ".*"));
        if (window == QLatin1String("gas report") && catalogue.contains(QLatin1String("EN"))) {
            QVERIFY2(knownAt >= 0, "the loss panel's working-hours label fits now: drop it from the known list");
            clipped.removeAt(knownAt);
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
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
                               action(w, QStringLiteral("actionAbout"))->text()};
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
