// The workbook layer on its own: readers fed broken files and hostile
// templates, cell text, sheet copies, picture headers and anchors, and the
// atomic save.
#include "kovxlsxbook.h"
#include "kovxlsxgeometry.h"
#include "kovxlsximageinfo.h"
#include "kovxlsxtext.h"
#include "kovtable.h"
#include "kovtestutil.h"
#include "xlsxtesthelp.h"

#include <QJsonArray>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <sys/resource.h>

using namespace KOVXlsxTest;

namespace {

const char* const kSheet = "xl/worksheets/sheet2.xml"; // the test point sheet

QByteArray nested(int depth)
{
    return "<c r=\"A1\" t=\"inlineStr\"><is>" + QByteArray("<r>").repeated(depth) + "<t>deep</t>"
           + QByteArray("</r>").repeated(depth) + "</is></c>";
}

} // namespace

class TestXlsxBook : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFile::exists(tpl()), "templates are built by the kovtemplates target");
    }

    void brokenFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = KOVTest::readAll(tpl());
        QVERIFY(!good.isEmpty());

        QTest::newRow("zip signature then junk") << QByteArray("PK\x03\x04", 4) + QByteArray(500, '\x7f');
        QTest::newRow("truncated to half") << good.left(good.size() / 2);
        QTest::newRow("truncated before the directory end") << good.left(good.size() - 10);

        // Every central and local header claims 1000 bytes more than the part holds.
        QByteArray lying = good;
        for (const auto& h : {qMakePair(QByteArray("PK\x01\x02", 4), 24), qMakePair(QByteArray("PK\x03\x04", 4), 22)})
            for (int at = 0; (at = lying.indexOf(h.first, at)) >= 0; at += 4)
                qToLittleEndian(qFromLittleEndian<quint32>(lying.constData() + at + h.second) + 1000, lying.data() + at + h.second);
        QTest::newRow("headers claim more than the file holds") << lying;

        // One flipped byte in the middle of the compressed data.
        QByteArray flipped = good;
        flipped[good.size() / 3] = char(flipped[good.size() / 3] ^ 0x55);
        QTest::newRow("damaged compressed data") << flipped;

        // The template with one part removed or cut.
        const auto without = [this](const QString& part, bool cut) {
            const QString path = m_dir.filePath(QStringLiteral("edited.xlsx"));
            KOVXlsxPackage pkg;
            if (!pkg.read(tpl()) || !pkg.contains(part))
                qFatal("template unreadable");
            if (cut)
                pkg.setPart(part, pkg.part(part).left(pkg.part(part).size() / 2));
            else
                pkg.removePart(part);
            if (!pkg.write(path))
                qFatal("cannot write %s", qPrintable(path));
            return KOVTest::readAll(path);
        };
        QTest::newRow("no content types") << without(QStringLiteral("[Content_Types].xml"), false);
        QTest::newRow("sheet part missing") << without(QStringLiteral("xl/worksheets/sheet2.xml"), false);
        QTest::newRow("workbook part cut in half") << without(QStringLiteral("xl/workbook.xml"), true);
    }
    void brokenFiles()
    {
        QFETCH(QByteArray, bytes);
        KOVXlsxBook book;
        QVERIFY(!book.load(file(bytes)) && !book.errorMessage().isEmpty() && book.sheetCount() == 0);
        QVERIFY(!book.save(m_dir.filePath(QStringLiteral("never.xlsx"))));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("never.xlsx"))));
    }

    void cellRefs_data()
    {
        KOVTable::columns<QByteArray, int, int>({"ref", "row", "col"});
        QTest::newRow("A1") << QByteArray("A1") << 0 << 0;
        QTest::newRow("B71") << QByteArray("B71") << 70 << 1;
        QTest::newRow("last cell") << QByteArray("XFD1048576") << 1048575 << 16383;
        QTest::newRow("column past the end") << QByteArray("XFE1") << -1 << -1;
        QTest::newRow("row past the end") << QByteArray("A1048577") << -1 << -1;
        QTest::newRow("row zero") << QByteArray("A0") << -1 << -1;
        QTest::newRow("digits first") << QByteArray("1A") << -1 << -1;
        QTest::newRow("lower case") << QByteArray("a1") << -1 << -1;
        QTest::newRow("trailing junk") << QByteArray("A1x") << -1 << -1;
    }
    void cellRefs()
    {
        QFETCH(QByteArray, ref);
        QFETCH(int, row);
        int r = -1, c = -1;
        QCOMPARE(KOVXlsxText::parseCellRef(ref.constData(), &r, &c), row >= 0);
        QCOMPARE(r, row);
        QTEST(c, "col");
        if (row >= 0)
            QCOMPARE(KOVXlsxText::cellRef(r, c).toLatin1(), ref);
    }

    void cellText_data()
    {
        KOVTable::columns<QString, QString>({"text", "stored"});
        QTest::newRow("markup characters") << QStringLiteral("A&B <c> \"d\" 'e'") << QStringLiteral("A&B <c> \"d\" 'e'");
        QTest::newRow("leading and trailing blanks") << QStringLiteral("   –   测试 ") << QStringLiteral("   –   测试 ");
        QTest::newRow("empty") << QString() << QString("");
        QTest::newRow("control characters") << QStringLiteral("a\x01" "b\x08" "c\x1f" "d\x0b" "e") << QStringLiteral("abcde");
        QTest::newRow("tab and line breaks kept") << QStringLiteral("a\tb\nc\r\nd") << QStringLiteral("a\tb\nc\r\nd");
        QTest::newRow("non-characters") << QString(QChar(0xFFFE)) + QStringLiteral("x") + QChar(0xFFFF) << QStringLiteral("x");
        QTest::newRow("lone surrogates") << QString(QChar(0xD800)) + QStringLiteral("x") + QChar(0xDC00) << QStringLiteral("x");
        QTest::newRow("surrogate pair kept") << QStringLiteral("泄漏😀") << QStringLiteral("泄漏😀");
        QTest::newRow("escape look-alike") << QStringLiteral("_x0041_ and _x005F_") << QStringLiteral("_x0041_ and _x005F_");
        QTest::newRow("longer than a cell holds") << QString(40000, QLatin1Char('z')) << QString(32767, QLatin1Char('z'));
    }
    void cellText()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        const QString out = m_dir.filePath(QStringLiteral("text.xlsx"));
        {
            KOVXlsxBook book;
            QVERIFY(book.load(tpl()));
            QVERIFY(book.sheet(1)->writeStr(6, 0, text));
            QVERIFY(book.sheet(1)->writeStr(200, 30, text)); // a row and column the template lacks
            QVERIFY2(book.save(out), qPrintable(book.errorMessage()));
        }
        KOVXlsxBook again;
        QVERIFY2(again.load(out), qPrintable(again.errorMessage()));
        QCOMPARE(again.sheet(1)->readStr(6, 0), stored);
        QCOMPARE(again.sheet(1)->readStr(200, 30), stored);
        QVERIFY(again.sheet(1)->readStr(6, 1).isNull()); // a styled blank cell holds no text
        QCOMPARE(inspect(out).value("structure").toArray(), QJsonArray());
    }

    // A copy carries the pattern's layout and pictures, takes its own text, and
    // never joins the pattern's selection: only one tab may be selected, or the
    // user's first edit goes to every sheet of the group.
    void sheetCopy_data()
    {
        KOVTable::columns<int, bool>({"pattern", "pointSelected"}); // pointSelected: the template was saved on its second sheet
        QTest::newRow("copy of an unselected sheet") << 1 << false;
        QTest::newRow("copy of the selected home sheet") << 0 << false;
        QTest::newRow("copy of a selected point sheet") << 1 << true;
    }
    void sheetCopy()
    {
        QFETCH(int, pattern);
        QFETCH(bool, pointSelected);
        const QString src = m_dir.filePath(QStringLiteral("selected.xlsx")), out = m_dir.filePath(QStringLiteral("copy.xlsx")),
                      pic = m_dir.filePath(QStringLiteral("copy.png"));
        QVERIFY(makePicture(pic, 100, 50, "PNG"));
        QVERIFY(patchPart(tpl(), src, QStringLiteral("xl/worksheets/sheet2.xml"), [pointSelected](QByteArray b) {
            return pointSelected ? b.replace("<sheetView ", "<sheetView tabSelected=\"1\" ") : b;
        }));
        QString title;
        {
            KOVXlsxBook book;
            QVERIFY(book.load(src));
            KOVXlsxSheet* p = book.sheet(pattern);
            title = p->readStr(0, 0);
            // A picture placed before the copy travels with it, and on to a copy of the copy.
            QVERIFY(p->setPicture(13, 0, book.addPicture(pic), 1.0, 0, 0));
            KOVXlsxSheet* a = book.addSheetCopy(QStringLiteral("Copy (2)"), p);
            QVERIFY(a && book.addSheetCopy(QStringLiteral("Copy (3)"), a) && a->writeStr(0, 0, QStringLiteral("only in the copy")));
            QCOMPARE(p->readStr(0, 0), title);
            QVERIFY2(book.save(out), qPrintable(book.errorMessage()));
        }
        const QJsonObject r = inspect(out);
        QCOMPARE(r.value("structure").toArray(), QJsonArray());
        const QJsonArray sheets = r.value("sheets").toArray();
        QCOMPARE(sheets.size(), 4);
        const QJsonObject p = sheets.at(pattern).toObject();
        QCOMPARE(p.value("images").toArray().size(), 1);
        const QList<bool> selected{true, pointSelected, false, false};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(sheets.at(i).toObject().value("selected").toBool() == selected[i], qPrintable(QString::number(i)));
        for (int i : {2, 3}) {
            const QJsonObject c = sheets.at(i).toObject();
            QJsonObject styles = c.value("styles").toObject(), expected = p.value("styles").toObject();
            if (i == 2) { // its A1 was written: a cell the home sheet lacks
                styles.remove("A1");
                expected.remove("A1");
            }
            QCOMPARE(styles, expected);
            for (const char* key : {"merged", "widths", "heights", "paper", "images"})
                QVERIFY2(c.value(key) == p.value(key), key);
            QCOMPARE(c.value("cells").toObject().value("A1").toString(), i == 2 ? QStringLiteral("only in the copy") : title);
        }
    }

    void sheetCopyRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty name") << QString();
        QTest::newRow("taken name") << QStringLiteral("Test Fault Point (1)");
        QTest::newRow("taken name other case") << QStringLiteral("REPORT");
        QTest::newRow("forbidden character") << QStringLiteral("a/b");
        QTest::newRow("too long") << QString(32, QLatin1Char('n'));
        QTest::newRow("leading apostrophe") << QStringLiteral("'x");
    }
    void sheetCopyRefused()
    {
        QFETCH(QString, name);
        KOVXlsxBook book;
        QVERIFY(book.load(templatePath(QStringLiteral("template_gas_en"))));
        QVERIFY(!book.addSheetCopy(name, book.sheet(1)));
        QVERIFY(!book.errorMessage().isEmpty());
        QCOMPARE(book.sheetCount(), 2);
        // A sheet of another book is no pattern.
        KOVXlsxBook other;
        QVERIFY(other.load(tpl()));
        QVERIFY(!book.addSheetCopy(QStringLiteral("fine"), other.sheet(1)));
    }

    void imageHeaders_data()
    {
        KOVTable::columns<QByteArray, QString, QSize>({"bytes", "extension", "size"});
        const auto file = [this](int w, int h, const char* fmt, bool progressive = false) {
            const QString path = m_dir.filePath(QStringLiteral("probe.") + QLatin1String(fmt));
            QImage img(w, h, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QImageWriter wr(path, fmt);
            wr.setProgressiveScanWrite(progressive);
            wr.write(img);
            return KOVTest::readAll(path);
        };
        const QByteArray jpeg = file(1024, 600, "JPEG");
        QTest::newRow("baseline JPEG") << jpeg << "jpeg" << QSize(1024, 600);
        QTest::newRow("progressive JPEG") << file(530, 220, "JPEG", true) << "jpeg" << QSize(530, 220);
        QTest::newRow("PNG") << file(530, 220, "PNG") << "png" << QSize(530, 220);
        // Qt writes no GIF; the logical screen header is all the probe reads.
        QTest::newRow("GIF") << QByteArray("GIF89a\x07\x00\x09\x00\x80\x00\x00", 13) << "gif" << QSize(7, 9);
        QTest::newRow("BMP") << file(33, 17, "BMP") << "bmp" << QSize(33, 17);
        QTest::newRow("JPEG cut before its frame header") << jpeg.left(30) << "" << QSize();
        QTest::newRow("PNG signature only") << QByteArray("\x89PNG\r\n\x1a\n", 8) << "" << QSize();
        QTest::newRow("nonsense") << QByteArray(64, 'q') << "" << QSize();
        QByteArray zeroPng = file(5, 5, "PNG");
        zeroPng.replace(16, 8, QByteArray(8, '\0'));
        QTest::newRow("PNG of size zero") << zeroPng << "" << QSize();
        QByteArray hugePng = file(5, 5, "PNG");
        hugePng.replace(16, 4, QByteArray("\x7f\xff\xff\xff", 4));
        QTest::newRow("PNG claiming two billion columns") << hugePng << "" << QSize();
    }
    void imageHeaders()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, extension);
        QFETCH(QSize, size);
        const KOVXlsxImageInfo info = KOVXlsxImageInfo::probe(bytes);
        QCOMPARE(info.isValid(), !extension.isEmpty());
        if (info.isValid())
            QCOMPARE(qMakePair(info.extension, info.size), qMakePair(extension, size));
        // The book refuses the same bytes as a file, and pictures it lacks.
        KOVXlsxBook book;
        QVERIFY(book.load(tpl()));
        QCOMPARE(book.addPicture(file(bytes)) >= 0, !extension.isEmpty());
        QCOMPARE(book.addPicture(m_dir.filePath(QStringLiteral("missing.jpg"))), -1);
        QVERIFY(!book.sheet(1)->setPicture(13, 0, 99, 1.0, 0, 0));
        QVERIFY(!book.sheet(1)->setPicture(13, 0, -1, 1.0, 0, 0));
    }

    void anchors_data()
    {
        // The test point sheet: columns A to H of 87 pixels, later ones of 64,
        // rows from 14 on of 20 pixels.
        KOVTable::columns<QSize, double, int, int, QList<int>, QList<int>>({"picture", "scale", "dx", "dy", "from", "to"}); // column, offset px, row, offset px
        QTest::newRow("locked frame") << QSize(1024, 600) << 0.6 << 40 << 20 << QList<int>{0, 40, 14, 0} << QList<int>{7, 45, 32, 0};
        QTest::newRow("pattern below it") << QSize(530, 220) << 1.0 << 85 << 400 << QList<int>{0, 85, 33, 0} << QList<int>{7, 6, 44, 0};
        QTest::newRow("offset of exactly one column") << QSize(1024, 600) << 0.1 << 87 << 0 << QList<int>{1, 0, 13, 0} << QList<int>{2, 15, 16, 0};
        QTest::newRow("no offset") << QSize(1024, 600) << 0.05 << 0 << 0 << QList<int>{0, 0, 13, 0} << QList<int>{0, 51, 14, 10};
        QTest::newRow("negative offsets") << QSize(1024, 600) << 0.05 << -50 << -10 << QList<int>{0, 0, 13, 0} << QList<int>{0, 51, 14, 10};
        QTest::newRow("past the laid-out columns") << QSize(1024, 600) << 0.05 << 706 << 0 << QList<int>{8, 10, 13, 0} << QList<int>{8, 61, 14, 10};
    }
    void anchors()
    {
        QFETCH(QSize, picture);
        QFETCH(double, scale);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(QList<int>, from);
        QFETCH(QList<int>, to);
        const QString pic = m_dir.filePath(QStringLiteral("anchor.jpg")), out = m_dir.filePath(QStringLiteral("anchor.xlsx"));
        QVERIFY(makePicture(pic, picture.width(), picture.height(), "JPEG"));
        KOVXlsxBook book;
        QVERIFY(book.load(tpl()));
        QVERIFY(book.sheet(1)->setPicture(13, 0, book.addPicture(pic), scale, dx, dy));
        QVERIFY(book.save(out));
        const QJsonObject r = inspect(out);
        QCOMPARE(r.value("structure").toArray(), QJsonArray());
        const QJsonArray images = r.value("sheets").toArray().at(1).toObject().value("images").toArray();
        QCOMPARE(images.size(), 1);
        const QJsonObject img = images.at(0).toObject();
        QCOMPARE(img.value("editAs").toString(), QStringLiteral("twoCell"));
        const auto emu = [](const QList<int>& p) {
            return QJsonArray{p[0], qint64(p[1]) * KOVXlsxGeometry::kEmuPerPixel, p[2], qint64(p[3]) * KOVXlsxGeometry::kEmuPerPixel};
        };
        QCOMPARE(img.value("from").toArray(), emu(from));
        QCOMPARE(img.value("to").toArray(), emu(to));
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("target");
        QDir(m_dir.path()).mkpath(QStringLiteral("adir/inside"));
        QTest::newRow("target is a directory") << m_dir.filePath(QStringLiteral("adir"));
        QTest::newRow("folder does not exist") << m_dir.filePath(QStringLiteral("nofolder/out.xlsx"));
        QTest::newRow("empty path") << QString();
    }
    void saveFailures()
    {
        QFETCH(QString, target);
        const QStringList before = KOVTest::listTree(m_dir.path());
        KOVXlsxBook book;
        QVERIFY(book.load(tpl()));
        QVERIFY(book.sheet(0)->writeStr(0, 0, QStringLiteral("x")));
        QVERIFY(!book.save(target) && !book.errorMessage().isEmpty());
        // Nothing half-written anywhere: not at the target, no temporary file.
        QCOMPARE(KOVTest::listTree(m_dir.path()), before);
        const QString good = m_dir.filePath(QStringLiteral("after-failure.xlsx"));
        QVERIFY(book.save(good)); // the book stays usable
        QVERIFY(QFile::remove(good));
    }

    // A write the system refuses midway (the file size limit binds root
    // too): the old file stays, and the reason is the system's.
    void refusedWriteKeepsOldFile()
    {
        const QString out = m_dir.filePath(QStringLiteral("limited.xlsx"));
        QVERIFY(QFile::copy(tpl(), out));
        const QByteArray before = KOVTest::readAll(out);
        KOVXlsxBook book;
        QVERIFY(book.load(tpl()));
        QVERIFY(book.sheet(0)->writeStr(0, 0, QStringLiteral("x")));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        rlimit small = old;
        small.rlim_cur = 2048;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool saved = book.save(out);
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!saved);
        QVERIFY2(book.errorMessage().endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(book.errorMessage()));
        QCOMPARE(KOVTest::readAll(out), before);
    }

    // Templates users replaced with something hostile: numbers in attributes
    // that overflow an int or a float-to-int conversion, and text runs nested
    // so deep that a recursive walk runs off the stack. The book either
    // refuses the edit with a reason or works with it end to end.
    void hostileTemplate_data()
    {
        KOVTable::columns<QString, QByteArray, QByteArray, QString>({"part", "from", "to", "error"}); // error empty: loads and works

        const QByteArray a1 = "<c r=\"A1\" s=\"18\" t=\"s\"><v>22</v></c>";
        QTest::newRow("runs nested 160000 deep") << kSheet << a1 << nested(160000) << "nested deeper than 256";
        QTest::newRow("runs nested 200 deep") << kSheet << a1 << nested(200) << "";
        QTest::newRow("shared string nested deep") << "xl/sharedStrings.xml" << QByteArray("<si>")
                                                   << "<si>" + QByteArray("<r>").repeated(300) << "shared strings";
        const QByteArray row1 = "<row r=\"1\" ";
        QTest::newRow("row past the last") << kSheet << row1 << QByteArray("<row r=\"1048577\" ") << "row number";
        QTest::newRow("row 2^31") << kSheet << row1 << QByteArray("<row r=\"2147483648\" ") << "row number";
        QTest::newRow("negative row") << kSheet << row1 << QByteArray("<row r=\"-5\" ") << "row number";
        QTest::newRow("row zero") << kSheet << row1 << QByteArray("<row r=\"0\" ") << "row number";
        const QByteArray col1 = "<col min=\"1\" max=\"1\" width=\"12.5\"";
        QTest::newRow("column range to int max") << kSheet << col1
                                                 << QByteArray("<col min=\"1\" max=\"2147483647\" width=\"12.5\"") << "";
        QTest::newRow("column range below one") << kSheet << col1
                                                << QByteArray("<col min=\"-2147483648\" max=\"1\" width=\"12.5\"") << "";
        QTest::newRow("width 1e300") << kSheet << col1 << QByteArray("<col min=\"1\" max=\"1\" width=\"1e300\"") << "";
        QTest::newRow("width nan") << kSheet << col1 << QByteArray("<col min=\"1\" max=\"1\" width=\"nan\"") << "";
        QTest::newRow("row height 1e308") << kSheet << QByteArray("ht=\"30\"") << QByteArray("ht=\"1e308\"") << "";
        QTest::newRow("default row height inf") << kSheet << QByteArray("defaultRowHeight=\"15\"")
                                                << QByteArray("defaultRowHeight=\"inf\"") << "";
        QTest::newRow("default width 1e300") << kSheet << QByteArray("defaultRowHeight=\"15\"")
                                             << QByteArray("defaultColWidth=\"1e300\"") << "";
        QTest::newRow("base width -1e300") << kSheet << QByteArray("defaultRowHeight=\"15\"")
                                           << QByteArray("baseColWidth=\"-1e300\"") << "";
        QTest::newRow("last sheet id taken") << "xl/workbook.xml" << QByteArray("sheetId=\"2\"")
                                             << QByteArray("sheetId=\"4294967295\"") << "no sheet id";
    }
    void hostileTemplate()
    {
        QFETCH(QString, part);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, error);
        const QString path = m_dir.filePath(QStringLiteral("hostile.xlsx")), out = m_dir.filePath(QStringLiteral("out.xlsx"));
        QVERIFY(patchPart(tpl(), path, part, [&](QByteArray b) {
            return b.contains(from) ? b.replace(b.indexOf(from), from.size(), to) : QByteArray("the row's text is gone");
        }));
        // Every step the report writer takes (each copy titled in A1), then the saved book loads again.
        KOVXlsxBook book, again;
        const QString picture = m_dir.filePath(QStringLiteral("p.png"));
        const int id = book.load(path) && makePicture(picture, 40, 30, "PNG") ? book.addPicture(picture) : -1;
        KOVXlsxSheet* copy = id >= 0 && book.sheet(1)->writeStr(6, 0, QStringLiteral("valve"))
                && book.sheet(1)->setPicture(13, 0, id, 0.6, 40, 20) ? book.addSheetCopy(QStringLiteral("copy"), book.sheet(1)) : nullptr;
        QVERIFY2(bool(copy) == error.isEmpty() && book.errorMessage().contains(error), qPrintable(book.errorMessage()));
        QCOMPARE(book.sheetCount(), id < 0 ? 0 : (copy ? 3 : 2));
        if (!copy)
            return;
        QVERIFY(copy->writeStr(0, 0, QStringLiteral("title")) && copy->setPicture(0, 0, id, 1.0, 1000000, 1000000));
        QVERIFY2(book.save(out) && again.load(out), qPrintable(book.errorMessage() + again.errorMessage()));
        QCOMPARE(again.sheet(2)->readStr(6, 0) + again.sheet(2)->readStr(0, 0), QStringLiteral("valvetitle"));
        if (to.contains("deep"))
            QCOMPARE(again.sheet(1)->readStr(0, 0), QStringLiteral("deep"));
    }

private:
    QString file(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("bytes.bin"));
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size() ? path : QString();
    }
    QString tpl() const { return templatePath(QStringLiteral("template_gas_ch")); }
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestXlsxBook)
#include "tst_xlsxbook.moc"
