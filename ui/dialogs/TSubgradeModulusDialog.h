#pragma once
// TSubgradeModulusDialog: a soil layer's subgrade moduli at its top and
// bottom by a published correlation (design/SubgradeModulus.h). The
// engineer picks the correlation, enters its soil inputs at the layer's top
// and bottom and the wall's rigidity per unit length (proposed from the
// wall's first stiffness row and width), and sees the derived moduli, or
// why an input is refused, before taking them.

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace terraq::design {
struct SubgradeCorrelation;
}

namespace terraq::ui {

struct SubgradeModulusPair {
  double top = 0, bottom = 0;  // F/L^3, the data file's units
};

class TSubgradeModulusDialog : public QDialog {
  Q_OBJECT

 public:
  // For soil layer `layer` (1-based) of a data file in `units`, whose text
  // `dataText` proposes the wall's rigidity.
  TSubgradeModulusDialog(int layer, int units, const std::string& dataText,
                         QWidget* parent = nullptr);

  // The derived moduli (valid once the dialog is accepted).
  SubgradeModulusPair Moduli() const { return moduli_; }
  // What the dialog shows under the inputs: the moduli or the refusal.
  QString ResultText() const;

 private:
  const design::SubgradeCorrelation& chosen() const;
  void showInputs();
  void compute();

  int units_;
  QComboBox* correlation_;
  QFormLayout* inputs_;
  std::vector<QLineEdit*> top_, bottom_;
  QLineEdit* rigidity_;
  QLabel* formula_;
  QLabel* result_;
  QDialogButtonBox* buttons_;
  SubgradeModulusPair moduli_;
};

}  // namespace terraq::ui
