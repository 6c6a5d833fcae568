#pragma once
// The dialogs that lead to a project table: an explanatory picture, a
// button that opens the table's window and, where the table belongs to an
// option of the analysis, the check box that switches the option:
//   TDlgSurcharge     "Additional Surcharge"          table SurchargeTable
//   TDlgConLoads  "Concentrated Loads"            UseConcentratedLoads, Tables().ConcentratedLoads
//   TDlgSpring    "Lateral & Rotational Springs"  UseSprings, Tables().Springs
// The button is enabled only while the option is on (the surcharge's is
// switched in the Options menu); switching the option off closes the
// table's window (the table then counts as empty).

#include "dialogs/TDataDialog.h"

class QCheckBox;
class QPushButton;

namespace terraq::ui {

class TTableDialog : public TDataDialog {
  Q_OBJECT

 public:
  // How one of these dialogs is made; texts exact, with their access keys.
  struct Description {
    const char* objectName;
    const char* caption;
    const char* checkName;     // nullptr: no option switch
    const char* checkCaption;
    bool TProgramData::* option;
    const char* buttonName;
    const char* buttonCaption;
    TGridTable& (*table)(TProjectTables&);
    const char* picture;       // file of the picture resource
    const char* pictureName;   // object name of its label
  };

  TTableDialog(const Description& description, TDialogContext context, QWidget* parent = nullptr);

  // The option's check box (nullptr without an option) and the button.
  QCheckBox* OptionBox() const { return check_; }
  QPushButton* TableButton() const { return button_; }

 protected:
  void LoadOther(const TProgramData& values) override;

 private:
  void checkClick(bool checked);
  void buttonClick();

  Description description_;
  QCheckBox* check_ = nullptr;
  QPushButton* button_ = nullptr;
};

class TDlgSurcharge : public TTableDialog {
  Q_OBJECT
 public:
  explicit TDlgSurcharge(TDialogContext context, QWidget* parent = nullptr);
};

class TDlgConLoads : public TTableDialog {
  Q_OBJECT
 public:
  explicit TDlgConLoads(TDialogContext context, QWidget* parent = nullptr);
};

class TDlgSpring : public TTableDialog {
  Q_OBJECT
 public:
  explicit TDlgSpring(TDialogContext context, QWidget* parent = nullptr);
};

}  // namespace terraq::ui
