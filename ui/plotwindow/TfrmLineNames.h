#pragma once
// "Legend": renames the curves of a graph. The list holds the label of
// every curve, active or not; the entry selected is edited in the box below
// it, whose text takes the curve's colour. Enter in the box, or leaving it,
// writes the text into the entry; an empty text is refused with a message.
// The names reach the graph only when the plot window takes them after OK
// (Names()).

#include <QDialog>
#include <string>
#include <vector>

#include "graphs/PlotMenuRules.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace terraq::ui {

class TfrmLineNames : public QDialog {
  Q_OBJECT

 public:
  // The message for an empty name.
  static constexpr const char* kNameMissing = "The line must have a name!";
  // The smallest client area, pixels.
  static constexpr int kMinWidth = 195, kMinHeight = 167;

  explicit TfrmLineNames(const TGraphPlot& graph, QWidget* parent = nullptr);

  // The list as the user left it.
  const TLegendNames& Names() const { return names_; }

 private:
  void lineSelected();  // an entry selected: its label to the edit box
  void nameEntered();   // Enter or leaving the box: the text to the entry

  TLegendNames names_;
  bool writing_ = false;  // a refusal's message is showing
  QListWidget* lines_;
  QLineEdit* name_;
  QPushButton* okButton_;
};

}  // namespace terraq::ui
