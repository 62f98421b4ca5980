#ifndef KOVXLSXIMAGEINFO_H
#define KOVXLSXIMAGEINFO_H

#include <QByteArray>
#include <QSize>
#include <QString>

// Format and pixel size of a picture read from its header only; whole
// pictures are never decoded.
class KOVXlsxImageInfo
{
public:
    QString extension;   // "jpeg", "png", "gif" or "bmp"; empty when unknown
    QString contentType; // "image/jpeg", ...
    QSize size;

    bool isValid() const { return !extension.isEmpty() && size.width() > 0 && size.height() > 0; }

    static KOVXlsxImageInfo probe(const QByteArray& data);

private:
    static bool probeJpeg(const QByteArray& data, QSize* size);
    static bool probePng(const QByteArray& data, QSize* size);
    static bool probeGif(const QByteArray& data, QSize* size);
    static bool probeBmp(const QByteArray& data, QSize* size);
};

#endif // KOVXLSXIMAGEINFO_H
