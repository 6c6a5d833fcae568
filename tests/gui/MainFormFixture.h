#pragma once
// The main window under test: its drag-and-drop handlers within reach, empty
// settings, answers given by the test, a scratch folder for project files.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <filesystem>
#include <string>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"

namespace terraq::test {

// The window with its drag-and-drop handlers within reach of the tests.
class FormUnderTest : public ui::TMainForm {
 public:
  using TMainForm::dragEnterEvent;
  using TMainForm::dropEvent;
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each test starts with empty settings.
    QSettings("Orvane", "TERRAQ").clear();
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ScratchFolder folder;
  FormUnderTest form;

  std::filesystem::path CopySample(const std::string& name, const std::string& source = "tests/data/cli-cantilever.tq4d") {
    const std::filesystem::path target = folder / name;
    std::filesystem::copy_file(SourcePath(source), target);
    return target;
  }
  bool Enabled(const char* name) { return form.Action(QLatin1String(name))->isEnabled(); }
  bool Visible(const char* name) { return form.Action(QLatin1String(name))->isVisible(); }
  void Trigger(const char* name) { form.Action(QLatin1String(name))->trigger(); }
  void OpenMenu(const char* name) {
    emit form.Menu(QLatin1String(name))->aboutToShow();
  }
};

}  // namespace terraq::test
