// The working folder's names and its delete guard, the clip writer read back
// by OpenCV and ffprobe, and the locked-frame consistency check.
#include "kovclipnames.h"
#include "kovclipwriter.h"
#include "kovgen.h"
#include "kovlockcheck.h"
#include "kovreportrules.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <opencv2/videoio.hpp>

namespace {

bool touch(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write("x", 1) == 1;
}

QImage numberedFrame(int index)
{
    KOVGen::VideoOptions o;
    o.frames = index + 1;
    const cv::Mat bgr = KOVGen::videoFrame(index, o);
    QImage img(bgr.data, bgr.cols, bgr.rows, int(bgr.step), QImage::Format_BGR888);
    return img.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TstClipFiles : public QObject
{
    Q_OBJECT
private slots:
    void prefix_data();
    void prefix();
    void guard_data();
    void guard();
    void reportRemovalKeepsOutsideFiles();
    void clipReadBack();
    void lockCheck_data();
    void lockCheck();
};

void TstClipFiles::prefix_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("report 3") << "3" << "R3_";
    QTest::newRow("empty") << "" << "R_";
    QTest::newRow("slashes") << "2024/07\\1" << "R2024071_";
    QTest::newRow("climbs out") << "../../x" << "R....x_";
    QTest::newRow("windows reserved") << "a:b*c?d\"e<f>g|h" << "Rabcdefgh_";
}

void TstClipFiles::prefix()
{
    QFETCH(QString, number);
    QFETCH(QString, prefix);
    QCOMPARE(KOVClipNames::savePrefix(number), prefix);
    // Whatever the number, the files stay in the working folder.
    const QString path = KOVClipNames::frameImage("/items/a", KOVClipNames::savePrefix(number), 0);
    QCOMPARE(QFileInfo(path).absolutePath(), QStringLiteral("/items/a/hideImg"));
}

void TstClipFiles::guard_data()
{
    QTest::addColumn<QString>("relative"); // to the item folder
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<bool>("anyWorkingFolder"); // for callers without the item
    QTest::newRow("frame in working folder") << "hideImg/R1_0.jpg" << true << true;
    QTest::newRow("through ..") << "hideImg/../keep.jpg" << false << false;
    QTest::newRow("item folder itself") << "keep.jpg" << false << false;
    QTest::newRow("sub folder") << "hideImg/sub/keep.jpg" << false << false;
    QTest::newRow("other item's working folder") << "../other/hideImg/keep.jpg" << false << true;
    QTest::newRow("link to outside") << "hideImg/link.jpg" << false << false;
    QTest::newRow("working folder itself") << "hideImg" << false << false;
    QTest::newRow("missing") << "hideImg/none.jpg" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TstClipFiles::guard()
{
    QFETCH(QString, relative);
    QFETCH(bool, deleted);
    QFETCH(bool, anyWorkingFolder);
    QTemporaryDir root;
    const QString item = root.path() + "/item";
    QVERIFY(QDir().mkpath(item + "/hideImg/sub"));
    QVERIFY(QDir().mkpath(root.path() + "/other/hideImg"));
    QVERIFY(touch(item + "/hideImg/R1_0.jpg"));
    QVERIFY(touch(item + "/keep.jpg"));
    QVERIFY(touch(item + "/hideImg/sub/keep.jpg"));
    QVERIFY(touch(root.path() + "/other/hideImg/keep.jpg"));
    QVERIFY(QFile::link(item + "/keep.jpg", item + "/hideImg/link.jpg"));

    const QString path = relative.isEmpty() ? QString() : item + "/" + relative;
    QCOMPARE(KOVClipNames::inAWorkingFolder(path), anyWorkingFolder);
    QCOMPARE(KOVClipNames::removeInside(item, path), deleted);
    if (!path.isEmpty())
        QCOMPARE(QFileInfo::exists(path), !deleted && !relative.endsWith("none.jpg"));
    // Nothing outside the working folder is ever touched.
    QVERIFY(QFile::exists(item + "/keep.jpg"));
    QVERIFY(QFile::exists(item + "/hideImg/sub/keep.jpg"));
    QVERIFY(QFile::exists(root.path() + "/other/hideImg/keep.jpg"));
}

void TstClipFiles::reportRemovalKeepsOutsideFiles()
{
    // A record restored from the cache may name any file; removing a test
    // point takes only what lies in a working folder.
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.path() + "/item/hideImg"));
    const QString inside = root.path() + "/item/hideImg/R2_0.jpg";
    const QString outside = root.path() + "/item/VID_1.mp4";
    QVERIFY(touch(inside));
    QVERIFY(touch(outside));
    QCOMPARE(KOVReportRules::removeFiles({ inside, outside, QString() }), QStringList { outside });
    QVERIFY(!QFile::exists(inside));
    QVERIFY(QFile::exists(outside));
}

void TstClipFiles::clipReadBack()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/R1_videoClip.avi";
    const int n = 7;
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'z'));
    }
    KOVClipWriter w;
    QVERIFY2(w.open(path, 1024, 600, 15.0), qPrintable(w.error()));
    for (int i = 0; i < n; ++i)
        w.addFrame(numberedFrame(i + 3));
    QVERIFY2(w.close(), qPrintable(w.error()));
    QCOMPARE(w.framesWritten(), n);
    // A second close reports there was nothing open.
    QVERIFY(!w.close());

    cv::VideoCapture cap(path.toStdString());
    QVERIFY(cap.isOpened());
    QCOMPARE(int(cap.get(cv::CAP_PROP_FRAME_COUNT)), n);
    QCOMPARE(int(cap.get(cv::CAP_PROP_FRAME_WIDTH)), 1024);
    QCOMPARE(int(cap.get(cv::CAP_PROP_FRAME_HEIGHT)), 600);
    for (int i = 0; i < n; ++i) {
        cv::Mat m;
        QVERIFY(cap.read(m));
        // In the order given, nothing dropped or repeated.
        QCOMPARE(KOVGen::decodeFrameIndex(m), i + 3);
    }

    if (QStandardPaths::findExecutable("ffprobe").isEmpty())
        QSKIP("ffprobe not installed");
    QProcess p;
    p.start("ffprobe", { "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                           "stream=codec_name,width,height,r_frame_rate,nb_read_frames", "-of", "json", path });
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QJsonObject s = QJsonDocument::fromJson(p.readAllStandardOutput())["streams"].toArray().at(0).toObject();
    QCOMPARE(s["codec_name"].toString(), QStringLiteral("mjpeg"));
    QCOMPARE(s["width"].toInt(), 1024);
    QCOMPARE(s["height"].toInt(), 600);
    QCOMPARE(s["r_frame_rate"].toString(), QStringLiteral("15/1"));
    QCOMPARE(s["nb_read_frames"].toString().toInt(), n);
}

void TstClipFiles::lockCheck_data()
{
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<int>("images");
    QTest::addColumn<int>("pdd");
    QTest::addColumn<int>("types");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<int>("paths");
    QTest::addColumn<int>("pddPaths");
    QTest::addColumn<int>("infos");
    QTest::addColumn<bool>("ok");
    QTest::newRow("nothing locked") << QList<int>() << 0 << 0 << 0 << false << 0 << 0 << 0 << true;
    QTest::newRow("one with pattern") << QList<int> { 5 } << 1 << 1 << 1 << true << 1 << 1 << 1 << true;
    QTest::newRow("one before pattern") << QList<int> { 5 } << 1 << 0 << 0 << true << 1 << 0 << 1 << true;
    QTest::newRow("two locked") << QList<int> { 5, 6 } << 2 << 0 << 0 << true << 2 << 0 << 2 << false;
    QTest::newRow("pattern longer") << QList<int>() << 0 << 1 << 1 << false << 0 << 0 << 0 << false;
    QTest::newRow("flag not set") << QList<int> { 5 } << 1 << 0 << 0 << false << 1 << 0 << 1 << false;
    QTest::newRow("path left behind") << QList<int>() << 0 << 0 << 0 << false << 1 << 0 << 0 << false;
    QTest::newRow("pattern path without picture") << QList<int> { 5 } << 1 << 0 << 0 << true << 1 << 1 << 1 << false;
}

void TstClipFiles::lockCheck()
{
    QFETCH(QList<int>, marks);
    QFETCH(int, images);
    QFETCH(int, pdd);
    QFETCH(int, types);
    QFETCH(bool, marked);
    QFETCH(int, paths);
    QFETCH(int, pddPaths);
    QFETCH(int, infos);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    QList<QImage> img;
    QList<QImage> pddImg;
    QStringList pddTypes;
    KOVTestPointInfo rec;
    rec.type = ItemType::video;
    rec.marked = marked;
    for (int i = 0; i < images; ++i)
        img << QImage(4, 4, QImage::Format_RGB32);
    for (int i = 0; i < pdd; ++i)
        pddImg << QImage(4, 4, QImage::Format_RGB32);
    for (int i = 0; i < types; ++i)
        pddTypes << "T";
    for (int i = 0; i < paths; ++i) {
        rec.videoImgPathList << dir.filePath(QString::number(i) + ".jpg");
        QVERIFY(touch(rec.videoImgPathList.last()));
    }
    for (int i = 0; i < pddPaths; ++i) {
        rec.pddImgPathList << dir.filePath("pdd" + QString::number(i) + ".jpg");
        QVERIFY(touch(rec.pddImgPathList.last()));
    }
    for (int i = 0; i < infos; ++i)
        rec.imgInfoList << KOVImgInfo();
    const QString why = KOVLockCheck::check({ marks, img, pddImg, pddTypes, rec });
    QVERIFY2(why.isEmpty() == ok, qPrintable(why));
    if (ok && paths > 0) {
        // A path whose file is gone breaks it too.
        QFile::remove(rec.videoImgPathList.first());
        QVERIFY(!KOVLockCheck::check({ marks, img, pddImg, pddTypes, rec }).isEmpty());
        QVERIFY(KOVLockCheck::check({ marks, img, pddImg, pddTypes, rec }, false).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TstClipFiles)
#include "tst_clipfiles.moc"
