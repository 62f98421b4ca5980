#ifndef XLSXTESTHELP_H
#define XLSXTESTHELP_H

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>

#include <functional>

#include "kovxlsxpackage.h"

// Fixtures and independent readers shared by the workbook tests.
namespace KOVXlsxTest {

inline QString binaryDir() { return qEnvironmentVariable("KOV_BINARY_DIR"); }
inline QString sourceDir() { return qEnvironmentVariable("KOV_SOURCE_DIR"); }
inline QString templatePath(const QString& name) { return binaryDir() + QStringLiteral("/run/cfg/") + name; }

// Copies the built templates and model pictures into dir/cfg.
inline bool installTemplates(const QString& dir)
{
    QDir().mkpath(dir + QStringLiteral("/cfg/KOV44XX_Img"));
    for (const char* t : {"template_gas_ch", "template_gas_en", "template_elec_ch", "template_elec_en",
                          "KOV44XX_Img/KOV4410.png", "KOV44XX_Img/KOV4420.png", "KOV44XX_Img/KOV4430.png"}) {
        const QString to = dir + QStringLiteral("/cfg/") + QLatin1String(t);
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(to);
        if (!QFile::copy(templatePath(QLatin1String(t)), to))
            return false;
    }
    return true;
}

// A picture with a gradient and a frame, so that it compresses like a photo.
inline bool makePicture(const QString& path, int w, int h, const char* format, QColor tint = QColor(30, 120, 200))
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, tint);
    g.setColorAt(1, tint.lighter(180));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(Qt::white, 4));
    p.drawRect(img.rect().adjusted(2, 2, -3, -3));
    p.drawEllipse(QPoint(w / 2, h / 2), w / 5, h / 5);
    p.end();
    return img.save(path, format, 85);
}

// Rewrites one part of a package with edit and writes the result to dst.
inline bool patchPart(const QString& src, const QString& dst, const QString& part,
                      const std::function<QByteArray(QByteArray)>& edit)
{
    KOVXlsxPackage pkg;
    if (!pkg.read(src))
        return false;
    pkg.setPart(part, edit(pkg.part(part)));
    return pkg.write(dst);
}

// Runs the openpyxl and package-structure reader; an empty object on failure.
inline QJsonObject inspect(const QString& workbook, QString* error = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {sourceDir() + QStringLiteral("/tests/common/xlsxcheck.py"), workbook});
    if (!p.waitForFinished(300000) || p.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(p.readAllStandardError());
        return QJsonObject();
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

} // namespace KOVXlsxTest

#endif // XLSXTESTHELP_H
