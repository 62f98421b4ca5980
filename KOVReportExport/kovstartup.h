#ifndef KOVSTARTUP_H
#define KOVSTARTUP_H

// The application's version text; it names crash dumps and shows in About.
#define KOV_APP_VERSION "V1.8.0"

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

#endif // KOVSTARTUP_H
