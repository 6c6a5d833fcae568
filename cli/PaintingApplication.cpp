#include "PaintingApplication.h"

#include <cstdio>
#include <cstdlib>

#include "CommandLine.h"

namespace terraq::cli {

namespace {

// Runs before the application is made: the platform is chosen then.
int PreparePlatform() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "terraq: %s\n", qPrintable(text.trimmed()));
    // Qt would abort next (a platform the user chose that cannot be
    // loaded, say): a core dump is no answer to a setting. The command
    // fails as on any other unusable setting, having written nothing.
    if (type == QtFatalMsg) {
      if (const QByteArray platform = qgetenv("QT_QPA_PLATFORM"); platform != "offscreen")
        std::fprintf(stderr,
                     "terraq: the pictures are painted on the platform \"%s\" of QT_QPA_PLATFORM; "
                     "unset it to paint without a display\n",
                     platform.constData());
      std::fflush(nullptr);
      std::_Exit(kExitUsage);
    }
  });
  return 1;
}

}  // namespace

PaintingApplication::PaintingApplication(const char* programName)
    : argc_(PreparePlatform()),
      argv_{const_cast<char*>(programName), nullptr},
      application_(argc_, argv_) {}

}  // namespace terraq::cli
