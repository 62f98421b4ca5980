#ifndef KOVLOG_H
#define KOVLOG_H

#include <QString>
#include <QtGlobal>

// The message handler for every thread: one line per message appended to
// "./log/log-yyyy-MM-dd.txt". The folder is never created here; without it the
// message is dropped.
void logMessage(QtMsgType type, const QMessageLogContext& context, const QString& msg);

// Log folder housekeeping. Nothing in the application calls these; they run no
// shell: external programs get argument lists, files are moved with Qt.
void logFileManage(int keep);
void errorLogFileManage(int keep);
void systemLogFileManage(int keep);
void packLog();
void exportLog(const QString& dest);

#endif // KOVLOG_H
