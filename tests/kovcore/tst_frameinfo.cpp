// info.dat as the imager writes it: CR LF line ends, tab-separated frames,
// four header formats.
#include "kovgen.h"
#include "kovinformation.h"
#include "koviteminfo.h"
#include "kovmsg.h"

#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char kBase[] = "20230405123456.789";

QString deviceLines()
{
    QString s;
    const char* keys[] = {"model", "sn", "version", "k4", "k5", "k6", "k7", "k8", "k9"};
    for (int i = 0; i < 9; ++i)
        s += QStringLiteral("%1:v%2:x\n").arg(QLatin1String(keys[i])).arg(i);
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
        const QString path = m_dir.filePath(QStringLiteral("info.dat"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        f.write(bytes);
        return path;
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
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pddLen");
        QTest::addColumn<float>("pressure");
        QTest::addColumn<QString>("message");

        QTest::newRow("format 13 sets length and pressure")
            << crlf(makeFile(13, 3)).toUtf8() << 3 << 240 << 0.35f << QString();
        QTest::newRow("format 12 sets length only") << crlf(makeFile(12, 2)).toUtf8() << 2 << 240 << 7.0f << QString();
        QTest::newRow("format 11 sets neither") << crlf(makeFile(11, 4)).toUtf8() << 4 << 111 << 7.0f << QString();
        QTest::newRow("format 2 blank headline") << crlf(makeFile(2, 2)).toUtf8() << 2 << 111 << 7.0f << QString();
        QTest::newRow("LF only") << makeFile(13, 3).toUtf8() << 3 << 240 << 0.35f << QString();
        QTest::newRow("format 14 unknown") << crlf(makeFile(13, 3).replace("ver:13", "ver:14")).toUtf8() << 0 << 111
                                           << 7.0f << QString();
        QTest::newRow("format number not a number")
            << crlf(makeFile(13, 3).replace("ver:13", "ver:x")).toUtf8() << 0 << 111 << 7.0f << QString();
        QTest::newRow("no headline word") << crlf(makeFile(13, 3).replace("HeadLine", "Head")).toUtf8() << 0 << 111
                                          << 7.0f << QString();
        QTest::newRow("empty file") << QByteArray() << 0 << 111 << 7.0f << QString();
        QTest::newRow("nonsense bytes") << QByteArray("\x00\xff\xfe garbage\t\t\x01\r\n\r\n", 16) << 0 << 111 << 7.0f
                                        << QString();
        QTest::newRow("ends inside device lines")
            << crlf(headline(13) + deviceLines().left(20)).toUtf8() << 0 << 111 << 7.0f << QString();
        QTest::newRow("header claims frames, none follow") << crlf(makeFile(13, 0)).toUtf8() << 0 << 240 << 0.35f
                                                           << QString();
        QTest::newRow("empty title line means no frames")
            << crlf(makeFile(11, 3).replace(QStringLiteral("seqNumber\tfreqLow\tfreqHigh\tdyn\tmax\tx\ty\tus"),
                                            QString()))
                   .toUtf8()
            << 0 << 111 << 7.0f << QString();
        QTest::newRow("huge partial-discharge length refused")
            << crlf(makeFile(13, 1, QStringLiteral("pddLen:99999999999\n"))).toUtf8() << 1 << 111 << 0.35f
            << QStringLiteral("partial-discharge length refused");
        QTest::newRow("length above range refused")
            << crlf(makeFile(12, 1, QStringLiteral("pddLen:10001\n"))).toUtf8() << 1 << 111 << 7.0f
            << QStringLiteral("partial-discharge length refused");
        QTest::newRow("length zero refused") << crlf(makeFile(12, 1, QStringLiteral("pddLen:0\n"))).toUtf8() << 1
                                             << 111 << 7.0f << QStringLiteral("partial-discharge length refused");
        QTest::newRow("length line without colon refused")
            << crlf(makeFile(12, 1, QStringLiteral("pddLen 240\n"))).toUtf8() << 1 << 111 << 7.0f
            << QStringLiteral("partial-discharge length refused");
        QTest::newRow("length with unit after second colon")
            << crlf(makeFile(12, 1, QStringLiteral("pddLen:300:ms\n"))).toUtf8() << 1 << 300 << 7.0f << QString();
        QTest::newRow("pressure line without colon reads 0")
            << crlf(makeFile(13, 1, QStringLiteral("pddLen:240\n"), QStringLiteral("leak 350\n"))).toUtf8() << 1
            << 240 << 0.0f << QString();
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
        QCOMPARE(reader.imageCount(), count);
        QCOMPARE(clear.count(), 1);
        QTEST(KOVInformation::Instance()->getPDDLen(), "pddLen");
        QTEST(KOVInformation::Instance()->getLeakPressure(), "pressure");
        KOVImageInfo info;
        QCOMPARE(reader.getImageInfo(count, info), count > 0);
    }

    // A frame line's values in each format; formats before 13 carry no leak
    // fields, which read 0 rather than what the record held before.
    void frameValues_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QList<float>>("leak"); // value, distance, level, power
        QTest::newRow("format 13") << 13 << QList<float>{2.0f, 1.5f, 2.5f, 3.5f};
        QTest::newRow("format 12") << 12 << QList<float>{0, 0, 0, 0};
        QTest::newRow("format 2") << 2 << QList<float>{0, 0, 0, 0};
    }
    void frameValues()
    {
        QFETCH(int, format);
        QFETCH(QList<float>, leak);
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(crlf(makeFile(format, 3)).toUtf8())), 3);
        KOVImageInfo info;
        info.leakValue = info.leakDistance = info.leakLevel = info.leakPower = 9.0f;
        QVERIFY(reader.getImageInfo(3, info));
        QCOMPARE(info.seq, 3);
        QCOMPARE(info.freqBandLow, 2000);
        QCOMPARE(info.freqBandHigh, 40000);
        QCOMPARE(info.dynamivRange, 12.5f);
        QCOMPARE(info.maxSPLdBValue, 48.25f);
        QCOMPARE(info.maxSPLPos, QPoint(103, 203));
        QCOMPARE(info.ultrasonicSPLdBValue, 33.5f);
        // A CR left on the line would make the last field unreadable.
        QCOMPARE((QList<float>{info.leakValue, info.leakDistance, info.leakLevel, info.leakPower}), leak);
        const QDateTime base = QDateTime::fromString(QLatin1String(kBase), QStringLiteral("yyyyMMddhhmmss.zzz"));
        QVERIFY(base.isValid());
        QCOMPARE(reader.getImageTime(1), base);
        QCOMPARE(reader.getImageTime(3), base.addMSecs(80));
        QVERIFY(!reader.getImageTime(0).isValid());
        QVERIFY(!reader.getImageTime(4).isValid());

        // Text handed over with its CRs still in place reads the same.
        KOVItemInfo direct;
        QCOMPARE(direct.parseItemInfo(crlf(makeFile(format, 3))), 3);
        KOVImageInfo again;
        QVERIFY(direct.getImageInfo(3, again));
        QCOMPARE(again.leakValue, leak[0]);
    }

    // Bad frame lines are skipped with the message; later ones renumber.
    void badFrameLines_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("badLine");
        QTest::addColumn<int>("fields");
        QTest::newRow("format 2 with 8 fields") << 2 << frame(11, 9) << 8;
        QTest::newRow("format 2 repeated title") << 2 << QStringLiteral("seqNumber\ta\tb\tc\td\te\tf\tg\th\n") << 9;
        QTest::newRow("format 11 repeated title") << 11 << QStringLiteral("seqNumber\ta\tb\tc\td\te\tf\tg\n") << 8;
        QTest::newRow("format 12 with 12 fields") << 12 << frame(13, 9) << 12;
        QTest::newRow("format 13 with 8 fields") << 13 << frame(11, 9) << 8;
        QTest::newRow("format 13 one field") << 13 << QStringLiteral("garbage\n") << 1;
        QTest::newRow("double tab adds an empty field") << 11 << frame(11, 9).replace("\t2000", "\t\t2000") << 9;
    }
    void badFrameLines()
    {
        QFETCH(int, format);
        QFETCH(QString, badLine);
        QFETCH(int, fields);
        QString text = makeFile(format, 1) + badLine + frame(format, 7);
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("pic info error! len =  %1").arg(fields)));
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(crlf(text).toUtf8())), 2);
        KOVImageInfo info;
        QVERIFY(reader.getImageInfo(2, info));
        QCOMPARE(info.seq, 7);
    }

    void nonNumericFieldsReadZero()
    {
        QString text = makeFile(11, 0) + QStringLiteral("x\t2000\tabc\t12.5\t\t5\t6\tnope\n");
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(crlf(text).toUtf8())), 1);
        KOVImageInfo info;
        QVERIFY(reader.getImageInfo(1, info));
        QCOMPARE(info.seq, 0);
        QCOMPARE(info.freqBandHigh, 0);
        QCOMPARE(info.maxSPLdBValue, 0.0f);
        QCOMPARE(info.ultrasonicSPLdBValue, 0.0f);
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
        QCOMPARE(info.seq, 42);
        QSignalSpy clear(KOVMsg::Instance(), &KOVMsg::sigClearItemInfo);
        QCOMPARE(reader.readItemInfo(m_dir.filePath(QStringLiteral("nope/info.dat"))), -1);
        QCOMPARE(clear.count(), 0);
        QVERIFY(!reader.getImageInfo(1, info));
        QCOMPARE(info.seq, 42);
        QVERIFY(!reader.getImageTime(1).isValid());
    }

    void deviceLinesAnnounced()
    {
        QSignalSpy dev(KOVMsg::Instance(), &KOVMsg::sigDeviceInfoChanged);
        KOVItemInfo reader;
        reader.readItemInfo(write(crlf(makeFile(11, 1)).toUtf8()));
        QCOMPARE(dev.count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(dev.at(i).at(0).toString(), QStringLiteral("v%1").arg(i));
            QCOMPARE(dev.at(i).at(1).toInt(), i);
        }
    }

    // Files from the generator, each format with its deliberate faults: the
    // reader keeps exactly the frames the generator says are good.
    void generatedFiles_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("faults");
        QTest::addColumn<bool>("crlf");
        for (int format : {2, 11, 12, 13}) {
            QTest::addRow("format %d clean", format) << format << int(KOVGen::NoFault) << true;
            QTest::addRow("format %d LF", format) << format << int(KOVGen::NoFault) << false;
            QTest::addRow("format %d all faults", format)
                << format
                << int(KOVGen::WrongFieldCount | KOVGen::RepeatedTitle | KOVGen::NonNumericField |
                       KOVGen::BlankLineInside)
                << true;
        }
    }
    void generatedFiles()
    {
        QFETCH(int, format);
        QFETCH(int, faults);
        QFETCH(bool, crlf);
        KOVGen::InfoDatOptions opt;
        opt.format = format;
        opt.frames = 25;
        opt.faults = faults;
        opt.lineEnd = crlf ? KOVGen::LineEnd::CRLF : KOVGen::LineEnd::LF;
        int expected = -1;
        const QByteArray bytes = KOVGen::infoDatBytes(opt, &expected);
        // Skipped lines are reported; their exact wording is checked above.
        KOVItemInfo reader;
        QCOMPARE(reader.readItemInfo(write(bytes)), expected);
        QVERIFY(expected > 0);
    }

    // The stored count is a claim; only the records present may be served.
    void restoreCountsRecords()
    {
        KOVItemInfo writer;
        QCOMPARE(writer.readItemInfo(write(crlf(makeFile(11, 2)).toUtf8())), 2);
        QJsonObject root;
        writer.saveData(root);
        QCOMPARE(root.value(QStringLiteral("imageCount")).toInt(), 2);
        root.insert(QStringLiteral("imageCount"), 500);
        KOVItemInfo reader;
        reader.restoreData(root);
        QCOMPARE(reader.imageCount(), 2);
        KOVImageInfo info;
        QVERIFY(reader.getImageInfo(2, info));
        QCOMPARE(info.maxSPLPos, QPoint(102, 202));
        QVERIFY(!reader.getImageInfo(3, info));
        QCOMPARE(reader.getImageTime(1).date(), QDate(2023, 4, 5));

        QJsonObject empty;
        reader.restoreData(empty);
        QCOMPARE(reader.imageCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestFrameInfo)
#include "tst_frameinfo.moc"
