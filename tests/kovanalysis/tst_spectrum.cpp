// Spectra of 1024-sample frames: the window, the axis of silent bins, rows of
// whole frames only, and the rows of one generated recording held to stored
// values (KOV_REGEN_GOLDEN=1 rewrites them).
#include "kovgen.h"
#include "kovspectrum.h"

#include <QFile>
#include <QtTest>

#include <cmath>
#include <limits>

class TestSpectrum : public QObject
{
    Q_OBJECT

private slots:
    void hannIsPeriodic()
    {
        const float* h = KOVSpectrum::hann();
        QCOMPARE(h[0], 0.0f);
        QVERIFY(std::fabs(h[512] - 1.0) < 1e-6);
        QVERIFY(std::fabs(h[1] - 0.5 * (1 - std::cos(2 * M_PI / 1024))) < 1e-6);
        QCOMPARE(h[1023], h[1]); // periodic, not symmetric
    }

    void axisLow_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<double>("low");
        const float ninf = -std::numeric_limits<float>::infinity();
        QTest::newRow("all positive") << QVector<float> { 10, 96 } << 0.0;
        QTest::newRow("just below zero") << QVector<float> { -0.5f, 30 } << -50.0;
        QTest::newRow("on a step") << QVector<float> { -100, 20 } << -100.0;
        QTest::newRow("one silent bin") << QVector<float> { ninf, -73, 12 } << -100.0;
        QTest::newRow("no finite value") << QVector<float> { ninf, ninf } << -120.0;
    }
    void axisLow()
    {
        QFETCH(QVector<float>, values);
        QTEST(KOVSpectrum::axisLow(values.constData(), values.size()), "low");
    }

    void rowsOfWholeFramesOnly_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("rows");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("shorter than a frame") << 1023 << 0;
        QTest::newRow("one frame") << 1024 << 1;
        QTest::newRow("tail belongs to no row") << 5 * 1024 + 1000 << 5;
    }
    void rowsOfWholeFramesOnly()
    {
        QFETCH(int, samples);
        QFETCH(int, rows);
        QCOMPARE(KOVSpectrum::rowCount(samples), rows);
        // A tone only in the tail must leave every row untouched, and nothing
        // is written past the rows.
        QVector<float> x(samples, 0.0f);
        for (int i = rows * 1024; i < samples; ++i)
            x[i] = 1.0f;
        QVector<float> out(rows * 512 + 1, 7.0f);
        KOVSpectrum().rows(x.constData(), samples, out.data());
        for (int i = 0; i < rows * 512; ++i)
            QVERIFY(std::isinf(out[i]));
        QCOMPARE(out.last(), 7.0f);
    }

    // Five frames of a partial-discharge recording from the generator.
    void generatedRecordingMatchesStoredRows()
    {
        KOVGen::WavOptions o;
        o.content = KOVGen::AudioContent::PdBursts;
        o.seconds = 5 * 1024 / 96000.0;
        o.seed = 11;
        const QVector<qint16> pcm = KOVGen::makeSamples(o);
        QVERIFY(pcm.size() >= 5 * 1024);
        QVector<float> x(5 * 1024);
        for (int i = 0; i < x.size(); ++i)
            x[i] = float(pcm[i]) * 3.051851e-5f;
        QVector<float> rows(5 * 512);
        KOVSpectrum().rows(x.constData(), x.size(), rows.data());

        QFile f(qEnvironmentVariable("KOV_SOURCE_DIR") + QStringLiteral("/tests/kovanalysis/golden/spectrum_rows.txt"));
        if (qEnvironmentVariableIntValue("KOV_REGEN_GOLDEN")) {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
            for (float v : rows)
                f.write(QByteArray::number(v, 'f', 3) + '\n');
            f.close();
        }
        QVERIFY2(f.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(f.fileName()));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QVERIFY(lines.size() >= rows.size());
        for (int i = 0; i < rows.size(); ++i) // FFTW's kernels differ by machine in the last bits
            QVERIFY2(std::fabs(rows[i] - lines[i].toDouble()) < 0.01,
                qPrintable(QStringLiteral("value %1: %2 vs %3").arg(i).arg(rows[i]).arg(lines[i].constData())));
    }
};

QTEST_GUILESS_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
