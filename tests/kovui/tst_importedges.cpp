// Imports at the edges of a user directory: items of one file name in
// different folders, folder names the system cannot decode, and a large
// usrInfo.ini read once per import.
#include "kovinformation.h"
#include "reporttesthelp.h"

#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ReportTest;

class TestImportEdges : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QStringList m_asked; // "title|text" of each message box

    // A user directory below the scratch root; each file a path in the
    // file system's own bytes (folder/name), written as a tiny picture.
    QString userDir(const QString& name, const QByteArrayList& files)
    {
        const QString dir = m_root.filePath(name);
        if (!QDir().mkpath(dir) || !KOVGen::writeUsrInfo(dir + "/usrInfo.ini", KOVGen::demoUsrInfo(1)))
            return QString();
        for (const QByteArray& f : files) {
            const QByteArray path = QFile::encodeName(dir) + '/' + f;
            ::mkdir(path.left(path.lastIndexOf('/')).constData(), 0755);
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const QByteArray& jpeg = KOVGen::tinyJpeg();
            const bool written = fd >= 0 && ::write(fd, jpeg.constData(), size_t(jpeg.size())) == jpeg.size();
            if (fd >= 0)
                ::close(fd);
            if (!written)
                return QString();
        }
        return dir;
    }

private slots:
    void initTestCase()
    {
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8")); // file names as on a UTF-8 system
        KOVMessageBox::s_answer = [this](QMessageBox::Icon, const QString& title, const QString& text,
                                         const QStringList&) {
            m_asked << title + QLatin1Char('|') + text;
            return 0;
        };
    }
    void init() { m_asked.clear(); }

    // A report's row follows its item, not the first row of the item's file
    // name: after a deletion the tick stays on the item really used, whose
    // deletion is then refused.
    void sameFileNameInTwoFolders_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<int>("ticked");
        QTest::addColumn<int>("deleted");
        QTest::newRow("second twin, an item before it deleted") << QByteArrayList{"a/x.jpg", "b/y.jpg", "c/x.jpg"} << 2 << 1;
        QTest::newRow("second twin, the first deleted") << QByteArrayList{"a/x.jpg", "c/x.jpg"} << 1 << 0;
    }
    void sameFileNameInTwoFolders()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(int, ticked);
        QFETCH(int, deleted);
        const QString dir = userDir(QStringLiteral("twins_%1").arg(QTest::currentDataTag()), files);
        QVERIFY(!dir.isEmpty());
        KOVReportExport w;
        importInto(w, dir);
        w.addNewReport(0);
        tick(w, ticked);
        const QString used = w.filePathList().at(ticked);
        w.delItemFile(deleted);
        QCOMPARE(w.filePathList().size(), files.size() - 1);
        const QQueue<int> rows = w.reportWins().first()->chosedItemList();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(w.filePathList().value(rows.first()), used);
        QVERIFY2(faults(w).isEmpty(), qPrintable(faults(w)));
        QVERIFY(m_asked.isEmpty());

        w.delItemFile(rows.first());
        QVERIFY(w.filePathList().contains(used));
        QCOMPARE(m_asked.size(), 1);
        QVERIFY2(m_asked.first().startsWith(QStringLiteral("删除文件|")), qPrintable(m_asked.first()));
    }

    // Folders whose names do not decode in the system's encoding (GBK names
    // on a UTF-8 system) cannot be imported; one message per import names
    // them as the imager wrote them.
    void undecodableFoldersNamed_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("named");
        const QByteArray test = "\xb2\xe2\xca\xd4", middle = "\xd6\xd0"; // 测试, 中 in GBK
        QTest::newRow("beside a good folder") << QByteArrayList{test + "/x.jpg", "a/y.jpg"} << QStringList{"y.jpg"}
                                              << QStringList{"测试"};
        QTest::newRow("nothing else to import") << QByteArrayList{test + "/x.jpg", middle + "/z.mp4"} << QStringList{}
                                                << QStringList{"中", "测试"};
        QTest::newRow("UTF-8 names import") << QByteArrayList{QString("测试/x.jpg").toUtf8()} << QStringList{"x.jpg"}
                                            << QStringList{};
    }
    void undecodableFoldersNamed()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QStringList, named);
        const QString dir = userDir(QStringLiteral("codes_%1").arg(QTest::currentDataTag()), files);
        QVERIFY(!dir.isEmpty());
        KOVReportExport w;
        importInto(w, dir);
        QTEST(w.fileNameList(), "rows");
        if (named.isEmpty()) {
            QVERIFY(m_asked.isEmpty());
            return;
        }
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked.first(), "警告|以下文件夹的名称无法识别，未导入：\r\n" + named.join("\r\n"));
    }

    // The imager's usrInfo.ini can be tens of megabytes: it is opened once
    // per import, the first and a later one alike.
    void usrInfoReadOncePerImport()
    {
        const QString dir = userDir(QStringLiteral("once"), {"a/x.jpg"});
        QVERIFY(!dir.isEmpty());
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        // Opens and closes alternate, so no two events in a row are alike
        // and none is merged with the one before.
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(dir + "/usrInfo.ini").constData(),
                                  IN_OPEN | IN_CLOSE_NOWRITE)
                >= 0);
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
        importInto(w, dir);
        QCOMPARE(opens(), 1);
        QCOMPARE(KOVInformation::Instance()->getCompany(), KOVGen::demoUsrInfo(1).company);
        QVERIFY(!userDir(QStringLiteral("once"), {"b/y.jpg"}).isEmpty());
        opens();
        importInto(w, dir);
        QCOMPARE(w.fileNameList(), (QStringList{"x.jpg", "y.jpg"}));
        QCOMPARE(opens(), 1);
        ::close(watch);
    }
};

QTEST_MAIN(TestImportEdges)
#include "tst_importedges.moc"
