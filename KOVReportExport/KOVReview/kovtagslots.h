#ifndef KOVTAGSLOTS_H
#define KOVTAGSLOTS_H

#include <QString>
#include <QStringList>

// The six tag slots of an item: which file of its tag/ folder each slot
// shows and the text of its button ("01".."06" when empty, else "Img_",
// "Aud_" or "Txt_" with the slot's digits).
class KOVTagSlots
{
public:
    enum class Kind { None, Image, Audio, Text };
    static constexpr int kSlots = 6;

    // All slots empty.
    KOVTagSlots();

    // Slots from file names in listing order: a name takes the first of
    // "01".."05" it contains, else slot 06; a later name replaces an earlier
    // one in the same slot.
    static KOVTagSlots fromNames(const QStringList& names);
    // The files (not folders) of tagDir matching *.jpg, *.wav, *.txt in any
    // case, by name without regard to case; no folder gives empty slots.
    static KOVTagSlots scan(const QString& tagDir);

    const QStringList& texts() const { return m_texts; }
    const QStringList& names() const { return m_names; }
    // What a click on a button showing text opens.
    static Kind kindOfText(const QString& text);

private:
    QStringList m_texts;
    QStringList m_names;
};

#endif // KOVTAGSLOTS_H
