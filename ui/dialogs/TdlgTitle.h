#pragma once
// TdlgTitle, "Project Title": the one-line description of the project that
// heads the data file and the report.

#include "dialogs/TDataDialog.h"

class QLineEdit;

namespace terraq::ui {

class TdlgTitle : public TDataDialog {
  Q_OBJECT

 public:
  // The title line holds at most this many characters.
  static constexpr int kMaxTitleLength = 80;

  explicit TdlgTitle(TDialogContext context, QWidget* parent = nullptr);

 protected:
  void LoadOther(const TProgramData& values) override;
  void StoreOther(TProgramData& values) override;

 private:
  QLineEdit* title_;
};

}  // namespace terraq::ui
