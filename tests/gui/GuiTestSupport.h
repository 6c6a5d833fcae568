#pragma once
// Helpers of the window tests: the user's answers given by the test
// (TestPrompts), a scratch folder, files of the source tree, and the
// widgets of a window by their object names.

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/TDataEdit.h"
#include "widgets/TUserPrompts.h"

namespace terraq::test {

using terraq::ui::TUserPrompts;

// Records every question and message, and answers as told.
struct TestPrompts {
  TUserPrompts::Answer answer = TUserPrompts::Answer::Cancel;
  bool yesNo = false;
  int choice = 0;  // the button chosen in a question of the program's own buttons
  QString openName;
  int openFilter = 0;
  QString saveName;  // "" cancels the Save As dialog
  bool processStarts = true;
  bool urlOpens = true;  // whether the desktop has a viewer for an address

  QStringList questions;
  std::vector<QStringList> choiceButtons;  // the buttons of each such question
  std::vector<int> choiceDefaults;         // and the button each offered first
  QStringList errors;
  QStringList informations;
  QStringList warnings;
  QStringList saveTitles;
  QStringList saveSuggestions;
  std::vector<QStringList> started;  // program, then arguments
  QStringList openedUrls;

  TUserPrompts Make() {
    TUserPrompts p;
    p.askYesNoCancel = [this](QWidget*, const QString& text) {
      questions << text;
      return answer;
    };
    p.askYesNo = [this](QWidget*, const QString& text) {
      questions << text;
      return yesNo;
    };
    p.askChoice = [this](QWidget*, const QString& text, const QStringList& buttons, int preferred) {
      questions << text;
      choiceButtons.push_back(buttons);
      choiceDefaults.push_back(preferred);
      return choice;
    };
    p.showError = [this](QWidget*, const QString& text) { errors << text; };
    p.showInformation = [this](QWidget*, const QString& text) { informations << text; };
    p.showWarning = [this](QWidget*, const QString& text) { warnings << text; };
    p.openFileName = [this](QWidget*, const QString&, const QString&, int& filter) {
      filter = openFilter;
      return openName;
    };
    p.saveFileName = [this](QWidget*, const QString& title, const QString& suggested, const QString&) {
      saveTitles << title;
      saveSuggestions << suggested;
      return saveName;
    };
    p.startProcess = [this](const QString& program, const QStringList& arguments) {
      started.push_back(QStringList{program} + arguments);
      return processStarts;
    };
    p.openUrl = [this](const QUrl& url) {
      openedUrls << url.toString();
      return urlOpens;
    };
    return p;
  }
};

// Lets queued signals (refusals, structure changes) be delivered.
inline void ProcessEvents() {
  for (int k = 0; k < 3; ++k) QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline std::filesystem::path SourcePath(const std::string& relative) {
  return std::filesystem::path(TERRAQ_SOURCE_DIR) / relative;
}

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
}

// A scratch folder, removed with its content afterwards.
class ScratchFolder {
 public:
  ScratchFolder() { dir_.setAutoRemove(true); }
  std::filesystem::path Path() const { return std::filesystem::path(dir_.path().toStdString()); }
  std::filesystem::path operator/(const std::string& name) const { return Path() / name; }
  QString File(const std::string& name) const { return QString::fromStdString((Path() / name).string()); }

 private:
  QTemporaryDir dir_;
};

// A window's widget by its object name (the name settings and scripts see):
// the windows keep their widgets to themselves. A missing widget fails the
// test and gives nullptr.
template <class Widget>
Widget* Child(const QObject* window, const char* name) {
  auto* widget = window->findChild<Widget*>(QLatin1String(name));
  if (!widget) ADD_FAILURE() << "no widget " << name;
  return widget;
}
inline ui::TDataEdit* Field(const QObject* dialog, const char* name) {
  return Child<ui::TDataEdit>(dialog, name);
}

}  // namespace terraq::test
