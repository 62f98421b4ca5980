// The discharge classifier: its bank reader against malformed and missing
// banks, the features, the vote, and the features and answers for one
// generated recording held to a stored golden output; the synthetic feature
// bank, reproducible from its seed.
#include "goldenrecording.h"
#include "kov_pdalg.h"
#include "kov_pdclassifier.h"
#include "kovbankbuilder.h"
#include "kovgolden.h"
#include "kovmediafixtures.h"
#include "kovpddpulsecapture.h"
#include "kovtable.h"
#include "kovtestutil.h"
#include "kovwarnings.h"

#include <QDir>
#include <QTemporaryDir>
#include <random>

namespace {

// Eight features that differ from row to row.
QString row(float label, int i)
{
    QString s = QString::number(label, 'g', 9);
    for (int c = 1; c <= 8; ++c)
        s += QLatin1Char(' ') + QString::number(1.0 + ((i * 7 + c * 3) % 11) + 0.1 * c);
    return s + QLatin1Char('\n');
}

QString rows(int n)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += row(static_cast<float>(i % 4), i);
    return s;
}

// The bank line of a label and the features of bins.
QString featureRow(float label, const std::vector<float>& bins)
{
    float r[KOV_ROW_LEN];
    KOV_FeatureExtraction(bins.data(), static_cast<int>(bins.size()), r);
    QString s = QString::number(label, 'g', 9);
    for (int c = 1; c < KOV_ROW_LEN; ++c)
        s += QLatin1Char(' ') + QString::number(r[c], 'g', 9);
    return s + QLatin1Char('\n');
}

std::vector<float> pattern(int spikes, unsigned seed, float height = 1e6f)
{
    std::mt19937 rng(seed);
    std::vector<float> b(240);
    for (float& v : b)
        v = static_cast<float>(rng() % 100);
    for (int k = 0; k < spikes; ++k)
        b[static_cast<size_t>((k * 37 + seed) % 240)] += height * (1.0f + 0.01f * static_cast<float>(rng() % 10));
    return b;
}

} // namespace

class TestClassifier : public QObject
{
    Q_OBJECT

private slots:
    // A missing feature bank leaves every period unclassified: that is said
    // in the log once, not once per page or per period (first: it is said
    // once per process).
    void missingBankSaidOnce()
    {
        const QByteArray path = QFile::encodeName(QDir::current().filePath(QStringLiteral("no/such/bank.txt")));
        std::vector<float> bins(240, 1.0f);
        bins[60] = 5000.0f;
        KOVWarningCatcher catcher;
        for (int page = 0; page < 3; ++page) {
            KOV_PDClassifier c(path.constData());
            int type = -1;
            c.GetPDInfo(bins.data(), int(bins.size()), type);
            QCOMPARE(type, 0);
        }
        const QStringList warnings = catcher.warnings();
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains(QString::fromLocal8Bit(path)), qPrintable(warnings.first()));
    }
    void bankReading_data()
    {
        KOVTable::columns<QString, int, int, int, bool>({"text", "classes", "rowLength", "rowCount", "usable"});
        QTest::newRow("four rows and a partial fifth") << "4 9\n" + rows(4) + "1 2 3 4 5" << 4 << 9 << 4 << true;
        QTest::newRow("counts truncated") << "4.7 9.9\n" + rows(6) << 4 << 9 << 6 << true;
        QTest::newRow("line breaks do not matter") << "4\n9 " + rows(5).replace(QLatin1Char('\n'), QLatin1Char(' '))
                                                   << 4 << 9 << 5 << true;
        QTest::newRow("three rows") << "4 9\n" + rows(3) << 4 << 9 << 3 << false;
        QTest::newRow("row length 8") << "4 8\n" + rows(10) << 4 << 8 << 0 << false;
        QTest::newRow("class count 0") << "0 9\n" + rows(10) << 0 << 9 << 0 << false;
        QTest::newRow("class count 5") << "5 9\n" + rows(10) << 5 << 9 << 0 << false;
        QTest::newRow("class count 1e30") << "1e30 9\n" + rows(10) << 0 << 0 << 0 << false;
        QTest::newRow("no bank file") << QStringLiteral("<missing>") << 0 << 0 << 0 << false;
        QTest::newRow("words") << QStringLiteral("bank of features\n") << 0 << 0 << 0 << false;
        QTest::newRow("word after six rows") << "4 9\n" + rows(6) + "oops " + rows(3) << 4 << 9 << 6 << true;
        QTest::newRow("overflowing number ends reading") << "4 9\n" + rows(5) + "1 1e39 " + rows(2) << 4 << 9 << 5 << true;
        QString constant = QStringLiteral("4 9\n");
        for (int i = 0; i < 6; ++i)
            constant += QStringLiteral("%1 5 %2 1 1 1 1 1 1\n").arg(i % 4).arg(i);
        QTest::newRow("constant features") << constant << 4 << 9 << 6 << false;
        QTest::newRow("cut at 1023 rows") << "4 9\n" + rows(2000) << 4 << 9 << 1023 << true;
    }
    void bankReading()
    {
        QFETCH(QString, text);
        QFETCH(int, classes);
        QFETCH(int, rowLength);
        QFETCH(int, rowCount);
        QFETCH(bool, usable);
        const QString path = m_dir.filePath(QStringLiteral("bank.txt"));
        if (text != QLatin1String("<missing>"))
            QVERIFY(KOVMediaFixture::writeFile(path, text.toLatin1()));
        KOV_PDClassifier c(QFile::encodeName(path).constData());
        if (rowLength == 9 && classes >= 1 && classes <= 4)
            QCOMPARE(QPoint(c.classCount(), c.rowLength()), QPoint(classes, rowLength));
        QCOMPARE(c.rowCount(), rowCount);
        QCOMPARE(c.isUsable(), usable);
        // Whatever the bank, a query answers without reading out of bounds,
        // and an unusable bank answers none.
        const std::vector<float> q = pattern(3, 1);
        int type = -1;
        QVERIFY(c.GetPDInfo(q.data(), 240, type) && type >= 0 && type <= 3 && (usable || type == 0));
    }

    void vote_data()
    {
        KOVTable::columns<QString, int>({"bank", "answer"});
        const std::vector<float> a = pattern(2, 1), b = pattern(30, 2, 3e5f);
        QTest::newRow("five rows, tie goes to the lower class")
            << "4 9\n" + row(1, 0) + row(1, 1) + row(2, 2) + row(2, 3) + row(3, 4) << 1;
        QTest::newRow("label 2.00005 counts for 2")
            << "4 9\n" + row(2.00005f, 0) + row(2.00005f, 1) + row(2.00005f, 2) + row(1, 3) + row(1, 4) << 2;
        QTest::newRow("label 2.001 counts for none")
            << "4 9\n" + row(2.001f, 0) + row(2.001f, 1) + row(2.001f, 2) + row(1, 3) + row(1, 4) << 1;
        // Two rows like the query, three far from it: with the query among
        // its own neighbours the vote would tie 2 to 2.
        QTest::newRow("query is not its own neighbour")
            << "4 9\n" + featureRow(1, a) + featureRow(1, pattern(2, 5)) + featureRow(2, b) + featureRow(2, pattern(30, 6, 3e5f))
                   + featureRow(2, pattern(30, 7, 3e5f))
            << 2;
        QString near = QStringLiteral("4 9\n");
        for (unsigned s = 10; s < 16; ++s)
            near += featureRow(3, pattern(2, s)) + featureRow(1, pattern(30, s + 100, 3e5f));
        QTest::newRow("nearest rows decide") << near << 3;
        QTest::newRow("one class answers 0") << "1 9\n" + row(0, 0) + row(0, 1) + row(0, 2) + row(0, 3) + row(0, 4) << 0;
    }
    void vote()
    {
        QFETCH(QString, bank);
        QFETCH(int, answer);
        const QString path = m_dir.filePath(QStringLiteral("bank.txt"));
        QVERIFY(KOVMediaFixture::writeFile(path, bank.toLatin1()));
        KOV_PDClassifier c(QFile::encodeName(path).constData());
        QVERIFY(c.isUsable());
        const std::vector<float> q = pattern(2, 1);
        int type = -1;
        QVERIFY(c.GetPDInfo(q.data(), 240, type));
        QCOMPARE(type, answer);
        // Asking again gives the same: the bank is not scaled in place.
        QVERIFY(c.GetPDInfo(q.data(), 240, type));
        QCOMPARE(type, answer);
    }

    // Stored banks only match while the features stay bit for bit, and the
    // vote's shortcuts (partial sort, columns scaled once) must keep every
    // answer: periods of the recording, queries far beyond the bank's range,
    // and small tables with many equal distances around the fifth place.
    void goldenFeaturesAndAnswers()
    {
        const QString bank = qEnvironmentVariable("KOV_BINARY_DIR") + QStringLiteral("/run/cfg/Data/bank.txt");
        KOV_PDClassifier c(QFile::encodeName(bank).constData());
        QVERIFY(c.isUsable());
        QStringList lines;
        const std::vector<float> x = KOVGoldenRecording::samples();
        QCOMPARE(x.size(), size_t(4 * 96000));
        KOVPddPulseCapture capture(KOVPddPulseCapture::Pdd50Hz);
        float bins[240];
        KOVPddPulseCapture::PddType ignored;
        for (size_t at = 0; at + 96000 <= x.size(); at += 96000) {
            capture.FeedAudio(x.data() + at, 96000);
            while (capture.getPdd(bins, ignored)) {
                float row[KOV_ROW_LEN];
                KOV_FeatureExtraction(bins, 240, row);
                int type = -1;
                QVERIFY(c.GetPDInfo(bins, 240, type));
                QString l = QStringLiteral("period %1").arg(type);
                for (int k = 1; k < KOV_ROW_LEN; ++k)
                    l += QLatin1Char(' ') + KOVGolden::number(row[k]);
                lines << l;
            }
        }
        std::mt19937 rng(3);
        for (int q = 0; q < 60; ++q) {
            const float height = (q % 3 == 0) ? 1e9f : (q % 3 == 1 ? 10.0f : 1e5f * (1 + rng() % 9));
            const std::vector<float> b = pattern(1 + static_cast<int>(rng() % 30), 1000 + rng() % 5000, height);
            int type = -1;
            QVERIFY(c.GetPDInfo(b.data(), 240, type));
            lines << QStringLiteral("query %1 %2").arg(q).arg(type);
        }
        std::mt19937 tables(42);
        QString answers = QStringLiteral("ties");
        for (int trial = 0; trial < 200; ++trial) {
            const int n = 6 + static_cast<int>(tables() % 60);
            std::vector<float> store(static_cast<size_t>(n) * KOV_ROW_LEN);
            std::vector<float*> rowPtr(static_cast<size_t>(n));
            for (int r = 0; r < n; ++r) {
                float* p = store.data() + static_cast<size_t>(r) * KOV_ROW_LEN;
                rowPtr[static_cast<size_t>(r)] = p;
                p[0] = static_cast<float>(tables() % 4);
                for (int k = 1; k < KOV_ROW_LEN; ++k) // few values: equal distances are common
                    p[k] = r == 1 && k > 1 ? 7.0f : static_cast<float>(tables() % 3);
                p[1] = static_cast<float>(r % 2 + (r == 0 ? 5 : 0)); // every column has a range
            }
            answers += QLatin1Char(' ') + QString::number(KOV_KNearestNeighbors(rowPtr.data(), n, KOV_ROW_LEN, 4, 5));
        }
        lines << answers;
        KOV_GOLDEN(QStringLiteral("kovpdclassifier/golden/classifier.txt"), lines);
    }

    // The bank the build ships is this seed's, and another seed gives another.
    void reproducibleFromSeed()
    {
        QString error;
        QVERIFY2(KOVBankBuilder::build(1, 250, bank(), &error), qPrintable(error));
        const QString built = qEnvironmentVariable("KOV_BINARY_DIR") + QStringLiteral("/run/cfg/Data/bank.txt");
        QCOMPARE(KOVTest::readAll(built), KOVTest::readAll(bank()));
        const QString other = m_dir.filePath(QStringLiteral("other.txt"));
        QVERIFY(KOVBankBuilder::build(3, 250, other, nullptr));
        QVERIFY(KOVTest::readAll(other) != KOVTest::readAll(bank()));
    }

private:
    QString bank() const { return m_dir.filePath(QStringLiteral("built.txt")); }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestClassifier)
#include "tst_classifier.moc"
