#include "kovtagtext.h"

#include <QFile>
#include <QTextCodec>

QString KOVTagText::decode(QIODevice& in)
{
    QTextCodec* utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    // One state for the whole file: its count of invalid characters is never
    // reset, so once a line fails every later line is read as GBK.
    QTextCodec::ConverterState state;
    QString all;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine();
        if (line.isEmpty())
            break;
        const QString text = utf8->toUnicode(line.constData(), line.size(), &state);
        all += state.invalidChars > 0 && gbk ? gbk->toUnicode(line) : text;
    }
    return all;
}

KOVTagText::Status KOVTagText::read(const QString& path, QString* text)
{
    QFile file(path);
    if (!file.exists())
        return Status::Missing;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Status::OpenError;
    *text = decode(file);
    return Status::Ok;
}
