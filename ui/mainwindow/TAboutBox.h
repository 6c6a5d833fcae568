#pragma once
// The About box: product, version, today's date, the release date and what
// the program is for.

#include <QDialog>

namespace terraq::ui {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace terraq::ui
