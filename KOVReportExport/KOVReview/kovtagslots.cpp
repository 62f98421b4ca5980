#include "kovtagslots.h"

#include <QDir>

KOVTagSlots::KOVTagSlots()
{
    for (int i = 1; i <= kSlots; ++i) {
        m_texts << QStringLiteral("0%1").arg(i);
        m_names << QString();
    }
}

KOVTagSlots KOVTagSlots::fromNames(const QStringList& names)
{
    KOVTagSlots s;
    for (const QString& name : names) {
        int slot = kSlots;
        for (int k = 1; k < kSlots; ++k) {
            if (name.contains(QStringLiteral("0%1").arg(k))) {
                slot = k;
                break;
            }
        }
        const QString lower = name.toLower();
        // By what the name contains, not by its extension: "x_jpg.txt" is
        // taken for a picture, as the imager's files have always been read.
        const QString kind = lower.contains(QLatin1String("jpg"))
            ? QStringLiteral("Img_")
            : (lower.contains(QLatin1String("wav")) ? QStringLiteral("Aud_") : QStringLiteral("Txt_"));
        s.m_names[slot - 1] = name;
        s.m_texts[slot - 1] = kind + QStringLiteral("0%1").arg(slot);
    }
    return s;
}

KOVTagSlots KOVTagSlots::scan(const QString& tagDir)
{
    const QDir dir(tagDir);
    if (!dir.exists())
        return KOVTagSlots();
    const QStringList names = dir.entryList({ QStringLiteral("*.jpg"), QStringLiteral("*.wav"),
                                                QStringLiteral("*.txt") },
        QDir::Files, QDir::Name | QDir::IgnoreCase);
    return fromNames(names);
}

KOVTagSlots::Kind KOVTagSlots::kindOfText(const QString& text)
{
    if (text.contains(QLatin1String("Img")))
        return Kind::Image;
    if (text.contains(QLatin1String("Aud")))
        return Kind::Audio;
    if (text.contains(QLatin1String("Txt")))
        return Kind::Text;
    return Kind::None;
}
