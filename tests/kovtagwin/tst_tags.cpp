// The three tag dialogs: picture scaled into its label, text decoded or the
// reason it is not, audio played when the machine has an output.
#include "kovgen.h"
#include "kovtagaud.h"
#include "kovtagimg.h"
#include "kovtagtxt.h"

#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextEdit>
#include <QtTest>

class TstTags : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void picture_data();
    void picture();
    void text_data();
    void text();
    void audio();

private:
    QTemporaryDir m_dir;
};

void TstTags::initTestCase()
{
    QVector<KOVGen::Tag> tags = KOVGen::demoTags();
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    QFile mixed(m_dir.filePath("tag/mixed05.txt"));
    QVERIFY(KOVGen::writeTags(m_dir.path(), tags, 3));
    QVERIFY(mixed.open(QIODevice::WriteOnly));
    mixed.write(QString("第一行\r\n第二行\r\n").toUtf8() + gbk->fromUnicode("第三行\r\n第四行\r\n"));
    mixed.close();
    QFile bad(m_dir.filePath("tag/bad01.jpg"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
}

void TstTags::picture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("shown");
    // 640 x 480 fitted into 880 x 500.
    QTest::newRow("picture") << "tag01.jpg" << QSize(666, 500);
    QTest::newRow("not a picture") << "bad01.jpg" << QSize();
}

void TstTags::picture()
{
    QFETCH(QString, name);
    QFETCH(QSize, shown);
    KOVTagImg d(m_dir.filePath("tag/" + name));
    QCOMPARE(d.windowTitle(), name);
    QCOMPARE(d.size(), QSize(900, 520));
    const QPixmap pm = d.findChild<QLabel*>("label")->pixmap(Qt::ReturnByValue);
    QCOMPARE(pm.isNull() ? QSize() : pm.size(), shown);
}

void TstTags::text_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    const QString ok = "\n\n----------------\n文本标记读取成功";
    QTest::newRow("utf-8") << "tag03.txt" << "现场记录：法兰接口处有明显泄漏声。\n建议：停机后更换垫片, 复测。\n" + ok;
    QTest::newRow("gbk") << "memo.txt" << "备注：测试人员已确认;无需复测\n" + ok;
    QTest::newRow("gbk from third line") << "mixed05.txt" << "第一行\n第二行\n第三行\n第四行\n" + ok;
    QTest::newRow("missing") << "none.txt" << "文本标记不存在！";
    QTest::newRow("folder") << "" << "文本标记打开错误！";
}

void TstTags::text()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    KOVTagTxt d(m_dir.filePath("tag/" + name));
    auto* edit = d.findChild<QTextEdit*>("textEdit");
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->toPlainText(), shown);
}

void TstTags::audio()
{
    KOVTagAud d(m_dir.filePath("tag/tag02.wav"));
    QCOMPARE(d.windowTitle(), QStringLiteral("tag02.wav"));
    auto* label = d.findChild<QLabel*>("label");
    QVERIFY(label->movie());
    QVERIFY(label->movie()->isValid());
    QCOMPARE(label->movie()->state(), QMovie::NotRunning);
    auto* button = d.findChild<QPushButton*>("pushButton");
    QVERIFY(button->isEnabled());
    button->click();
    // Without an audio output or decoder the player never gets to play:
    // only the playing is skipped, the dialog must not pretend to play.
    const bool played = QTest::qWaitFor([&]() {
        return d.player()->state() == QMediaPlayer::PlayingState || d.player()->error() != QMediaPlayer::NoError;
    }, 5000);
    if (!played || d.player()->state() != QMediaPlayer::PlayingState) {
        QVERIFY(button->isEnabled());
        QCOMPARE(label->movie()->state(), QMovie::NotRunning);
        QSKIP("no audio output here: the playing itself is not tried");
    }
    QVERIFY(!button->isEnabled());
    QCOMPARE(label->movie()->state(), QMovie::Running);
    // A one-second tone: the dialog is ready again once it has played.
    QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 5000);
    QCOMPARE(label->movie()->state(), QMovie::NotRunning);
}

QTEST_MAIN(TstTags)
#include "tst_tags.moc"
