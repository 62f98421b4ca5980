// What the capture is fed, and how the analysis plots keep their axes. (Where
// a frame lies in the audio, its slice, spectrum row and clip span are held
// through the audio buffer in tst_waveformwindow.)
#include "kovaudiotiming.h"
#include "kovaxisrules.h"

#include <QtTest>

using KOVAxisRules::Range;
Q_DECLARE_METATYPE(Range)

namespace {
using Clamp = Range (*)(Range);
Range waveTime1s(Range r) { return KOVAxisRules::waveTime(r, 1.0); }
Range waveTimeNone(Range r) { return KOVAxisRules::waveTime(r, 0.0); }
Range waveTimeShort(Range r) { return KOVAxisRules::waveTime(r, 0.005); }
Range waveValue(Range r) { return KOVAxisRules::waveValue(r); }
Range spectrum(Range r) { return KOVAxisRules::spectrumFrequency(r); }
Range gramTime(Range r) { return KOVAxisRules::spectrogramTime(r, 2.0); }
Range gramFreq(Range r) { return KOVAxisRules::spectrogramFrequency(r); }
Range slice5(Range r) { return KOVAxisRules::sliceTime(r, 0.2); }
Range sliceValue(Range r) { return KOVAxisRules::sliceValue(r, 0.5); }
Range sliceSilent(Range r) { return KOVAxisRules::sliceValue(r, 0.0); }
}
Q_DECLARE_METATYPE(Clamp)

class TestAudioRules : public QObject
{
    Q_OBJECT

private slots:
    void feed_data()
    {
        QTest::addColumn<int>("fed");
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<int>("from");
        QTest::newRow("first frame") << 0 << 3840 << false << 0;
        QTest::newRow("next frame") << 3840 << 7680 << false << 3840;
        QTest::newRow("same time again") << 7680 << 7680 << true << 0;
        QTest::newRow("back") << 96000 << 50000 << true << 50000 - 28799;
        QTest::newRow("forward 28798") << 1000 << 29798 << false << 1000;
        QTest::newRow("forward 28799") << 1000 << 29799 << true << 1000;
        QTest::newRow("jump a second") << 3840 << 99840 << true << 99840 - 28799;
    }
    void feed()
    {
        QFETCH(int, fed);
        QFETCH(int, end);
        const KOVAudioTiming::Feed f = KOVAudioTiming::feed(fed, end);
        QTEST(f.reset, "reset");
        QTEST(f.from, "from");
        QCOMPARE(f.to, end);
    }

    void clamps_data()
    {
        QTest::addColumn<Clamp>("clamp");
        QTest::addColumn<Range>("in");
        QTest::addColumn<Range>("out");
        QTest::newRow("value dragged wide") << Clamp(waveValue) << Range { -20000, 5000 } << Range { -10000, 10000 };
        QTest::newRow("value made symmetric") << Clamp(waveValue) << Range { -0.3, 0.2 } << Range { -0.3, 0.3 };
        QTest::newRow("value of silence") << Clamp(waveValue) << Range { 0, 0 } << Range { -1, 1 };
        QTest::newRow("time dragged past the end") << Clamp(waveTime1s) << Range { 0.8, 1.3 } << Range { 0.5, 1.0 };
        QTest::newRow("time dragged before 0") << Clamp(waveTime1s) << Range { -0.2, 0.3 } << Range { 0, 0.5 };
        QTest::newRow("time zoomed out") << Clamp(waveTime1s) << Range { -1, 3 } << Range { 0, 1 };
        QTest::newRow("time below 10 ms") << Clamp(waveTime1s) << Range { 0, 0.004 } << Range { 0, 0.01 };
        QTest::newRow("time, no audio") << Clamp(waveTimeNone) << Range { 0, 5 } << Range { 0, 0.01 };
        QTest::newRow("time, 5 ms audio") << Clamp(waveTimeShort) << Range { 0, 5 } << Range { 0, 0.01 };
        QTest::newRow("spectrum past 48 kHz") << Clamp(spectrum) << Range { 40000, 50000 } << Range { 38000, 48000 };
        QTest::newRow("spectrum below 0") << Clamp(spectrum) << Range { -500, 1000 } << Range { 0, 1500 };
        QTest::newRow("spectrogram time") << Clamp(gramTime) << Range { 1.5, 2.5 } << Range { 1.0, 2.0 };
        QTest::newRow("spectrogram kHz") << Clamp(gramFreq) << Range { -10, 60 } << Range { 0, 48 };
        QTest::newRow("slice before its frame") << Clamp(slice5) << Range { 0.19, 0.21 } << Range { 0.2, 0.22 };
        QTest::newRow("slice past its frame") << Clamp(slice5) << Range { 0.2, 0.3 } << Range { 0.2, 0.24 };
        QTest::newRow("slice values above max") << Clamp(sliceValue) << Range { 0.1, 0.7 } << Range { -0.1, 0.5 };
        QTest::newRow("slice of silence") << Clamp(sliceSilent) << Range { -3, 3 } << Range { -1, 1 };
    }
    void clamps()
    {
        QFETCH(Clamp, clamp);
        QFETCH(Range, in);
        QFETCH(Range, out);
        const Range got = clamp(in);
        QVERIFY2(qAbs(got.lower - out.lower) < 1e-9 && qAbs(got.upper - out.upper) < 1e-9,
            qPrintable(QStringLiteral("%1..%2").arg(got.lower).arg(got.upper)));
        QCOMPARE(clamp(got), got); // the clamp's own range-changed signal settles at once
    }

    void timeTicks_data()
    {
        QTest::addColumn<double>("span");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("count");
        QTest::newRow("0.5 ms") << 0.0005 << "mm:ss.zzz" << 1;
        QTest::newRow("4.5 ms") << 0.0045 << "mm:ss.zzz" << 5;
        QTest::newRow("exactly 5 ms") << 0.005 << "mm:ss.zzz" << 6;
        QTest::newRow("11 ms") << 0.011 << "mm:ss.zzz" << 12;
        QTest::newRow("8.9 s") << 8.9 << "mm:ss.zzz" << 12;
        QTest::newRow("9 s") << 9.0 << "mm:ss" << 12;
    }
    void timeTicks()
    {
        QFETCH(double, span);
        const KOVAxisRules::Ticks t = KOVAxisRules::timeTicks(span);
        QTEST(t.format, "format");
        QTEST(t.count, "count");
    }
};

QTEST_GUILESS_MAIN(TestAudioRules)
#include "tst_audiorules.moc"
