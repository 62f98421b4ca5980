#include "kovxlsxpackage.h"

#include <QFileInfo>
#include <QSaveFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>
#include <quazip/quazipnewinfo.h>

bool KOVXlsxPackage::read(const QString& path)
{
    m_parts.clear();
    m_order.clear();
    m_folded.clear();
    m_error.clear();
    if (!QFileInfo(path).isFile()) {
        m_error = QStringLiteral("file not found: %1").arg(path);
        return false;
    }
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        m_error = QStringLiteral("not a zip archive (error %1): %2").arg(zip.getZipError()).arg(path);
        return false;
    }
    qint64 total = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            m_error = QStringLiteral("unreadable archive directory");
            return false;
        }
        if (info.name.endsWith(QLatin1Char('/')))
            continue;
        const qint64 size = qint64(info.uncompressedSize);
        total += size;
        if (size > kMaxPartSize || total > kMaxTotalSize || m_order.size() >= kMaxParts) {
            m_error = QStringLiteral("archive too large at %1").arg(info.name);
            return false;
        }
        // Part names compare without regard to case; two that fold together
        // make the package ambiguous.
        if (m_folded.contains(info.name.toLower())) {
            m_error = QStringLiteral("duplicate part %1").arg(info.name);
            return false;
        }
        m_folded.insert(info.name.toLower());
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("cannot open part %1 (error %2)").arg(info.name).arg(f.getZipError());
            return false;
        }
        // Read one byte more than announced so a lying header is noticed.
        const QByteArray data = f.read(size + 1);
        f.close();
        if (f.getZipError() != UNZ_OK || data.size() != size) {
            m_error = QStringLiteral("damaged part %1").arg(info.name);
            return false;
        }
        m_parts.insert(info.name, data);
        m_order << info.name;
    }
    if (zip.getZipError() != UNZ_OK) {
        m_error = QStringLiteral("damaged archive (error %1)").arg(zip.getZipError());
        return false;
    }
    if (m_order.isEmpty()) {
        m_error = QStringLiteral("empty archive");
        return false;
    }
    return true;
}

namespace {

// Keeps the system's word for the first failed write (a full disk, a file
// too large): the archive's later seeks clear the file's own error, and it
// is what the user can act on.
class KOVReasonSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;
    QString reason() const
    {
        if (!m_reason.isEmpty())
            return QStringLiteral(": ") + m_reason;
        return error() == QFileDevice::NoError ? QString() : QStringLiteral(": ") + errorString();
    }

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        qint64 written = QSaveFile::writeData(data, len);
        // A short write carries no reason; writing the rest does.
        if (written >= 0 && written < len) {
            const qint64 more = QSaveFile::writeData(data + written, len - written);
            if (more > 0)
                written += more;
        }
        if (written != len && m_reason.isEmpty() && error() != QFileDevice::NoError)
            m_reason = errorString();
        return written;
    }

private:
    QString m_reason;
};

} // namespace

bool KOVXlsxPackage::write(const QString& path) const
{
    m_error.clear();
    if (QFileInfo(path).isDir()) {
        m_error = QStringLiteral("target is a directory: %1").arg(path);
        return false;
    }
    KOVReasonSaveFile out(path);
    // Unbuffered, so a refused write fails where it happens and not at a
    // later flush; the archive gathers its output in large blocks anyway.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        m_error = QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
        return false;
    }
    QuaZip zip(&out);
    zip.setDataDescriptorWritingEnabled(false);
    if (!zip.open(QuaZip::mdCreate)) {
        out.cancelWriting();
        m_error = QStringLiteral("cannot create archive (error %1)").arg(zip.getZipError());
        return false;
    }
    // The content types part goes first: some readers sniff it there.
    QStringList order = m_order;
    if (order.removeAll(QStringLiteral("[Content_Types].xml")))
        order.prepend(QStringLiteral("[Content_Types].xml"));
    bool ok = true;
    for (const QString& name : qAsConst(order)) {
        const QByteArray& data = m_parts[name];
        QuaZipNewInfo info(name);
        info.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        // Pictures are compressed already; storing them saves most of the
        // time. XML shrinks nearly as well at the fastest level as at any.
        const bool store = name.startsWith(QLatin1String("xl/media/"));
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, info, nullptr, 0, store ? 0 : Z_DEFLATED, store ? 0 : 1)
            || f.write(data) != data.size()) {
            ok = false;
        }
        f.close();
        if (!ok || f.getZipError() != ZIP_OK) {
            m_error = QStringLiteral("cannot write part %1").arg(name) + out.reason();
            ok = false;
            break;
        }
    }
    if (!ok)
        out.cancelWriting();
    // Closing the archive commits the save file (or discards it when cancelled).
    zip.close();
    if (ok && zip.getZipError() != ZIP_OK) {
        m_error = QStringLiteral("cannot finish %1 (error %2)").arg(path).arg(zip.getZipError()) + out.reason();
        ok = false;
    }
    return ok;
}

void KOVXlsxPackage::setPart(const QString& name, const QByteArray& bytes)
{
    if (!m_parts.contains(name)) {
        m_order << name;
        m_folded.insert(name.toLower());
    }
    m_parts.insert(name, bytes);
}

void KOVXlsxPackage::removePart(const QString& name)
{
    m_parts.remove(name);
    m_order.removeAll(name);
    m_folded.remove(name.toLower());
}

QString KOVXlsxPackage::uniqueName(const QString& pattern) const
{
    for (int i = 1;; ++i) {
        const QString name = pattern.arg(i);
        if (!m_folded.contains(name.toLower()))
            return name;
    }
}
