// The waveform window's spectrogram as it is zoomed and dragged: each
// column of the colour map stands over exactly the time of the frames it
// holds and shows their largest values; a view of 2048 frames or fewer has a
// column per frame; a drag or a wheel notch within what the map holds
// leaves it as it is. Every step is held to one check of the map.
#include "kovgen.h"
#include "kovshowwavform.h"
#include "kovtable.h"
#include "kovwaveform.h"

#include <QtTest>

#include <cmath>
#include <map>
#include <memory>

namespace {

const double kFrame = 1024 / 96000.0;

// frames x 1024 samples: a 12 kHz tone (bin 128) at half scale in the frames
// f with f % period == 0, digital silence (-120 in the map) in the others.
QVector<short> toneEvery(int frames, int period)
{
    QVector<short> x(frames * 1024, 0);
    for (int f = 0; f < frames; f += period)
        for (int i = 0; i < 1024; ++i)
            x[f * 1024 + i] = short(16000 * std::sin(2 * M_PI * 128 * i / 1024.0));
    return x;
}

// What is wrong with the map the window shows, or nothing. Its columns are
// of one width, a power of two of frames, the first starting on a multiple
// of it; each holds, in each bin looked at (all when none are named), the
// largest value of its frames, at least -120; the range shown lies within
// them; and a range of 2048 frames or fewer has a column per frame.
QString mapFault(KOVShowWavform* w, QVector<int> bins = {})
{
    QCPColorMapData* map = w->colorMap() ? w->colorMap()->data() : nullptr;
    if (!map || map->keySize() < 2)
        return QStringLiteral("no map");
    if (bins.isEmpty())
        for (int j = 0; j < 512; ++j)
            bins << j;
    const int size = map->keySize();
    const QCPRange keys = map->keyRange(); // the centres of the outer columns
    const double width = keys.size() / (size - 1) / kFrame;
    const int group = int(std::lround(width));
    if (std::fabs(width - group) > 1e-6 || group < 1 || (group & (group - 1)))
        return QStringLiteral("columns %1 frames wide").arg(width, 0, 'g', 12);
    const double startFrames = keys.lower / kFrame - width / 2;
    const int start = int(std::lround(startFrames));
    if (std::fabs(startFrames - start) > 1e-6 || start % group)
        return QStringLiteral("first column at frame %1 of columns %2 wide").arg(startFrames, 0, 'g', 12).arg(group);
    const QCPRange shown = w->spectrogramPlot()->xAxis->range();
    const int from = int(std::floor(shown.lower / kFrame + 1e-6));
    const int to = std::min(int(std::ceil(shown.upper / kFrame - 1e-6)), w->rowCount());
    if (start > from || start + size * group < to)
        return QStringLiteral("frames %1..%2 shown, %3..%4 held").arg(from).arg(to).arg(start).arg(start + size * group);
    if (to - from <= 2048 && group != 1)
        return QStringLiteral("%1 frames shown in columns of %2").arg(to - from).arg(group);
    for (int c = 0; c < size; ++c) {
        const int a = start + c * group;
        const int e = std::min(a + group, w->rowCount());
        for (int j : qAsConst(bins)) {
            double want = -120.0;
            for (int f = a; f < e; ++f)
                want = std::max(want, double(w->fftRow(f)[j]));
            if (map->cell(c, j) != want)
                return QStringLiteral("column %1 (frames %2..%3), bin %4: %5 for %6")
                    .arg(c).arg(a).arg(e).arg(j).arg(map->cell(c, j)).arg(want);
        }
    }
    return QString();
}

// The map's own extent, to tell whether a step made it anew.
QPair<QCPRange, int> extent(KOVShowWavform* w)
{
    return { w->colorMap()->data()->keyRange(), w->colorMap()->data()->keySize() };
}

} // namespace

class TestSpectrogram : public QObject
{
    Q_OBJECT

    // Audio fed once per pattern: 2200 frames with every period-th lit, and
    // 30 s of discharge bursts.
    std::map<int, std::unique_ptr<KOVWaveForm>> m_audio;

    KOVShowWavform* window(int period)
    {
        std::unique_ptr<KOVWaveForm>& wf = m_audio[period];
        if (!wf) {
            QVector<short> pcm;
            if (period > 0) {
                pcm = toneEvery(2200, period);
            } else {
                KOVGen::WavOptions o;
                o.content = KOVGen::AudioContent::PdBursts;
                o.seconds = 30.0;
                o.seed = 7;
                pcm = KOVGen::makeSamples(o);
                pcm.resize(pcm.size() / 1024 * 1024);
            }
            wf.reset(new KOVWaveForm);
            wf->slotAudioData(pcm.data(), pcm.size() / 1024);
        }
        return wf->window();
    }

private slots:
    void cleanupTestCase() { m_audio.clear(); }

    // At five times spread over each frame shown, the cell at 12 kHz is lit
    // exactly when a frame of its column is: zoomed in, the frame the time
    // falls in; over the whole 2200 frames, that frame's pair.
    void cellAtEachTime_data()
    {
        KOVTable::columns<int, int, int, int>({"period", "from", "to", "group"});
        for (int to : { 22, 24, 30, 70, 520, 2020 })
            QTest::addRow("alternate, frames 20..%d", to) << 2 << 20 << to << 1;
        QTest::newRow("alternate, whole") << 2 << 0 << 2200 << 2;
        QTest::newRow("every third, frames 20..2020") << 3 << 20 << 2020 << 1;
        QTest::newRow("every third, whole") << 3 << 0 << 2200 << 2;
    }
    void cellAtEachTime()
    {
        QFETCH(int, period);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, group);
        KOVShowWavform* w = window(period);
        QCOMPARE(w->rowCount(), 2200);
        w->spectrogramPlot()->xAxis->setRange(from * kFrame, to * kFrame);
        QCOMPARE(w->spectrogramPlot()->xAxis->range(), QCPRange(from * kFrame, to * kFrame));
        QCPColorMapData* map = w->colorMap()->data();
        int misses = 0;
        QString first;
        for (int f = from; f < to; ++f) {
            const int a = f / group * group;
            bool lit = false;
            for (int g = a; g < a + group; ++g)
                lit = lit || g % period == 0;
            for (int s = 0; s < 5; ++s) {
                const double t = (f + (s + 0.5) / 5) * kFrame;
                int key = -1;
                int value = -1;
                map->coordToCell(t, 12.0, &key, &value);
                const double cell = map->cell(key, value);
                if (value != 128 || (lit ? !(cell > 0) : cell != -120.0)) {
                    if (!misses++)
                        first = QStringLiteral("%1 s in frame %2 (%3): column %4, bin %5, %6")
                                    .arg(t).arg(f).arg(lit ? "lit" : "silent").arg(key).arg(value).arg(cell);
                }
            }
        }
        QVERIFY2(!misses, qPrintable(QStringLiteral("%1 of %2 times, first %3").arg(misses).arg((to - from) * 5).arg(first)));
        QVERIFY2(mapFault(w, { 0, 128 }).isEmpty(), qPrintable(mapFault(w, { 0, 128 })));
    }

    // 30 s of audio, 2812 frames, more than a map has columns: zoomed in, a
    // column per frame; dragged, the frames follow; zoomed out, pooled.
    void columnsFollowZoom_data()
    {
        KOVTable::columns<double, double, int>({"from", "to", "group"});
        QTest::newRow("about a second: a column per frame") << 10.0 << 11.0 << 1;
        QTest::newRow("dragged to the end") << 29.5 << 2812 * kFrame << 1;
        QTest::newRow("2048 frames: still each") << 0.0 << 2048 * kFrame << 1;
        QTest::newRow("2049 frames: pooled") << kFrame << 2050 * kFrame << 2;
        QTest::newRow("all again: pooled") << 0.0 << 2812 * kFrame << 2;
    }
    void columnsFollowZoom()
    {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, group);
        KOVShowWavform* w = window(0);
        QCOMPARE(w->rowCount(), 2812);
        w->spectrogramPlot()->xAxis->setRange(from, to);
        QCOMPARE(w->spectrogramPlot()->xAxis->range(), QCPRange(from, to));
        QCPColorMapData* map = w->colorMap()->data();
        QCOMPARE(map->valueSize(), 512);
        QCOMPARE(map->keyRange().size() / (map->keySize() - 1), group * kFrame);
        QVERIFY2(mapFault(w).isEmpty(), qPrintable(mapFault(w)));
    }

    // A drag moves the range by 1/60 of its width a step, to the end and
    // back; wheel notches (0.85 a notch) go from the whole in to a tenth of
    // a second and back out. After every step the map is sound, and only a
    // step past what it holds, or to another level of pooling, makes it anew.
    void dragAndWheelKeepTheMap_data()
    {
        KOVTable::columns<bool, double, int>({"wheel", "width", "rebuilds"});
        QTest::newRow("drag, 1 s shown") << false << 1.0 << 3;
        QTest::newRow("drag, 10 s shown") << false << 10.0 << 3;
        QTest::newRow("drag, pooled") << false << 23.0 << 3;
        QTest::newRow("wheel") << true << 0.0 << 17;
    }
    void dragAndWheelKeepTheMap()
    {
        QFETCH(bool, wheel);
        QFETCH(double, width);
        QFETCH(int, rebuilds);
        KOVShowWavform* w = window(3);
        QCPAxis* axis = w->spectrogramPlot()->xAxis;
        const double end = 2200 * kFrame;
        axis->setRange(0.0, wheel ? end : width);
        QVERIFY2(mapFault(w, { 128 }).isEmpty(), qPrintable(mapFault(w, { 128 })));
        auto was = extent(w);
        int steps = 0;
        int anew = 0;
        const auto step = [&](const QCPRange& r) {
            axis->setRange(r);
            ++steps;
            const QString fault = mapFault(w, { 0, 128 });
            if (!fault.isEmpty())
                return QStringLiteral("step %1 to %2..%3: %4").arg(steps).arg(r.lower).arg(r.upper).arg(fault);
            const auto now = extent(w);
            anew += now != was;
            was = now;
            return QString();
        };
        if (wheel) {
            for (const double factor : { 0.85, 1 / 0.85 })
                while (factor < 1 ? axis->range().size() > 0.1 : axis->range().size() < end) {
                    QCPRange r = axis->range();
                    r = QCPRange(11.3 + (r.lower - 11.3) * factor, 11.3 + (r.upper - 11.3) * factor);
                    const QString fault = step(r);
                    QVERIFY2(fault.isEmpty(), qPrintable(fault));
                }
        } else {
            double from = 0.0;
            double dir = 1.0;
            for (int i = 0; i < 60; ++i) {
                if (from + dir * width / 60 < 0 || from + width + dir * width / 60 > end)
                    dir = -dir;
                from += dir * width / 60;
                const QString fault = step(QCPRange(from, from + width));
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
            }
        }
        QVERIFY2(anew <= rebuilds, qPrintable(QStringLiteral("made anew at %1 of %2 steps").arg(anew).arg(steps)));
    }

    // Audio arriving shows all of its time, the first frame's column from 0,
    // the last one's to the end; a single frame's column spans the frame.
    void wholeAudioAtLoad_data()
    {
        KOVTable::columns<int>({"frames"});
        QTest::newRow("one frame") << 1;
        QTest::newRow("five frames") << 5;
        QTest::newRow("pooled") << 2200;
    }
    void wholeAudioAtLoad()
    {
        QFETCH(int, frames);
        KOVWaveForm wf;
        QVector<short> pcm = toneEvery(frames, 1);
        wf.slotAudioData(pcm.data(), frames);
        KOVShowWavform* w = wf.window();
        const QCPRange shown = w->spectrogramPlot()->xAxis->range();
        QVERIFY2(shown.lower == 0 && std::fabs(shown.upper - frames * kFrame) < 1e-12,
            qPrintable(QStringLiteral("%1..%2").arg(shown.lower).arg(shown.upper)));
        QCPColorMapData* map = w->colorMap()->data();
        for (double t : { 0.02, 0.5, 0.98 }) {
            int key = -1;
            int value = -1;
            map->coordToCell(t * frames * kFrame, 12.0, &key, &value);
            QVERIFY(key >= 0 && key < map->keySize());
            QVERIFY(map->cell(key, value) > 0);
        }
        if (frames > 1)
            QVERIFY2(mapFault(w, { 128 }).isEmpty(), qPrintable(mapFault(w, { 128 })));
    }

    // Less than a frame of audio, through the window's own calls (the
    // buffer hands whole frames): no rows, a map without cells or time, and
    // the time axis the audio's.
    void lessThanAFrame()
    {
        KOVShowWavform w;
        QVector<float> x(500, 0.5f);
        w.setXAxisRange(x.size());
        w.setYAxisRange(0.5);
        w.setData(x.data());
        QCOMPARE(w.rowCount(), 0);
        QVERIFY(w.colorMap() && w.colorMap()->data()->isEmpty());
        QCOMPARE(w.colorMap()->data()->keyRange(), QCPRange(0, 0));
        QCOMPARE(w.spectrogramPlot()->xAxis->range(), QCPRange(0, 500 / 96000.0));
    }
};

QTEST_MAIN(TestSpectrogram)
#include "tst_spectrogram.moc"
