#pragma once
// Everything the program asks of the person at the screen, or of the
// desktop, goes through one set of replaceable function objects: questions,
// message boxes, file dialogs, starting the text editor and opening
// documents. The program uses the standard boxes and dialogs; tests put in
// their own answers, so that no command waits for a person. The standard
// file dialogs start in the folder their kind last chose a file in
// (TSettings), unless given a path of a folder of their own.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace terraq::ui {

struct TUserPrompts {
  enum class Answer { Yes, No, Cancel };

  // A question with Yes, No and Cancel.
  std::function<Answer(QWidget* parent, const QString& text)> askYesNoCancel;
  // A question with Yes and No; true for Yes.
  std::function<bool(QWidget* parent, const QString& text)> askYesNo;
  // A question with buttons of its own (captions, "&" marking the access
  // key); button `preferred` is the default. Returns the index of the
  // button chosen, the last one's when the box is closed without a choice.
  std::function<int(QWidget* parent, const QString& text, const QStringList& buttons,
                    int preferred)>
      askChoice;
  std::function<void(QWidget* parent, const QString& text)> showError;
  std::function<void(QWidget* parent, const QString& text)> showInformation;
  // Something went wrong that the user must weigh (results that are not valid).
  std::function<void(QWidget* parent, const QString& text)> showWarning;
  // An existing file to open; "" when cancelled. `filterIndex` is the file
  // type chosen (0-based in the filter's order).
  std::function<QString(QWidget* parent, const QString& title, const QString& filter, int& filterIndex)> openFileName;
  // A file to write; "" when cancelled. It does not ask before replacing a
  // file: the caller does, once the extension is added.
  std::function<QString(QWidget* parent, const QString& title, const QString& suggested, const QString& filter)>
      saveFileName;
  // A file to write, choosing its type as well: `filterIndex` is the type
  // offered first on entry and the type chosen on return (0-based in the
  // filter's order). "" when cancelled; no question about replacing a file.
  std::function<QString(QWidget* parent, const QString& title, const QString& suggested, const QString& filter,
                        int& filterIndex)>
      saveFileNameOfType;
  // Runs one of the program's own modal dialogs and returns its result
  // (QDialog::Accepted, Rejected or a result of the dialog's own). Tests
  // fill the dialog's controls and press its buttons instead.
  std::function<int(QDialog& dialog)> runDialog;
  // The print dialog for `printer` (the printer, its page range and file
  // are chosen there); true when the user asked to print.
  std::function<bool(QWidget* parent, QPrinter& printer)> printDialog;
  // The page-setup dialog for `printer` (paper, orientation, margins); true
  // when accepted, with the choice in the printer's page layout.
  std::function<bool(QWidget* parent, QPrinter& printer)> pageSetupDialog;
  // Starts a program on its own (it outlives this one); false when it could
  // not be started.
  std::function<bool(const QString& program, const QStringList& arguments)> startProcess;
  // Opens a document or web page with the desktop's handler.
  std::function<bool(const QUrl& url)> openUrl;

  // The set in use; starts as the standard boxes and dialogs.
  static TUserPrompts& Current();
  // The standard boxes and dialogs.
  static TUserPrompts Standard();
};

// Puts a set of prompts in place for the lifetime of the guard (tests).
class TPromptsOverride {
 public:
  explicit TPromptsOverride(TUserPrompts prompts) : saved_(TUserPrompts::Current()) {
    TUserPrompts::Current() = std::move(prompts);
  }
  ~TPromptsOverride() { TUserPrompts::Current() = std::move(saved_); }
  TPromptsOverride(const TPromptsOverride&) = delete;
  TPromptsOverride& operator=(const TPromptsOverride&) = delete;

 private:
  TUserPrompts saved_;
};

}  // namespace terraq::ui
