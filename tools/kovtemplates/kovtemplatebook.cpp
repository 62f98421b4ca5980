#include "kovtemplatebook.h"

#include "kovtemplatesheet.h"
#include "kovtemplatestyles.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
    "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
    "<Override PartName=\"/docProps/app.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+xml\"/>"
    "</Types>";

const char kRootRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties\" Target=\"docProps/app.xml\"/>"
    "</Relationships>";

const char kWorkbookRels[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet2.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId4\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "</Relationships>";

const char kApp[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
    "<Application>KOVReportExport</Application></Properties>";

QByteArray escaped(const QString& s) { return s.toHtmlEscaped().toUtf8(); }

QByteArray workbookXml(const QString& home, const QString& point)
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                             "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                             "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                             "<bookViews><workbookView activeTab=\"0\"/></bookViews><sheets>")
        + "<sheet name=\"" + escaped(home) + "\" sheetId=\"1\" r:id=\"rId1\"/>"
        + "<sheet name=\"" + escaped(point) + "\" sheetId=\"2\" r:id=\"rId2\"/>"
        + "</sheets></workbook>";
}

QByteArray coreXml(const QString& title)
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                             "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">")
        + "<dc:title>" + escaped(title) + "</dc:title><dc:creator>KOVReportExport</dc:creator>"
        + "</cp:coreProperties>";
}

} // namespace

bool KOVTemplateBook::readText(const QString& path, QString* text, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    *text = QString::fromUtf8(f.readAll());
    return true;
}

bool KOVTemplateBook::readTexts(const QString& path, QMap<QString, QString>* texts, QString* error)
{
    QString text;
    if (!readText(path, &text, error))
        return false;
    int lineNo = 0;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int eq = line.indexOf(QLatin1String(" = "));
        if (eq < 0) {
            *error = QStringLiteral("%1 line %2: expected 'key = value'").arg(path).arg(lineNo);
            return false;
        }
        QString value = line.mid(eq + 3);
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        value.replace(QLatin1String("\\n"), QLatin1String("\n"));
        texts->insert(line.left(eq).trimmed(), value);
    }
    return true;
}

bool KOVTemplateBook::build(const QString& sourceDir, const QString& reportType, const QString& language,
                            const QString& target, QString* error)
{
    QString stylesText, homeText, pointText;
    QMap<QString, QString> texts;
    if (!readText(sourceDir + QStringLiteral("/styles.txt"), &stylesText, error)
        || !readText(sourceDir + QStringLiteral("/home.layout"), &homeText, error)
        || !readText(sourceDir + QStringLiteral("/point.layout"), &pointText, error)
        || !readTexts(sourceDir + QStringLiteral("/texts_") + language + QStringLiteral(".txt"), &texts, error)) {
        return false;
    }
    KOVTemplateStyles styles;
    if (!styles.parse(stylesText, error))
        return false;
    styles.setFontFamily(texts.value(QStringLiteral("font"), QStringLiteral("Arial")));
    KOVTemplateSheet::Strings strings;
    KOVTemplateSheet home, point;
    if (!home.parse(homeText, reportType, texts, styles, &strings, error)
        || !point.parse(pointText, reportType, texts, styles, &strings, error)) {
        *error = QStringLiteral("%1 (%2 %3)").arg(*error, reportType, language);
        return false;
    }

    const QList<QPair<QString, QByteArray>> parts = {
        {QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes)},
        {QStringLiteral("_rels/.rels"), QByteArray(kRootRels)},
        {QStringLiteral("docProps/core.xml"), coreXml(texts.value(reportType + QStringLiteral(".title")))},
        {QStringLiteral("docProps/app.xml"), QByteArray(kApp)},
        {QStringLiteral("xl/workbook.xml"), workbookXml(home.name(), point.name())},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), QByteArray(kWorkbookRels)},
        {QStringLiteral("xl/styles.xml"), styles.xml()},
        {QStringLiteral("xl/sharedStrings.xml"), KOVTemplateSheet::sharedStringsXml(strings, styles)},
        {QStringLiteral("xl/worksheets/sheet1.xml"), home.xml(true)},
        {QStringLiteral("xl/worksheets/sheet2.xml"), point.xml(false)},
    };
    QSaveFile out(target);
    QuaZip zip(&out);
    if (!zip.open(QuaZip::mdCreate)) {
        *error = QStringLiteral("cannot create %1").arg(target);
        return false;
    }
    zip.setDataDescriptorWritingEnabled(false);
    // A fixed time stamp keeps the output identical from build to build.
    const QDateTime stamp(QDate(2020, 1, 1), QTime(0, 0));
    for (const auto& p : parts) {
        QuaZipNewInfo info(p.first);
        info.dateTime = stamp;
        info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, 6) || f.write(p.second) != p.second.size()) {
            *error = QStringLiteral("cannot write %1 into %2").arg(p.first, target);
            out.cancelWriting();
            zip.close();
            return false;
        }
        f.close();
    }
    zip.close();
    if (zip.getZipError() != ZIP_OK) {
        *error = QStringLiteral("cannot finish %1").arg(target);
        return false;
    }
    return true;
}
