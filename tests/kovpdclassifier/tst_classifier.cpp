// The discharge classifier: its bank reader against malformed banks, the
// features, and the vote.
#include "kov_pdalg.h"
#include "kov_pdclassifier.h"
#include "kovmediafixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <fstream>
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

QString rows(int n, int firstLabel = 0)
{
    QString s;
    for (int i = 0; i < n; ++i)
        s += row(static_cast<float>((firstLabel + i) % 4), i);
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
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    void bankReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("classes");
        QTest::addColumn<int>("rowLength");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<bool>("usable");
        QTest::newRow("four rows and a partial fifth") << "4 9\n" + rows(4) + "1 2 3 4 5" << 4 << 9 << 4 << true;
        QTest::newRow("counts truncated") << "4.7 9.9\n" + rows(6) << 4 << 9 << 6 << true;
        QTest::newRow("line breaks do not matter") << "4\n9 " + rows(5).replace(QLatin1Char('\n'), QLatin1Char(' '))
                                                   << 4 << 9 << 5 << true;
        QTest::newRow("three rows") << "4 9\n" + rows(3) << 4 << 9 << 3 << false;
        QTest::newRow("row length 8") << "4 8\n" + rows(10) << 4 << 8 << 0 << false;
        QTest::newRow("row length 10") << "4 10\n" + rows(10) << 4 << 10 << 0 << false;
        QTest::newRow("class count 0") << "0 9\n" + rows(10) << 0 << 9 << 0 << false;
        QTest::newRow("class count 5") << "5 9\n" + rows(10) << 5 << 9 << 0 << false;
        QTest::newRow("class count negative") << "-3 9\n" + rows(10) << 0 << 0 << 0 << false;
        QTest::newRow("class count 1e30") << "1e30 9\n" + rows(10) << 0 << 0 << 0 << false;
        QTest::newRow("empty") << QString() << 0 << 0 << 0 << false;
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
        const QString path = m_dir->filePath(QStringLiteral("bank.txt"));
        QVERIFY(KOVMediaFixture::writeFile(path, text.toLatin1()));
        KOV_PDClassifier c(QFile::encodeName(path).constData());
        if (rowLength == 9 && classes >= 1 && classes <= 4) {
            QCOMPARE(c.classCount(), classes);
            QCOMPARE(c.rowLength(), rowLength);
        }
        QCOMPARE(c.rowCount(), rowCount);
        QCOMPARE(c.isUsable(), usable);
        // Whatever the bank, a query answers without reading out of bounds,
        // and an unusable bank answers none.
        const std::vector<float> q = pattern(3, 1);
        int type = -1;
        QVERIFY(c.GetPDInfo(q.data(), 240, type));
        QVERIFY(type >= 0 && type <= 3);
        if (!usable)
            QCOMPARE(type, 0);
    }

    void missingBankAnswersNone()
    {
        KOV_PDClassifier c(QFile::encodeName(m_dir->filePath(QStringLiteral("none.txt"))).constData());
        QCOMPARE(c.rowCount(), 0);
        int type = -1;
        const std::vector<float> q = pattern(2, 3);
        QVERIFY(c.GetPDInfo(q.data(), 240, type));
        QCOMPARE(type, 0);
    }

    void defaultBankPath()
    {
        const QString was = QDir::currentPath();
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("cfg/Data")));
        QVERIFY(KOVMediaFixture::writeFile(m_dir->filePath(QStringLiteral("cfg/Data/bank.txt")), ("3 9\n" + rows(7)).toLatin1()));
        QDir::setCurrent(m_dir->path());
        KOV_PDClassifier c;
        QDir::setCurrent(was);
        QCOMPARE(c.classCount(), 3);
        QCOMPARE(c.rowCount(), 7);
    }

    void features()
    {
        const float x[] = {0, 0, 0, 4};
        float r[KOV_ROW_LEN] = {};
        KOV_FeatureExtraction(x, 4, r);
        QCOMPARE(r[1], 1.0f);                          // mean
        QCOMPARE(r[2], 3.0f);                          // variance
        QVERIFY(qAbs(r[3] - 1.1547005f) < 1e-5f);      // skewness 24 / (3^1.5 * 4)
        QVERIFY(qAbs(r[4] - (84.0f / 36 - 3)) < 1e-5f); // kurtosis
        QCOMPARE(r[5], 2.0f);                          // crest: 4 / 2
        QCOMPARE(r[6], 16.0f);                         // latitude: 4 / (2/4)^2
        QCOMPARE(r[7], 2.0f);                          // shape: 2 / 1
        QCOMPARE(r[8], 4.0f);                          // dynamic range
        // A flat period has no skewness; the classifier must not vote on it.
        const std::vector<float> flat(240, 5.0f);
        KOV_FeatureExtraction(flat.data(), 240, r);
        QVERIFY(!std::isfinite(r[3]));
    }

    // The features are computed in two fused passes; they must equal the
    // separate functions, bit for bit, or stored banks stop matching.
    void fusedFeaturesEqualSeparate()
    {
        std::mt19937 rng(8);
        for (int t = 0; t < 200; ++t) {
            const int n = 1 + static_cast<int>(rng() % 300);
            std::vector<float> x(static_cast<size_t>(n));
            for (float& v : x)
                v = static_cast<float>(rng() % 100000) * (t % 3 ? 1.0f : 1234.5f) - (t % 5 ? 0.0f : 30000.0f);
            float fused[KOV_ROW_LEN];
            KOV_FeatureExtraction(x.data(), n, fused);
            float mean, var, skew, kurt, rms, crest, lat, shape, dyn;
            int at;
            const float max = KOV_FindMax(x.data(), n, at);
            KOV_FeatureMean(x.data(), n, mean);
            KOV_FeatureVariance(x.data(), n, mean, var);
            KOV_FeatureSkewness(x.data(), n, mean, var, skew);
            KOV_FeatureKurtosis(x.data(), n, mean, var, kurt);
            KOV_RMS(x.data(), n, rms);
            KOV_FeatureCrestFactor(x.data(), n, max, crest);
            KOV_FeatureLatitudeFactor(x.data(), n, max, lat);
            KOV_FeatureShapeFactor(x.data(), n, rms, shape);
            KOV_FeatureDynamic(x.data(), n, dyn);
            const float separate[] = {mean, var, skew, kurt, crest, lat, shape, dyn};
            for (int c = 0; c < 8; ++c)
                QVERIFY2(std::memcmp(&fused[c + 1], &separate[c], sizeof(float)) == 0,
                         qPrintable(QStringLiteral("vector %1, feature %2: %3 vs %4").arg(t).arg(c + 1).arg(fused[c + 1]).arg(separate[c])));
        }
    }

    void vote_data()
    {
        QTest::addColumn<QString>("bank");
        QTest::addColumn<int>("answer");
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
        const QString path = m_dir->filePath(QStringLiteral("bank.txt"));
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

    // The vote picks the five smallest distances without sorting them all;
    // with equal distances around the fifth place it must fall back on the
    // sort, whose order decides.
    void selectionEqualsFullSort()
    {
        std::mt19937 rng(42);
        for (int trial = 0; trial < 300; ++trial) {
            const int n = 6 + static_cast<int>(rng() % 60);
            std::vector<float> store(static_cast<size_t>(n) * KOV_ROW_LEN);
            std::vector<float*> rowsA(static_cast<size_t>(n)), rowsB(static_cast<size_t>(n));
            for (int r = 0; r < n; ++r) {
                float* p = store.data() + static_cast<size_t>(r) * KOV_ROW_LEN;
                p[0] = static_cast<float>(rng() % 4);
                // Few distinct values, so equal distances are common.
                for (int c = 1; c < KOV_ROW_LEN; ++c)
                    p[c] = static_cast<float>(rng() % 3);
                p[1] = static_cast<float>(r % 2 + (r == 0 ? 5 : 0)); // every column has a range
                for (int c = 2; c < KOV_ROW_LEN; ++c)
                    if (r == 1)
                        p[c] = 7;
            }
            std::vector<float> copy = store;
            for (int r = 0; r < n; ++r) {
                rowsA[static_cast<size_t>(r)] = store.data() + static_cast<size_t>(r) * KOV_ROW_LEN;
                rowsB[static_cast<size_t>(r)] = copy.data() + static_cast<size_t>(r) * KOV_ROW_LEN;
            }
            const int fast = KOV_KNearestNeighbors(rowsA.data(), n, KOV_ROW_LEN, 4, 5);
            QVERIFY(KOV_FeatureMapping(rowsB.data(), n, KOV_ROW_LEN));
            std::vector<float> dist(static_cast<size_t>(n)), labels(static_cast<size_t>(n));
            KOV_AbstractDistance(rowsB.data(), n, KOV_ROW_LEN, dist.data());
            for (int r = 0; r < n; ++r)
                labels[static_cast<size_t>(r)] = rowsB[static_cast<size_t>(r)][0];
            KOV_QSort(dist.data(), labels.data(), 0, n - 1);
            QVERIFY(std::is_sorted(dist.begin(), dist.end()));
            QCOMPARE(fast, KOV_KNNPredict(labels.data(), 5, 4));
        }
    }

    // The classifier keeps the bank's scaled columns between queries; its
    // answers must be those of scaling and sorting the whole table each time,
    // also for queries beyond the bank's range.
    void cachedScalingEqualsFullTable()
    {
        QString text = QStringLiteral("4 9\n");
        for (unsigned i = 0; i < 300; ++i)
            text += featureRow(static_cast<float>(i % 4), pattern(1 + static_cast<int>(i % 4) * 6, i, 1e5f * (1 + i % 7)));
        const QString path = m_dir->filePath(QStringLiteral("bank.txt"));
        QVERIFY(KOVMediaFixture::writeFile(path, text.toLatin1()));
        KOV_PDClassifier c(QFile::encodeName(path).constData());
        QVERIFY(c.isUsable());
        std::vector<float> table;
        {
            std::ifstream in(QFile::encodeName(path).constData());
            float v;
            in >> v >> v;
            while (in >> v)
                table.push_back(v);
        }
        QCOMPARE(static_cast<int>(table.size()), 300 * KOV_ROW_LEN);
        std::mt19937 rng(3);
        for (int q = 0; q < 200; ++q) {
            const float height = (q % 5 == 0) ? 1e9f : (q % 5 == 1 ? 10.0f : 1e5f * (1 + rng() % 9));
            const std::vector<float> bins = pattern(1 + static_cast<int>(rng() % 30), 1000 + rng() % 5000, height);
            int fast = -1;
            QVERIFY(c.GetPDInfo(bins.data(), 240, fast));
            std::vector<float> rowsCopy = table;
            rowsCopy.resize(static_cast<size_t>(301) * KOV_ROW_LEN);
            float* query = rowsCopy.data() + 300 * KOV_ROW_LEN;
            KOV_FeatureExtraction(bins.data(), 240, query);
            query[0] = -1.0f;
            std::vector<float*> rows(301);
            for (int r = 0; r < 301; ++r)
                rows[static_cast<size_t>(r)] = rowsCopy.data() + r * KOV_ROW_LEN;
            QCOMPARE(fast, KOV_KNearestNeighbors(rows.data(), 301, KOV_ROW_LEN, 4, 5));
        }
    }

    void bankWriter_data()
    {
        QTest::addColumn<QByteArray>("patterns");
        QTest::addColumn<bool>("makeFolder");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("lines");
        QTest::newRow("two patterns") << QByteArray("2 4\n1 0 0 0 4\n3 1 2 3 9\n") << true << true << 2;
        QTest::newRow("no Data folder") << QByteArray("1 4\n1 0 0 0 4\n") << false << false << 0;
        QTest::newRow("cut short") << QByteArray("3 4\n1 0 0 0 4\n2 1 2") << true << false << 1;
        QTest::newRow("count beyond reason") << QByteArray("1e12 4\n1 0 0 0 4\n") << true << false << 0;
        QTest::newRow("count claims more") << QByteArray("5 4\n1 0 0 0 4\n") << true << false << 1;
        QTest::newRow("length too long") << QByteArray("1 1e9\n1 0 0 0 4\n") << true << false << 0;
        QTest::newRow("nonsense") << QByteArray("pattern file") << true << false << 0;
        QTest::newRow("empty") << QByteArray() << true << false << 0;
    }
    void bankWriter()
    {
        QFETCH(QByteArray, patterns);
        QFETCH(bool, makeFolder);
        QFETCH(bool, ok);
        QFETCH(int, lines);
        const QString was = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        if (makeFolder)
            QVERIFY(QDir().mkpath(QStringLiteral("Data")));
        QVERIFY(KOVMediaFixture::writeFile(QStringLiteral("p.txt"), patterns));
        KOV_PDClassifier c(""); // the writer needs no bank
        const bool got = c.KOV_ClassificationFeatureBank("p.txt");
        QFile out(QStringLiteral("Data/FeatureBank.txt"));
        const QByteArray text = out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
        QDir::setCurrent(was);
        QCOMPARE(got, ok);
        const QList<QByteArray> written = text.split('\n');
        QCOMPARE(text.count('\n'), lines);
        for (const QByteArray& l : written.mid(1))
            QCOMPARE(l.simplified().split(' ').size(), 9);
        if (lines == 2) {
            QCOMPARE(written[1], QByteArray("1 1 3 1.1547 -0.666667 2 16 2 4 "));
            QVERIFY(written[2].startsWith("3 3.75 "));
        }
    }

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestClassifier)
#include "tst_classifier.moc"
