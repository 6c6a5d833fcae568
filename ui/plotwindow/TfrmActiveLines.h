#pragma once
// "Active Curves": which curves of a graph take part in its window (a
// legend entry, a Plot-menu item, a colour). One entry per curve, " yes"
// or " no" and its label; a double click or "Activate/Desactivate
// Selected" flips entries, the other two buttons set them all. The choice
// reaches the graph only when the plot window takes it after OK (Active()).

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace terraq::ui {

class TGraphPlot;

class TfrmActiveLines : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMinWidth = 190, kMinHeight = 234;

  explicit TfrmActiveLines(const TGraphPlot& graph, QWidget* parent = nullptr);

  // One flag per curve of the graph's Lines, as the user left them.
  const std::vector<bool>& Active() const { return active_; }

 private:
  void lineDoubleClicked();
  void toggleSelectedClick();
  void SetAll(bool active);
  void ShowEntries();

  std::vector<bool> active_;
  std::vector<std::string> labels_;
  QListWidget* lines_;
  QPushButton* toggleSelected_;  // "Activate/Desactivate Selected"
  QPushButton* activateAll_;     // "Activate All"
  QPushButton* deactivateAll_;   // "Desactivate All"
  QPushButton* okButton_;
};

}  // namespace terraq::ui
