// Audio longer than one container can hold (2 GiB of float samples, about
// 93 minutes at 96 kHz) is refused with a message and leaves the views
// empty: nothing aborts. No such file is written: a sparse file's header
// claims the length, and the holders are handed a sample count.
#include "kovmessagebox.h"
#include "kovprpd.h"
#include "kovreadaudio.h"
#include "kovshowwavform.h"
#include "kovwaveform.h"
#include "kovwavheader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/mman.h>

class TestLongAudio : public QObject
{
    Q_OBJECT

private slots:
    void patternViewRefusesFile()
    {
        QStringList asked;
        KOVMessageBox::s_answer = [&asked](QMessageBox::Icon, const QString&, const QString& text, const QStringList&) {
            asked << text;
            return 0;
        };
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath("wav")));
        const quint32 bytes = quint32(KOVReadAudio::kMaxFrames + 1) * 2048; // mono, one frame too many
        QFile file(dir.filePath("wav/long.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(KOVWavHeader::build(1, 96000, bytes)) == 44);
        QVERIFY(file.resize(44 + qint64(bytes)));
        file.close();

        KOVPRPD view;
        view.setPDDPath(dir.filePath("wav/"), 1);
        view.showPDD(1.0f);
        KOVMessageBox::s_answer = nullptr;
        QVERIFY(!view.hasAudio() && !view.audioData());
        QCOMPARE(view.frameCount(), 0);
        QCOMPARE(view.periodCount(), 0);
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().contains(QLatin1String("93")) && asked.first().endsWith(file.fileName()),
                 qPrintable(asked.first()));
    }

    // The audio buffer and its window, handed more than a load gives, hold
    // nothing and read none of it.
    void holdersRefuseCount_data()
    {
        QTest::addColumn<int>("frames");
        QTest::newRow("one frame past the limit") << KOVReadAudio::kMaxFrames + 1;
        QTest::newRow("samples past the int range") << (1 << 21);
        QTest::newRow("largest count") << std::numeric_limits<int>::max();
    }
    void holdersRefuseCount()
    {
        QFETCH(int, frames);
        // Zero pages reserving nothing: what the holders would read before
        // giving up.
        const size_t size = size_t(KOVReadAudio::kMaxFrames + 1) * 1024 * sizeof(float);
        void* zeros = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        QVERIFY(zeros != MAP_FAILED);
        KOVWaveForm buffer;
        buffer.slotAudioData(static_cast<short*>(zeros), frames);
        QCOMPARE(buffer.length(), 0);
        QCOMPARE(buffer.window()->dataCount(), 0);
        KOVShowWavform window;
        window.setXAxisRange(frames * 1024.0);
        window.setData(static_cast<float*>(zeros));
        QCOMPARE(window.dataCount(), 0);
        QCOMPARE(window.rowCount(), 0);
        munmap(zeros, size);
    }
};

QTEST_MAIN(TestLongAudio)
#include "tst_longaudio.moc"
