#include "kovlog.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QTextStream>

#include <cstdio>

namespace {

// Constant-initialised with a trivial destructor: the lock outlives every
// thread, including those still logging while static objects are destroyed.
QBasicMutex g_logMutex;

// A message raised while a thread is inside the handler (by Qt's file or text
// classes) would otherwise wait on the lock that thread already holds.
thread_local bool t_inHandler = false;

QString levelText(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return QStringLiteral("Debug:");
    case QtWarningMsg: return QStringLiteral("Warning:");
    case QtCriticalMsg: return QStringLiteral("Critical:");
    case QtFatalMsg: return QStringLiteral("Fatal:");
    case QtInfoMsg: return QStringLiteral("Info:");
    }
    return QString();
}

void rotate(const QString& pattern, const char* message, int keep)
{
    QDir dir(QStringLiteral("./log/"));
    if (!dir.exists()) {
        const bool made = QDir().mkpath(QStringLiteral("./log/"));
        qInfo() << "mk log path  = " << (made ? "true" : "false");
        return;
    }
    const QStringList files = dir.entryList(QStringList() << pattern, QDir::Files,
                                            QDir::Name | QDir::IgnoreCase);
    qInfo() << message << files.count();
    for (int i = 0; i < files.count() - keep; ++i)
        dir.remove(files.at(i));
}

} // namespace

void logMessage(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (t_inHandler) {
        fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
        return;
    }
    t_inHandler = true;
    {
        QMutexLocker lock(&g_logMutex);
        const QString location = QStringLiteral("Flie(") + QString::fromLocal8Bit(context.file)
                                 + QStringLiteral(") Line(") + QString::number(context.line)
                                 + QStringLiteral(")");
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss "));
        const QString line = levelText(type) + stamp + location + QLatin1Char(' ') + msg;
        const QString path = QStringLiteral("./log/log-")
                             + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                             + QStringLiteral(".txt");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QTextStream stream(&file);
            stream << line << "\r\n";
            stream.flush();
            file.close();
        }
    }
    t_inHandler = false;
}

void logFileManage(int keep)
{
    rotate(QStringLiteral("log*.txt"), "log fileList.count() ================================ ", keep);
}

void errorLogFileManage(int keep)
{
    rotate(QStringLiteral("log-*error.txt"), "error log fileList.count() ================================ ", keep);
}

void systemLogFileManage(int keep)
{
    rotate(QStringLiteral("log-*system.txt"), "system log fileList.count() ================================ ", keep);
}

void packLog()
{
    QString id;
    QFile idFile(QStringLiteral("/App/cfg/ID.txt"));
    if (idFile.open(QIODevice::ReadOnly))
        id = QString::fromUtf8(idFile.readLine()).trimmed();
    QProcess::execute(QStringLiteral("cp"), { QStringLiteral("/App/cfg/calibration.ini"), QStringLiteral("/App/log/") });
    const QString archive = QStringLiteral("./log") + id + QLatin1Char('-')
                            + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".zip");
    QProcess::execute(QStringLiteral("zip"), { QStringLiteral("-rP"), QStringLiteral("qdm407215"), archive,
                                               QStringLiteral("./log") });
}

void exportLog(const QString& dest)
{
    packLog();
    const QStringList zips = QDir(QStringLiteral(".")).entryList(QStringList() << QStringLiteral("log*.zip"), QDir::Files);
    for (const QString& zip : zips) {
        const QString target = QDir(dest).exists() ? QDir(dest).filePath(zip) : dest;
        QFile::remove(target);
        if (!QFile::rename(zip, target) && QFile::copy(zip, target))
            QFile::remove(zip);
    }
    QProcess::execute(QStringLiteral("sync"), QStringList());
}
