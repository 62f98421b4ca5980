#include "kovstartup.h"

#include "kovcrashhandler.h"
#include "kovinformation.h"
#include "kovlog.h"
#include "kovreportexport.h"

#include <QApplication>
#include <QTimer>
#include <QDebug>
#include <QFont>
#include <QLibraryInfo>
#include <QSemaphore>
#include <QSocketNotifier>
#include <QThread>
#include <QTranslator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Live for the whole run: a language chosen in the menu applies at next start.
QTranslator gTranslator;
QTranslator gQtTranslator;

KOVReportExport* findMainWindow()
{
    KOVReportExport* found = nullptr;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets) {
        if (auto* mw = qobject_cast<KOVReportExport*>(w))
            found = mw; // the last one, as the list orders them
    }
    return found;
}

void saveIfReportsOpen()
{
    KOVReportExport* mw = findMainWindow();
    if (mw && mw->getMainTabNum() > 1)
        mw->saveData();
}

// SIGTERM and SIGHUP (a service manager, the end of the session) end the run
// as a quit. Nothing of Qt may run inside a signal handler: the handler only
// writes the signal's number into a pipe, whose reading end the event loop
// watches.
int gQuitPipe[2] = {-1, -1};

void onQuitSignal(int sig)
{
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    if (write(gQuitPipe[1], &byte, 1) < 0) {
        // full pipe: a quit is under way already
    }
    errno = saved;
}

class KOVQuitSignals
{
public:
    KOVQuitSignals()
    {
        if (pipe2(gQuitPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            qWarning() << "quit signals not handled: no pipe";
            return;
        }
        struct sigaction sa = {};
        sa.sa_handler = onQuitSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGHUP})
            sigaction(sig, &sa, nullptr);
        m_installed = true;
    }
    // A signal that came before waits in the pipe: the run ends as soon as
    // its loop runs.
    void watch(KOVReportExport& w)
    {
        if (!m_installed)
            return;
        m_notifier = new QSocketNotifier(gQuitPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, &w, [this, &w] {
            char byte = 0;
            while (read(gQuitPipe[0], &byte, 1) > 0)
                qDebug() << "quit signal" << int(byte);
            if (m_quitting)
                return;
            m_quitting = true;
            w.quitFromOutside();
        });
    }
    ~KOVQuitSignals()
    {
        if (!m_installed)
            return;
        // From here on the signals end the process as they would anyway.
        for (int sig : {SIGTERM, SIGHUP})
            signal(sig, SIG_DFL);
        delete m_notifier;
        close(gQuitPipe[0]);
        close(gQuitPipe[1]);
        gQuitPipe[0] = gQuitPipe[1] = -1;
    }
    KOVQuitSignals(const KOVQuitSignals&) = delete;
    KOVQuitSignals& operator=(const KOVQuitSignals&) = delete;

private:
    QSocketNotifier* m_notifier = nullptr;
    bool m_installed = false;
    bool m_quitting = false;
};

} // namespace

const char* kovTranslationFile(int languageId)
{
    return languageId == 0 ? ":/style/font/Translate_CH.qm" : ":/style/font/Translate_EN.qm";
}

QString kovQtTranslationFile(int languageId)
{
    if (languageId != 0)
        return QString(); // the toolkit's own texts are English already
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
}

void kovSetApplicationFont()
{
    // The windows are laid out for 微软雅黑. Where it is missing, the next
    // sans face the system offers has Latin letters wide enough to overrun
    // the fixed-width labels of the English texts; the CJK sans we install
    // beside the program is close to the intended face. An installed
    // 微软雅黑 is still preferred: a substitute is only asked for when the
    // family itself is not found.
    QFont::insertSubstitution(QStringLiteral("微软雅黑"), QStringLiteral("Noto Sans CJK SC"));
    QApplication::setFont(QFont(QStringLiteral("微软雅黑"), 10));
}

void kovInstallCatalogues(int languageId)
{
    // A catalogue that fails to load leaves the source texts showing. Ours
    // goes in last, so it is asked first should a text be in both.
    const QString qtFile = kovQtTranslationFile(languageId);
    if (!qtFile.isEmpty()) {
        if (gQtTranslator.load(qtFile))
            QCoreApplication::installTranslator(&gQtTranslator);
        else
            qDebug() << "toolkit catalogue missing:" << qtFile;
    }
    gTranslator.load(QString::fromLatin1(kovTranslationFile(languageId)));
    QCoreApplication::installTranslator(&gTranslator);
}

void kovErrCallback(unsigned long exceptionCode, bool onMainThread)
{
    qDebug() << "应用程序发生异常 : "
             << qPrintable(QStringLiteral("ErrorCode = 0x%1;").arg(static_cast<qulonglong>(exceptionCode), 0, 16));

    if (!qApp)
        return; // a crash before the main window exists: dump and log line only
    if (onMainThread) {
        saveIfReportsOpen();
        return;
    }
    // The fault is on a worker thread while the interface thread may still be
    // changing the pages. Reading them from here could save a torn state, so
    // the save is run on the interface thread and awaited for a bounded time;
    // if that thread is stuck the cache is simply not written.
    QSemaphore done;
    QMetaObject::invokeMethod(qApp, [&done] { saveIfReportsOpen(); done.release(); }, Qt::QueuedConnection);
    done.tryAcquire(1, 5000);
}

int kovRunApplication(int argc, char** argv, const std::function<void(KOVReportExport&)>& started)
{
    KOVCrashHandler::install(KOV_APP_VERSION, kovErrCallback);

    QApplication app(argc, argv);
    qInstallMessageHandler(logMessage);
    KOVQuitSignals quitSignals;
    kovSetApplicationFont();

    qDebug() << "KOVReportExport start" << KOV_APP_VERSION;
    KOVInformation* info = KOVInformation::Instance();
    kovInstallCatalogues(info->runLanguageId());

    int ret = 0;
    {
        KOVReportExport w(nullptr);
        w.restoreData();
        w.show();
        // From inside the event loop: a quit signal that arrives while the
        // message is up must end the run, not be spent on the message alone.
        QTimer::singleShot(0, &w, [&w] { w.checkNeededFiles(); });
        // Not during the restore: its pages would be saved half rebuilt.
        quitSignals.watch(w);
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &w, [&w] { w.saveDataAtQuit(); });
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &w, [&w](QSessionManager&) {
            if (w.getMainTabNum() > 1)
                w.saveData();
        });
        if (started)
            started(w);
        ret = app.exec();
    }
    return ret;
}
