#pragma once
// TDlgOptions, "Control Options": the text editor that shows the data,
// report and run-notes files: a program, or a command with its arguments.
// A child window of the main window; the setting is stored when the field
// is left or the window closes, and reaches the settings when the program
// ends.

#include <QWidget>
#include <functional>

class QLineEdit;

namespace terraq::ui {

class TDlgOptions : public QWidget {
  Q_OBJECT

 public:
  TDlgOptions(std::function<QString()> editorPath, std::function<void(const QString&)> setEditorPath,
              QWidget* parent = nullptr);

  // Shows the current path again (the activation step of a data dialog).
  void Reload();
  // Stores the field (the deactivation step).
  void Store();

  QLineEdit* EditorField() const { return editorField_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BrowseClick();

  std::function<QString()> editorPath_;
  std::function<void(const QString&)> setEditorPath_;
  QLineEdit* editorField_;
};

}  // namespace terraq::ui
