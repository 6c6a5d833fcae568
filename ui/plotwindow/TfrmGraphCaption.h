#pragma once
// "Graph Caption": the title of a graph and whether it stands above or
// below the plot. The dialog only shows and collects; the plot window
// stores the result in its graph and lays itself out again.

#include <QDialog>
#include <string>

class QLineEdit;
class QRadioButton;

namespace terraq::ui {

class TfrmGraphCaption : public QDialog {
  Q_OBJECT

 public:
  TfrmGraphCaption(const std::string& title, bool titleOnTop, QWidget* parent = nullptr);

  std::string Title() const;
  bool TitleOnTop() const;

 private:
  QLineEdit* caption_;
  QRadioButton* top_;
  QRadioButton* bottom_;
};

}  // namespace terraq::ui
