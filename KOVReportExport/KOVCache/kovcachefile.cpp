#include "kovcachefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QUuid>

KOVCacheFile::KOVCacheFile(const QString& dir)
    : m_dir(dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/'))
{
}

bool KOVCacheFile::exists() const
{
    return QFileInfo(jsonPath()).isFile();
}

bool KOVCacheFile::write(const QJsonObject& root, QString* error) const
{
    if (!QDir().mkpath(m_dir)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(m_dir);
        return false;
    }
    QSaveFile file(jsonPath());
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool KOVCacheFile::read(QJsonObject* root, QString* error) const
{
    QFile file(jsonPath());
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        *error = QCoreApplication::translate("KOVCacheFile", "%1 at offset %2").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    if (!doc.isObject()) {
        *error = QCoreApplication::translate("KOVCacheFile", "the document is not an object");
        return false;
    }
    *root = doc.object();
    return true;
}

QString KOVCacheFile::newImagePath() const
{
    return m_dir + QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".jpg");
}

QString KOVCacheFile::moveAside() const
{
    QString base = m_dir;
    base.chop(1);
    base += QStringLiteral("-failed-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QStringLiteral("-%1").arg(n);
    return QDir().rename(m_dir, target) ? target + QLatin1Char('/') : QString();
}

bool KOVCacheFile::remove() const
{
    // A cache folder that is a link goes alone: emptying it would empty the
    // folder it points at.
    const QString name = QDir::cleanPath(m_dir);
    if (QFileInfo(name).isSymLink())
        return QFile::remove(name);
    QDir d(m_dir);
    return !d.exists() || d.removeRecursively();
}
