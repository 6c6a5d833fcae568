#pragma once
// TReportViewer: a text file (a run's report, its notes, the data file) read
// in a child window of the program when no text editor can show it. The
// text is read-only, in a fixed-width font so that a report's columns line
// up; a find row (Ctrl+F, then Enter or F3 for the next match and
// Shift+Enter or Shift+F3 for the one before, wrapping at the ends) and
// Print (Ctrl+P, through the print dialog of TUserPrompts) serve a long
// report. Ctrl+Home and Ctrl+End go to its top and its end.

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMdiArea;
class QPlainTextEdit;
class QPushButton;

namespace terraq::ui {

class TReportViewer : public QWidget {
  Q_OBJECT

 public:
  explicit TReportViewer(QWidget* parent = nullptr);

  // The file's text (CR LF line ends read as one); false when it cannot be
  // read.
  bool Load(const QString& path);

  // Finds the find field's text after (or before) the cursor, from the other
  // end when it is not found on the way (case-insensitive); false when the
  // text holds it nowhere, the find row then saying so.
  bool FindNext();
  bool FindPrevious();
  // Prints the text after the print dialog; false when cancelled.
  bool Print();
  // The width of `digits` digits in the text's font, pixels.
  int TextWidth(int digits) const;
  // Puts the keyboard focus into the text.
  void FocusText();

 private:
  bool find(bool backward);

  QPlainTextEdit* text_;
  QLineEdit* findField_;
  QPushButton* nextButton_;
  QPushButton* previousButton_;
  QPushButton* printButton_;
  QLabel* findStatus_;
};

// Shows a text file in a viewer window of `area`, wide enough for a report's
// lines where the area allows it; an error box names a file that cannot be
// read.
void ShowReportViewer(QMdiArea& area, const QString& path);

}  // namespace terraq::ui
