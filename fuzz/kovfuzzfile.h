#ifndef KOVFUZZFILE_H
#define KOVFUZZFILE_H

// What the fuzz targets share: a scratch folder of this process, a file in it
// holding the input (our readers take paths), and a check that stops the run
// with a message the log shows.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace KOVFuzz {

inline void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// Also silences the readers' warnings: a refusal per input would fill the log.
inline QCoreApplication* app()
{
    static bool once = (qInstallMessageHandler(quiet), true);
    (void)once;
    static int argc = 1;
    static char name[] = "kovfuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* a = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    return a;
}

// The scratch folder of this process, created once; readers that look in
// the working directory (./cfg/...) run in it.
inline QString scratch()
{
    static const QString dir = [] {
        const QString d = QDir::tempPath() + QStringLiteral("/kovfuzz-%1").arg(::getpid());
        QDir().mkpath(d + QStringLiteral("/cfg"));
        return d;
    }();
    return dir;
}

inline QString writeInput(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = scratch() + QLatin1Char('/') + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

inline void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace KOVFuzz

#endif // KOVFUZZFILE_H
