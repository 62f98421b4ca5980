#ifndef KOVSTARTUP_H
#define KOVSTARTUP_H

#include "kovversion.h"

#include <QString>

#include <functional>

class KOVReportExport;

// Runs the whole application in its fixed start-up order and returns the
// event loop's exit code. started, when given, runs once the main window is
// shown, before the event loop (programs that drive the real start-up).
int kovRunApplication(int argc, char** argv, const std::function<void(KOVReportExport&)>& started = {});

// The crash handler's application part: the log line with the exception code,
// then the recovery cache when report pages are open.
void kovErrCallback(unsigned long exceptionCode, bool onMainThread);

// The catalogue for a language id: 0 Chinese, anything else English.
const char* kovTranslationFile(int languageId);
// The toolkit's own catalogue for the standard dialogs and buttons; empty
// for English, which needs none.
QString kovQtTranslationFile(int languageId);
// The application font, 微软雅黑 at 10 points, or its closest installed face.
void kovSetApplicationFont();
// Loads and installs both catalogues for the whole run.
void kovInstallCatalogues(int languageId);

#endif // KOVSTARTUP_H
