#include "PaintingApplication.h"

#include <cstdio>

namespace terraq::cli {

namespace {

// Runs before the application is made: the platform is chosen then.
int PreparePlatform() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "terraq: %s\n", qPrintable(text));
  });
  return 1;
}

}  // namespace

PaintingApplication::PaintingApplication(const char* programName)
    : argc_(PreparePlatform()),
      argv_{const_cast<char*>(programName), nullptr},
      application_(argc_, argv_) {}

}  // namespace terraq::cli
