// Folder chooser and file-list entry.
#include "kovfiledialog.h"
#include "kovinformation.h"
#include "kovitem.h"
#include "kovitemfolder.h"
#include "kovmsg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestControls : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString makeDir(const QString& rel, bool withUsrInfo = false)
    {
        const QString path = m_dir.filePath(rel);
        QDir().mkpath(path);
        if (withUsrInfo) {
            QFile f(path + QStringLiteral("/usrInfo.ini"));
            f.open(QIODevice::WriteOnly);
        }
        return path;
    }

private slots:
    void init()
    {
        KOVInformation::Instance()->setScreenDPI(96.0);
    }

    void usrDirectoryRule_data()
    {
        QTest::addColumn<QString>("rel");
        QTest::addColumn<bool>("usrInfo");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("named default") << "a/default" << false << true;
        QTest::newRow("Default with capital D") << "b/Default" << false << false;
        QTest::newRow("holds usrInfo.ini") << "c/u1" << true << true;
        QTest::newRow("blanks and Chinese with usrInfo.ini") << "d/用户 目录 1" << true << true;
        QTest::newRow("plain folder") << "e/plain" << false << false;
    }
    void usrDirectoryRule()
    {
        QFETCH(QString, rel);
        QFETCH(bool, usrInfo);
        QFETCH(bool, accepted);
        const QString path = makeDir(rel, usrInfo);
        QCOMPARE(KOVFileDialog::isKovUsrDirectory(path), accepted);

        // OK on it: closes with Accepted, or walks into it and stays open.
        const QString parent = path.section(QLatin1Char('/'), 0, -2);
        KOVFileDialog dialog(nullptr, parent);
        dialog.selectFile(path);
        dialog.slotChoice();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (accepted)
            QCOMPARE(dialog.selectedFiles().value(0), path);
        else
            QCOMPARE(QDir(dialog.directory()).absolutePath(), QDir(path).absolutePath());
    }

    void okOnPlainFolderWithNothingSelected()
    {
        const QString path = makeDir(QStringLiteral("f/nothing"));
        KOVFileDialog dialog(nullptr, path);
        dialog.slotChoice();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(QDir(dialog.directory()).absolutePath(), QDir(path).absolutePath());
    }

    void chooserSetup()
    {
        KOVFileDialog dialog(nullptr, m_dir.path());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Please select folder"));
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        QVERIFY(dialog.testOption(QFileDialog::ShowDirsOnly));
        QCOMPARE(dialog.fileMode(), QFileDialog::Directory);
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        auto* list = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
        QVERIFY(list);
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    }

    void chooserHookAnswers()
    {
        KOVFileDialog::s_chooseHook = [](const QString& dir) { return dir + QStringLiteral("/picked"); };
        QCOMPARE(KOVFileDialog::chooseUsrDirectory(QStringLiteral("/x")), QStringLiteral("/x/picked"));
        KOVFileDialog::s_chooseHook = nullptr;
    }

    void tickReportsName()
    {
        KOVItem item;
        item.setItemName(QStringLiteral("A 测试.jpg"));
        QSignalSpy chosed(&item, &KOVItem::sigChosed);
        QSignalSpy unchosed(&item, &KOVItem::sigUnchosed);
        item.setChosed();
        QCOMPARE(chosed.count(), 1);
        QCOMPARE(chosed.at(0).at(0).toString(), QStringLiteral("A 测试.jpg"));
        item.setChosed(); // already ticked
        QCOMPARE(chosed.count(), 1);
        item.setUnchosed(); // silent
        QCOMPARE(unchosed.count(), 0);
        QVERIFY(!item.isChosed());
        QVERIFY(!item.isBoxChecked());
        QCOMPARE(chosed.count(), 1);
    }

    // The user unticks; the receiver grants the request or not.
    void untickIsARequest_data()
    {
        QTest::addColumn<bool>("grant");
        QTest::newRow("receiver does nothing") << false;
        QTest::newRow("receiver grants") << true;
    }
    void untickIsARequest()
    {
        QFETCH(bool, grant);
        KOVItem item;
        item.setItemName(QStringLiteral("B.mp4"));
        item.setChosed();
        QSignalSpy chosed(&item, &KOVItem::sigChosed);
        int requests = 0;
        connect(&item, &KOVItem::sigUnchosed, &item, [&](const QString& name) {
            ++requests;
            QCOMPARE(name, QStringLiteral("B.mp4"));
            if (grant)
                item.setUnchosed();
        });
        item.findChild<QCheckBox*>(QStringLiteral("chose_checkBox"))->click();
        QCOMPARE(requests, 1);
        QCOMPARE(item.isChosed(), !grant);
        QCOMPARE(item.isBoxChecked(), !grant);
        QCOMPARE(chosed.count(), 0);
    }

    void boxVisibility()
    {
        KOVItem item;
        auto* box = item.findChild<QCheckBox*>(QStringLiteral("chose_checkBox"));
        auto* label = item.findChild<QLabel*>(QStringLiteral("label"));
        item.setChosedBox(false);
        QVERIFY(box->isHidden());
        QVERIFY(!box->isEnabled());
        QCOMPARE(label->x(), 5);
        item.setChosedBox(true);
        QVERIFY(!box->isHidden());
        QCOMPARE(label->x(), 25);
    }

    void scaledEntry_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("labelX");
        QTest::newRow("96 dpi") << 96.0 << QSize(210, 25) << 25;
        QTest::newRow("144 dpi") << 144.0 << QSize(315, 37) << 37;
    }
    void scaledEntry()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, size);
        QFETCH(int, labelX);
        KOVInformation::Instance()->setScreenDPI(dpi);
        KOVItem item;
        QCOMPARE(item.size(), size);
        QCOMPARE(item.findChild<QLabel*>(QStringLiteral("label"))->x(), labelX);
        emit KOVMsg::Instance()->sigScreenDpiChanged(2.0);
        QCOMPARE(item.findChild<QLabel*>(QStringLiteral("label"))->x(), 50);
    }

    void itemNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("item");
        QTest::newRow("jpg") << "A.jpg" << true;
        QTest::newRow("mp4") << "视频 1.mp4" << true;
        QTest::newRow("upper-case JPG") << "A.JPG" << false;
        QTest::newRow("jpg inside the name") << "A.jpg.txt" << false;
        QTest::newRow("wav") << "A.wav" << false;
    }
    void itemNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, item);
        QCOMPARE(KOVItemFolder::isItemName(name), item);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
