// Spectra of 1024-sample frames: the window, the axis of silent bins, rows of
// whole frames only, and the rows of one generated recording held
// to stored values (KOV_REGEN_GOLDEN=1 rewrites them).
#include "kovgen.h"
#include "kovspectrum.h"

#include <QFile>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

QString goldenPath()
{
    return qEnvironmentVariable("KOV_SOURCE_DIR") + QStringLiteral("/tests/kovanalysis/golden/spectrum_rows.txt");
}

} // namespace

class TestSpectrum : public QObject
{
    Q_OBJECT

private slots:
    void hannIsPeriodic_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<double>("expected");
        QTest::newRow("start") << 0 << 0.0;
        QTest::newRow("middle") << 512 << 1.0;
        QTest::newRow("second") << 1 << 0.5 * (1 - std::cos(2 * M_PI / 1024));
    }
    void hannIsPeriodic()
    {
        QFETCH(int, i);
        QFETCH(double, expected);
        QVERIFY(std::fabs(KOVSpectrum::hann()[i] - expected) < 1e-6);
        // Periodic, not symmetric: the last value repeats the second.
        QCOMPARE(KOVSpectrum::hann()[1023], KOVSpectrum::hann()[1]);
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
        QFETCH(double, low);
        QCOMPARE(KOVSpectrum::axisLow(values.constData(), values.size()), low);
    }

    void rowsOfWholeFramesOnly_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("rows");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("shorter than a frame") << 1023 << 0;
        QTest::newRow("one frame") << 1024 << 1;
        QTest::newRow("five frames") << 5 * 1024 << 5;
        QTest::newRow("tail belongs to no row") << 5 * 1024 + 1000 << 5;
    }
    void rowsOfWholeFramesOnly()
    {
        QFETCH(int, samples);
        QFETCH(int, rows);
        QCOMPARE(KOVSpectrum::rowCount(samples), rows);
        // A tone only in the tail must leave every row untouched.
        QVector<float> x(samples, 0.0f);
        for (int i = rows * 1024; i < samples; ++i)
            x[i] = 1.0f;
        QVector<float> out(rows * 512 + 1, 7.0f);
        KOVSpectrum().rows(x.constData(), samples, out.data());
        for (int i = 0; i < rows * 512; ++i)
            QVERIFY(std::isinf(out[i]));
        QCOMPARE(out.last(), 7.0f);
    }

    // A partial-discharge recording from the generator, five frames.
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

        if (qEnvironmentVariableIntValue("KOV_REGEN_GOLDEN")) {
            QFile f(goldenPath());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
            QTextStream out(&f);
            for (float v : rows)
                out << QString::number(v, 'f', 3) << '\n';
        }
        QFile f(goldenPath());
        QVERIFY2(f.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(goldenPath()));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QVERIFY(lines.size() >= rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const double want = lines[i].toDouble();
            // FFTW's kernels differ by machine in the last bits.
            QVERIFY2(std::fabs(rows[i] - want) < 0.01,
                qPrintable(QStringLiteral("value %1: %2 vs %3").arg(i).arg(rows[i]).arg(want)));
        }
    }
};

QTEST_GUILESS_MAIN(TestSpectrum)
#include "tst_spectrum.moc"
