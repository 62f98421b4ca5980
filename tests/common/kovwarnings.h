#pragma once
// Collects the warnings the code under test raises while it is in scope, so a
// test can say a failure reached the log (and only once). The handler before
// it is put back at the end of the scope.
#include <QString>
#include <QStringList>
#include <QtGlobal>

class KOVWarningCatcher
{
public:
    KOVWarningCatcher() : m_previous(qInstallMessageHandler(collect)) { caught().clear(); }
    ~KOVWarningCatcher() { qInstallMessageHandler(m_previous); }
    KOVWarningCatcher(const KOVWarningCatcher&) = delete;
    KOVWarningCatcher& operator=(const KOVWarningCatcher&) = delete;

    const QStringList& warnings() const { return caught(); }

private:
    static QStringList& caught()
    {
        static QStringList list;
        return list;
    }
    static void collect(QtMsgType type, const QMessageLogContext&, const QString& msg)
    {
        if (type == QtWarningMsg)
            caught() << msg;
    }

    QtMessageHandler m_previous;
};
