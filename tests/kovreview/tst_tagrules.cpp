// Tag slots from a tag folder's names, and the text tag's UTF-8 then GBK
// reading.
#include "kovtagslots.h"
#include "kovtagtext.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

class TstTagRules : public QObject
{
    Q_OBJECT
private slots:
    void tagSlots_data();
    void tagSlots();
    void scanFolder();
    void decode_data();
    void decode();
};

void TstTagRules::tagSlots_data()
{
    QTest::addColumn<QStringList>("names"); // in listing order
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("files");
    const QStringList none = { "", "", "", "", "", "" };
    QTest::newRow("empty folder") << QStringList() << QStringList { "01", "02", "03", "04", "05", "06" } << none;
    QTest::newRow("later file wins slot")
        << QStringList { "a01.jpg", "b01.txt" } << QStringList { "Txt_01", "02", "03", "04", "05", "06" }
        << QStringList { "b01.txt", "", "", "", "", "" };
    QTest::newRow("wav without number takes 06")
        << QStringList { "memo.wav" } << QStringList { "01", "02", "03", "04", "05", "Aud_06" }
        << QStringList { "", "", "", "", "", "memo.wav" };
    QTest::newRow("06 in the name is still 06, replaced by later")
        << QStringList { "n06.jpg", "zz.txt" } << QStringList { "01", "02", "03", "04", "05", "Txt_06" }
        << QStringList { "", "", "", "", "", "zz.txt" };
    QTest::newRow("01 wins over 02 whatever the position")
        << QStringList { "t02_01.wav" } << QStringList { "Aud_01", "02", "03", "04", "05", "06" }
        << QStringList { "t02_01.wav", "", "", "", "", "" };
    QTest::newRow("jpg inside a text name opens as picture")
        << QStringList { "x03_jpg.txt" } << QStringList { "01", "02", "Img_03", "04", "05", "06" }
        << QStringList { "", "", "x03_jpg.txt", "", "", "" };
    QTest::newRow("upper-case extension")
        << QStringList { "P05.JPG", "S04.WAV" } << QStringList { "01", "02", "03", "Aud_04", "Img_05", "06" }
        << QStringList { "", "", "", "S04.WAV", "P05.JPG", "" };
    QTest::newRow("jpg checked before wav")
        << QStringList { "wav02.jpg" } << QStringList { "01", "Img_02", "03", "04", "05", "06" }
        << QStringList { "", "wav02.jpg", "", "", "", "" };
}

void TstTagRules::tagSlots()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, files);
    const KOVTagSlots s = KOVTagSlots::fromNames(names);
    QCOMPARE(s.texts(), texts);
    QCOMPARE(s.names(), files);
}

void TstTagRules::scanFolder()
{
    QTemporaryDir root;
    QCOMPARE(KOVTagSlots::scan(root.path() + "/tag").texts(), KOVTagSlots().texts());
    const QString tag = root.path() + "/tag";
    QVERIFY(QDir().mkpath(tag + "/dir01.jpg")); // a folder is no tag
    for (const char* n : { "B01.txt", "a01.JPG", "c02.wav", "readme.md", "memo.TXT" }) {
        QFile f(tag + "/" + n);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const KOVTagSlots s = KOVTagSlots::scan(tag);
    // Listed by name without regard to case: a01.JPG, B01.txt, c02.wav, memo.TXT.
    QCOMPARE(s.names(), (QStringList { "B01.txt", "c02.wav", "", "", "", "memo.TXT" }));
    QCOMPARE(s.texts(), (QStringList { "Txt_01", "Aud_02", "03", "04", "05", "Txt_06" }));
}

void TstTagRules::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    const QByteArray u1 = QString("第一行\n").toUtf8();
    const QByteArray u2 = QString("第二行\n").toUtf8();
    const QByteArray g3 = gbk->fromUnicode("第三行\n");
    const QByteArray g4 = gbk->fromUnicode("第四行");
    QTest::newRow("utf-8") << u1 + u2 << "第一行\n第二行\n";
    QTest::newRow("gbk") << g3 + g4 << "第三行\n第四行";
    // The fourth line is valid UTF-8 too, but once a line failed the rest is GBK.
    QTest::newRow("gbk from third line") << u1 + u2 + g3 + QByteArray("abc\n") << "第一行\n第二行\n第三行\nabc\n";
    QTest::newRow("empty") << QByteArray() << "";
}

void TstTagRules::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QBuffer b(&bytes);
    QVERIFY(b.open(QIODevice::ReadOnly));
    QCOMPARE(KOVTagText::decode(b), text);
}

QTEST_GUILESS_MAIN(TstTagRules)
#include "tst_tagrules.moc"
