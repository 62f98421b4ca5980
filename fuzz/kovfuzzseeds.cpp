// Writes the seed corpora of the fuzz targets, one folder per target, from
// our generators and from the templates and bank the build made:
//   kovfuzzseeds <corpus folder> <run cfg folder>
#include "avilib.h"
#include "kovcachefile.h"
#include "kovconfig.h"
#include "kovfiledialog.h"
#include "kovfuzzparts.h"
#include "kovgen.h"
#include "kovgetitemlabelinfo.h"
#include "kovitem.h"
#include "kovmessagebox.h"
#include "kovreportexport.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <cstdio>

namespace {

QString g_corpus;

bool put(const QString& target, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(g_corpus + QLatin1Char('/') + target);
    QFile f(g_corpus + QLatin1Char('/') + target + QLatin1Char('/') + name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray slurp(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void iniSeeds(const QString& tmp)
{
    const QString usr = tmp + QStringLiteral("/usrInfo.ini");
    for (const char* codec : {"GBK", "UTF-8"}) {
        KOVGen::writeUsrInfo(usr, KOVGen::demoUsrInfo(codec[0] == 'G' ? 1 : 2), codec);
        put(QStringLiteral("usrinfo"), QStringLiteral("usr_%1").arg(QLatin1String(codec)), slurp(usr));
        put(QStringLiteral("inifile"), QStringLiteral("usr_%1").arg(QLatin1String(codec)), slurp(usr));
    }
    int n = 0;
    for (const KOVGen::ItemLabel& label : {KOVGen::gasLabel(3), KOVGen::electricalLabel(4)}) {
        const QString item = tmp + QStringLiteral("/itemInfo%1.ini").arg(n);
        KOVGen::writeItemInfo(item, label);
        put(QStringLiteral("iteminfo"), QStringLiteral("imager_%1").arg(n), slurp(item));
        // The same label as our label page saves it: quoted and escaped.
        KOVGetItemLabelInfo saved;
        saved.readItemCfgInfo(item);
        saved.m_faultSite_gas = QStringLiteral("阀门, 东侧; \"B\" @1");
        saved.saveItemCfgInfo();
        put(QStringLiteral("iteminfo"), QStringLiteral("saved_%1").arg(n), slurp(item));
        put(QStringLiteral("inifile"), QStringLiteral("item_%1").arg(n++), slurp(item));
    }
    QDir::setCurrent(tmp);
    QDir().mkpath(QStringLiteral("cfg"));
    KOVConfig cfg;
    cfg.m_company = QStringLiteral("公司, A");
    cfg.saveCfg();
    {
        // What QSettings writes for the typed values a settings file may hold.
        QSettings s(KOVConfig::cfgPath(), QSettings::IniFormat);
        s.setValue(QStringLiteral("Window/size"), QSize(1300, 800));
        s.setValue(QStringLiteral("Window/state"), QByteArray("\x00\x01\xff", 3));
        s.setValue(QStringLiteral("OEM_Info/title_en"), QStringLiteral("@Title"));
    }
    put(QStringLiteral("config"), QStringLiteral("saved"), slurp(KOVConfig::cfgPath()));
    put(QStringLiteral("inifile"), QStringLiteral("config"), slurp(KOVConfig::cfgPath()));
}

void infoDatSeeds()
{
    int n = 0;
    for (const int format : {2, 11, 12, 13}) {
        for (const int faults : {0, 15}) {
            KOVGen::InfoDatOptions o;
            o.format = format;
            o.frames = 4;
            o.faults = faults;
            o.lineEnd = faults ? KOVGen::LineEnd::LF : KOVGen::LineEnd::CRLF;
            put(QStringLiteral("infodat"), QStringLiteral("info_%1").arg(n++), KOVGen::infoDatBytes(o));
        }
    }
}

void audioSeeds()
{
    for (const int channels : {1, 2}) {
        KOVGen::WavOptions o;
        o.channels = channels;
        o.seconds = 0.05;
        o.content = channels == 1 ? KOVGen::AudioContent::Tone : KOVGen::AudioContent::PdBursts;
        const QByteArray wav = KOVGen::wavBytes(KOVGen::makeSamples(o), channels, o.sampleRate);
        put(QStringLiteral("wav"), QStringLiteral("wav_%1").arg(channels), wav);
        if (channels == 2)
            put(QStringLiteral("multaudio"), QStringLiteral("stereo"), QByteArray(1, '\x05') + wav);
    }
}

void aviSeeds(const QString& tmp)
{
    for (const int tracks : {0, 1, 2}) {
        const QString path = tmp + QStringLiteral("/clip%1.avi").arg(tracks);
        avi_t* a = AVI_open_output_file(QFile::encodeName(path).constData());
        if (!a)
            continue;
        AVI_set_video(a, 16, 16, 25.0, "MJPG");
        for (int t = 0; t < tracks; ++t)
            AVI_set_audio(a, 1 + t, 8000, 16, 1, 0);
        const QByteArray audio(64, '\x11');
        for (int f = 0; f < 3; ++f) {
            AVI_write_frame(a, KOVGen::tinyJpeg().constData(), KOVGen::tinyJpeg().size(), 1);
            for (int t = 0; t < tracks; ++t) {
                AVI_set_audio_track(a, t);
                AVI_write_audio(a, audio.constData(), audio.size());
            }
        }
        AVI_close(a);
        const QByteArray bytes = slurp(path);
        put(QStringLiteral("avi"), QStringLiteral("idx1_%1").arg(tracks), QByteArray(1, '\0') + bytes);
        put(QStringLiteral("avi"), QStringLiteral("scan_%1").arg(tracks), QByteArray(1, '\1') + bytes);
    }
}

void bankSeeds(const QString& cfg)
{
    const QByteArray bank = slurp(cfg + QStringLiteral("/Data/bank.txt"));
    put(QStringLiteral("bank"), QStringLiteral("bank"), bank);
    // A short one: the header and a few rows, so mutations reach the rows.
    QList<QByteArray> lines = bank.split('\n');
    put(QStringLiteral("bank"), QStringLiteral("short"), lines.mid(0, 14).join('\n'));
}

void workbookSeeds(const QString& cfg)
{
    for (const char* t : {"gas_ch", "elec_en"}) {
        const QString path = cfg + QStringLiteral("/template_") + QLatin1String(t);
        put(QStringLiteral("workbook"), QStringLiteral("zip_%1").arg(QLatin1String(t)), slurp(path));
        QuaZip zip(path);
        if (!zip.open(QuaZip::mdUnzip))
            continue;
        QList<QPair<QByteArray, QByteArray>> parts;
        for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
            QuaZipFile f(&zip);
            if (f.open(QIODevice::ReadOnly))
                parts.append({zip.getCurrentFileName().toUtf8(), f.readAll()});
        }
        put(QStringLiteral("workbook"), QStringLiteral("parts_%1").arg(QLatin1String(t)), KOVFuzz::joinParts(parts));
    }
}

void pictureSeeds()
{
    put(QStringLiteral("picture"), QStringLiteral("jpeg"), KOVGen::tinyJpeg());
    for (const char* fmt : {"PNG", "BMP"}) {
        QImage img(5, 3, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, fmt);
        put(QStringLiteral("picture"), QString::fromLatin1(fmt).toLower(), bytes);
    }
    put(QStringLiteral("picture"), QStringLiteral("gif"), QByteArray("GIF89a\x05\x00\x03\x00\x00\x00\x00;", 14));
}

// The recovery cache the main window writes: items imported, one shown on
// the browse page, a gas and an electrical report with ticked rows. The user
// directory stays (beside the run's cfg) so the cache passes the restore's
// check; a second seed adds locked frames and paths to the shown item's page.
void cacheSeeds(const QString& tmp, const QString& cfg)
{
    const QString old = QDir::currentPath();
    QDir::setCurrent(tmp);
    KOVGen::DirOptions o;
    o.outDir = QDir::cleanPath(cfg + QStringLiteral("/../users/default"));
    o.items = 4;
    o.light = true;
    o.force = true;
    if (KOVGen::writeUserDirectory(o).ok) {
        KOVMessageBox::s_answer = [](QMessageBox::Icon, const QString&, const QString&, const QStringList&) { return 0; };
        KOVFileDialog::s_chooseHook = [o](const QString&) { return o.outDir; };
        KOVReportExport w;
        w.show();
        w.importFiles();
        w.clickItemtoShow(1);
        w.addNewReport(0);
        w.itemEntries().at(0)->setChosed();
        w.itemEntries().at(2)->setChosed();
        w.addNewReport(1);
        w.itemEntries().at(3)->setChosed();
        w.saveData();
        const QByteArray written = slurp(KOVCacheFile().jsonPath());
        put(QStringLiteral("cache"), QStringLiteral("window"), written);
        QJsonObject root = QJsonDocument::fromJson(written).object();
        QJsonObject page = root.value(QStringLiteral("videoImg")).toObject();
        QJsonObject tp = page.value(QStringLiteral("testPoint")).toObject();
        const QString hide = o.outDir + QStringLiteral("/item_00002/hideImg/");
        tp.insert(QStringLiteral("markList"), QJsonArray { 3, 3, 0, 7 });
        QJsonObject point = tp.value(QStringLiteral("pointInfo")).toObject();
        point.insert(QStringLiteral("videoImgPathList"), QJsonArray { hide + QStringLiteral("3.jpg"), hide + QStringLiteral("../x.jpg") });
        tp.insert(QStringLiteral("pointInfo"), point);
        page.insert(QStringLiteral("testPoint"), tp);
        root.insert(QStringLiteral("videoImg"), page);
        put(QStringLiteral("cache"), QStringLiteral("locked"), QJsonDocument(root).toJson());
        KOVCacheFile().remove();
    }
    QDir::setCurrent(old);
}

// A test point's page state as fuzz_restore reads it: "@ITEMS@" stands for
// the items it plants (real, out, self, other), "./cache/frame.jpg" for the
// cached picture of a locked frame.
void restoreSeeds()
{
    for (int item = 0; item < 3; ++item) {
        const QString hide = QStringLiteral("@ITEMS@/%1/hideImg/").arg(QStringList { "real", "out", "self" }.at(item));
        const QJsonObject point { { "hasClip", true }, { "pdd", true },
            { "videoImgPathList", QJsonArray { hide + "R1_0.jpg" } }, { "pddImgPathList", QJsonArray { hide + "R1_pdd0.jpg" } },
            { "imgInfoList", QJsonArray { QJsonObject { { "heatSPL", "70 dB" } } } } };
        const QJsonObject tp { { "preSelect", item }, { "markList", QJsonArray { 3 } },
            { "markedImgList", QJsonArray { "./cache/frame.jpg" } }, { "pddImgList", QJsonArray { "./cache/frame.jpg" } },
            { "markedPrpdTypeList", QJsonArray { "T" } }, { "screenList", QJsonArray { hide + "R1_videoClip.avi" } },
            { "screenAudioList", QJsonArray { hide + "R1_audioClip.wav" } }, { "pointInfo", point } };
        put(QStringLiteral("restore"), QStringLiteral("item%1").arg(item),
            QJsonDocument(QJsonObject { { "testPoint", tp } }).toJson());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: kovfuzzseeds <corpus folder> <run cfg folder>\n");
        return 2;
    }
    g_corpus = QDir(args[1]).absolutePath();
    const QString cfg = QDir(args[2]).absolutePath();
    QTemporaryDir tmp;
    if (!tmp.isValid() || !QDir().mkpath(g_corpus))
        return 1;
    infoDatSeeds();
    audioSeeds();
    aviSeeds(tmp.path());
    bankSeeds(cfg);
    workbookSeeds(cfg);
    pictureSeeds();
    cacheSeeds(tmp.path(), cfg);
    restoreSeeds();
    iniSeeds(tmp.path()); // last: it changes the working folder
    return 0;
}
