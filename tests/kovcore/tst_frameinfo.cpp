// info.dat as the imager writes it: CR LF line ends, tab-separated frames,
// four header formats.
#include "kovinformation.h"
#include "koviteminfo.h"
#include "kovmsg.h"
#include "kovtable.h"

#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

const char kBase[] = "20230405123456.789";

QString deviceLines()
{
    QString s;
    for (int i = 0; i < 9; ++i)
        s += QStringLiteral("k%1:v%1:x\n").arg(i);
    return s;
}

QString headline(int format)
{
    if (format == 2)
        return QStringLiteral("%1 headline 2\n").arg(QLatin1String(kBase));
    return QStringLiteral("%1\tHeadLine\tver:%2\n").arg(QLatin1String(kBase)).arg(format);
}

QString frame(int format, int seq)
{
    QString s = QStringLiteral("%1\t2000\t40000\t12.5\t48.25\t%2\t%3\t33.5").arg(seq).arg(100 + seq).arg(200 + seq);
    if (format == 2)
        s += QStringLiteral("\tignored");
    if (format == 13)
        s += QStringLiteral("\t1.5\t2.5\t3.5\t120");
    return s + QLatin1Char('\n');
}

// A file of the given format with nFrames frame lines after the header.
QString makeFile(int format, int nFrames, const QString& pddLine = QStringLiteral("pddLen:240\n"),
                 const QString& leakLine = QStringLiteral("leak:pressure:350\n"))
{
    QString s = headline(format);
    if (format >= 11)
        s += deviceLines();
    if (format >= 12)
        s += pddLine;
    if (format == 13)
        s += leakLine;
    s += QStringLiteral("seqNumber\tfreqLow\tfreqHigh\tdyn\tmax\tx\ty\tus\n");
    for (int i = 1; i <= nFrames; ++i)
        s += frame(format, i);
    return s;
}

QString crlf(QString s)
{
    return s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace

class TestFrameInfo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QByteArray& bytes)
    {
        QFile f(m_dir.filePath(QStringLiteral("info.dat")));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? f.fileName() : QString();
    }

private slots:
    void init()
    {
        KOVInformation::Instance()->setPDDLen(111);
        KOVInformation::Instance()->setLeakPressure(7000.0f);
    }

    // One row per header variant: frame count and what the state object keeps.
    void formats_data()
    {
        KOVTable::columns<QByteArray, int, int, float, QString>({"bytes", "count", "pddLen", "pressure", "message"});

        const QString none;
        const QString refused = QStringLiteral("partial-discharge length refused");
        auto row = [](const char* name, const QString& text, int count, int pdd, float pressure, const QString& msg) {
            QTest::newRow(name) << crlf(text).toUtf8() << count << pdd << pressure << msg;
        };
        row("format 13 sets length and pressure", makeFile(13, 3), 3, 240, 0.35f, none);
        row("format 12 sets length only", makeFile(12, 2), 2, 240, 7.0f, none);
        row("format 11 sets neither", makeFile(11, 4), 4, 111, 7.0f, none);
        row("format 2 blank headline", makeFile(2, 2), 2, 111, 7.0f, none);
        row("format 14 unknown", makeFile(13, 3).replace("ver:13", "ver:14"), 0, 111, 7.0f, none);
        row("no headline word", makeFile(13, 3).replace("HeadLine", "Head"), 0, 111, 7.0f, none);
        row("empty file", QString(), 0, 111, 7.0f, none);
        row("ends inside device lines", headline(13) + deviceLines().left(20), 0, 111, 7.0f, none);
        row("header claims frames, none follow", makeFile(13, 0), 0, 240, 0.35f, none);
        row("empty title line means no frames",
            makeFile(11, 3).replace(QStringLiteral("seqNumber\tfreqLow\tfreqHigh\tdyn\tmax\tx\ty\tus"), QString()),
            0, 111, 7.0f, none);
        row("huge partial-discharge length refused", makeFile(13, 1, QStringLiteral("pddLen:99999999999\n")), 1, 111,
            0.35f, refused);
        row("length above range refused", makeFile(12, 1, QStringLiteral("pddLen:10001\n")), 1, 111, 7.0f, refused);
        row("smallest length kept", makeFile(12, 1, QStringLiteral("pddLen:1\n")), 1, 1, 7.0f, none);
        row("length zero refused", makeFile(12, 1, QStringLiteral("pddLen:0\n")), 1, 111, 7.0f, refused);
        row("length with unit after second colon", makeFile(12, 1, QStringLiteral("pddLen:300:ms\n")), 1, 300, 7.0f,
            none);
        row("pressure line without colon reads 0",
            makeFile(13, 1, QStringLiteral("pddLen:240\n"), QStringLiteral("leak 350\n")), 1, 240, 0.0f, none);
    }
    void formats()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(QString, message);
        if (!message.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(message));
        QSignalSpy clear(KOVMsg::Instance(), &KOVMsg::sigClearItemInfo);
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(bytes)), count);
        QCOMPARE(QPoint(reader.imageCount(), clear.count()), QPoint(count, 1));
        QTEST(KOVInformation::Instance()->getPDDLen(), "pddLen");
        QTEST(KOVInformation::Instance()->getLeakPressure(), "pressure");
        KOVImageInfo info;
        QCOMPARE(reader.getImageInfo(count, info), count > 0);
    }

    // Formats before 13 carry no leak fields: they read 0, not what the
    // record held before.
    void frameValues_data()
    {
        KOVTable::columns<int, QList<float>>({"format", "leak"}); // value, distance, level, power
        QTest::newRow("format 13") << 13 << QList<float>{2.0f, 1.5f, 2.5f, 3.5f};
        QTest::newRow("format 12") << 12 << QList<float>{0, 0, 0, 0};
        QTest::newRow("format 2") << 2 << QList<float>{0, 0, 0, 0};
    }
    void frameValues()
    {
        QFETCH(int, format);
        QFETCH(QList<float>, leak);
        KOVItemInfo reader;
        // Handed over as text with its CRs still in place.
        QCOMPARE(reader.parseItemInfo(crlf(makeFile(format, 3))), 3);
        KOVImageInfo info;
        info.leakValue = info.leakDistance = info.leakLevel = info.leakPower = 9.0f;
        QVERIFY(reader.getImageInfo(3, info));
        QCOMPARE((QList<double>{double(info.seq), double(info.freqBandLow), double(info.freqBandHigh), info.dynamivRange,
                                info.maxSPLdBValue, double(info.maxSPLPos.x()), double(info.maxSPLPos.y()), info.ultrasonicSPLdBValue}),
                 (QList<double>{3, 2000, 40000, 12.5, 48.25, 103, 203, 33.5}));
        // A CR left on the line would make the last field unreadable.
        QCOMPARE((QList<float>{info.leakValue, info.leakDistance, info.leakLevel, info.leakPower}), leak);
        const QDateTime base = QDateTime::fromString(QLatin1String(kBase), QStringLiteral("yyyyMMddhhmmss.zzz"));
        QCOMPARE(reader.getImageTime(1), base);
        QCOMPARE(reader.getImageTime(3), base.addMSecs(80));
        QVERIFY(!reader.getImageTime(0).isValid() && !reader.getImageTime(4).isValid());
    }

    // Bad frame lines are skipped with the message; later ones renumber.
    void badFrameLines_data()
    {
        KOVTable::columns<int, QString, int>({"format", "badLine", "fields"});
        QTest::newRow("format 2 with 8 fields") << 2 << frame(11, 9) << 8;
        QTest::newRow("format 2 repeated title") << 2 << QStringLiteral("seqNumber\ta\tb\tc\td\te\tf\tg\th\n") << 9;
        QTest::newRow("format 11 repeated title") << 11 << QStringLiteral("seqNumber\ta\tb\tc\td\te\tf\tg\n") << 8;
        QTest::newRow("format 12 with 12 fields") << 12 << frame(13, 9) << 12;
        QTest::newRow("format 13 one field") << 13 << QStringLiteral("garbage\n") << 1;
        QTest::newRow("double tab adds an empty field") << 11 << frame(11, 9).replace("\t2000", "\t\t2000") << 9;
    }
    void badFrameLines()
    {
        QFETCH(int, format);
        QFETCH(QString, badLine);
        QFETCH(int, fields);
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("pic info error! len =  %1").arg(fields)));
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(crlf(makeFile(format, 1) + badLine + frame(format, 7)).toUtf8())), 2);
        KOVImageInfo info;
        QVERIFY(reader.getImageInfo(2, info) && info.seq == 7);
    }

    // Frames outside the file, and a file that went missing since the last
    // read, answer nothing and leave the caller's record as it was.
    void outOfRangeAndMissingFile()
    {
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(crlf(makeFile(11, 2)).toUtf8())), 2);
        KOVImageInfo info;
        info.seq = 42;
        for (int frame : {0, 3, -1})
            QVERIFY(!reader.getImageInfo(frame, info));
        QSignalSpy clear(KOVMsg::Instance(), &KOVMsg::sigClearItemInfo);
        QCOMPARE(reader.readItemInfo(m_dir.filePath(QStringLiteral("nope/info.dat"))), -1);
        QCOMPARE(clear.count(), 0);
        QVERIFY(!reader.getImageInfo(1, info) && info.seq == 42 && !reader.getImageTime(1).isValid());
    }

    // The stored count is a claim; only the records present may be served.
    void restoreCountsRecords()
    {
        KOVItemInfo writer;
        QCOMPARE(writer.parseItemInfo(makeFile(11, 2)), 2);
        QJsonObject root;
        writer.saveData(root);
        QCOMPARE(root.value(QStringLiteral("imageCount")).toInt(), 2);
        root.insert(QStringLiteral("imageCount"), 500);
        KOVItemInfo reader;
        reader.restoreData(root);
        QCOMPARE(reader.imageCount(), 2);
        KOVImageInfo info;
        QVERIFY(reader.getImageInfo(2, info) && !reader.getImageInfo(3, info));
        QCOMPARE(info.maxSPLPos, QPoint(102, 202));
        QCOMPARE(reader.getImageTime(1).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), QStringLiteral("2023-04-05 12:34:56"));
        root = QJsonObject();
        reader.restoreData(root);
        QCOMPARE(reader.imageCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFrameInfo)
#include "tst_frameinfo.moc"
