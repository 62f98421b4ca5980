#include "kovocrtext.h"

QString KOVOcrText::postProcess(const QString& raw)
{
    QString t = raw.trimmed();
    const int n = t.size();
    if (t.contains(QLatin1String("N/A"))) {
        insertAt(t, n - 2, QStringLiteral(" "));
    } else if (t.contains(QLatin1String("dB"))) {
        insertAt(t, n - 3, QStringLiteral("."));
        insertAt(t, t.size() - 2, QStringLiteral(" "));
    } else {
        t = QStringLiteral("/");
    }
    return t;
}

void KOVOcrText::insertAt(QString& text, int pos, const QString& what)
{
    if (pos < 0 || pos > text.size())
        return;
    text.insert(pos, what);
}
