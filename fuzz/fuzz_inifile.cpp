// The INI grammar every INI reader goes through. Besides not crashing, it
// must read what QSettings reads wherever QSettings can be trusted with the
// input: no '@' (the typed values) and no numeric escapes (which could spell
// one). QSettings is the reference here; the readers themselves never let it
// parse a file.
#include "kovfuzzfile.h"
#include "kovinifile.h"

#include <QSet>
#include <QSettings>

namespace {

bool trustedByQSettings(const QByteArray& d)
{
    if (d.contains('@'))
        return false;
    for (int i = 0; i + 1 < d.size(); ++i)
        if (d.at(i) == '\\' && (d.at(i + 1) == 'x' || (d.at(i + 1) >= '0' && d.at(i + 1) <= '7')))
            return false;
    return true;
}

void compare(const QByteArray& bytes, const char* codec)
{
    static int serial = 0;
    // A new name each time: QSettings caches files by name and modification time.
    const QString path = KOVFuzz::scratch() + QStringLiteral("/diff%1.ini").arg(serial++);
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    KOVIniFile ours;
    KOVFuzz::check(ours.load(path, codec, KOVIniFile::PlainQtTypes), "a file reads");
    {
        QSettings theirs(path, QSettings::IniFormat);
        if (codec)
            theirs.setIniCodec(codec);
        QSet<QString> keys;
        // Only keys a reader can ask for: QSettings finds odd ones ("/" from a
        // section "[" and an empty key) by rules of its own no reader needs.
        for (const QStringList& list : {theirs.allKeys(), ours.keys()})
            for (const QString& k : list)
                if (!k.isEmpty() && KOVIniFile::normalizedKey(k) == k)
                    keys.insert(k);
        for (const QString& k : qAsConst(keys)) {
            const QVariant a = ours.value(k);
            const QVariant b = theirs.value(k);
            if (a != b || a.isNull() != b.isNull()) {
                std::fprintf(stderr, "key %s: ours [%s], QSettings [%s]\n", qPrintable(k),
                             qPrintable(a.toStringList().join('|') + a.toString()),
                             qPrintable(b.toStringList().join('|') + b.toString()));
                KOVFuzz::check(false, "reads as QSettings does");
            }
        }
    }
    QFile::remove(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KOVFuzz::app();
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    for (const KOVIniFile::Types t : {KOVIniFile::TextOnly, KOVIniFile::PlainQtTypes}) {
        KOVIniFile ini;
        ini.parse(bytes, "GBK", t);
        for (const QString& k : ini.keys())
            ini.text(k);
    }
    if (trustedByQSettings(bytes)) {
        compare(bytes, nullptr);
        compare(bytes, "GBK");
    }
    return 0;
}
