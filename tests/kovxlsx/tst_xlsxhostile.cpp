// Templates users replaced with something hostile: numbers in attributes that
// overflow an int or a float-to-int conversion, and text runs nested so deep
// that a recursive walk runs off the stack. Each is one edit of a template
// part; the book either refuses it with a reason or works with it end to end.
#include "kovxlsxbook.h"
#include "xlsxtesthelp.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const char* const kSheet = "xl/worksheets/sheet2.xml"; // the test point sheet

QByteArray nested(int depth)
{
    return "<c r=\"A1\" t=\"inlineStr\"><is>" + QByteArray("<r>").repeated(depth) + "<t>deep</t>"
           + QByteArray("</r>").repeated(depth) + "</is></c>";
}

} // namespace

class TestXlsxHostile : public QObject
{
    Q_OBJECT

private slots:
    void hostileTemplate_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("error"); // empty: the book loads and works

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
        const QString path = m_dir.filePath(QStringLiteral("hostile.xlsx"));
        bool found = false;
        QVERIFY(KOVXlsxTest::patchPart(KOVXlsxTest::templatePath(QStringLiteral("template_gas_ch")), path, part,
                                       [&](QByteArray b) {
                                           found = b.contains(from);
                                           return b.replace(b.indexOf(from), from.size(), to);
                                       }));
        QVERIFY2(found, "the template no longer holds the text the row edits");

        KOVXlsxBook book;
        const bool loaded = book.load(path);
        if (!loaded) {
            QVERIFY2(!error.isEmpty(), qPrintable(book.errorMessage()));
            QVERIFY2(book.errorMessage().contains(error), qPrintable(book.errorMessage()));
            QCOMPARE(book.sheetCount(), 0);
            return;
        }
        // Every step the report writer takes, then the saved book loads again.
        KOVXlsxSheet* point = book.sheet(1);
        QVERIFY(point);
        const QString picture = m_dir.filePath(QStringLiteral("p.png"));
        QVERIFY(KOVXlsxTest::makePicture(picture, 40, 30, "PNG"));
        const int id = book.addPicture(picture);
        QVERIFY(id >= 0);
        QVERIFY(point->writeStr(6, 0, QStringLiteral("valve")));
        QVERIFY(point->setPicture(13, 0, id, 0.6, 40, 20));
        KOVXlsxSheet* copy = book.addSheetCopy(QStringLiteral("copy"), point);
        if (!error.isEmpty()) {
            QVERIFY(!copy);
            QVERIFY2(book.errorMessage().contains(error), qPrintable(book.errorMessage()));
            return;
        }
        QVERIFY2(copy, qPrintable(book.errorMessage()));
        // The report writer titles each copy in A1, dropping what A1 held.
        QVERIFY(copy->writeStr(0, 0, QStringLiteral("title")));
        QVERIFY(copy->setPicture(0, 0, id, 1.0, 1000000, 1000000));
        const QString out = m_dir.filePath(QStringLiteral("out.xlsx"));
        QVERIFY2(book.save(out), qPrintable(book.errorMessage()));
        KOVXlsxBook again;
        QVERIFY2(again.load(out), qPrintable(again.errorMessage()));
        QCOMPARE(again.sheetCount(), 3);
        QCOMPARE(again.sheet(2)->readStr(6, 0), QStringLiteral("valve"));
        QCOMPARE(again.sheet(2)->readStr(0, 0), QStringLiteral("title"));
        if (to.contains("deep"))
            QCOMPARE(again.sheet(1)->readStr(0, 0), QStringLiteral("deep"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestXlsxHostile)
#include "tst_xlsxhostile.moc"
