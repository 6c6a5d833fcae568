#pragma once
// TSoilModelPanel: the soil model of the project, under the grid of the
// Soil Layers window. The engineer chooses between the p-y curves generated
// from the layers and the subgrade-reaction springs from at rest; with the
// springs, a row per soil layer holds its parameters (the model's declared
// ones, engine/api/Subgrade.h: name, unit, range), and "Derive kh..."
// computes a layer's subgrade moduli by a published correlation, the
// derived values shown before they are taken.
//
// The rows are the model's own, beside the soil layers they belong to: a
// layer added or deleted in the grid above leaves them as they are, and
// the panel says how they differ until its own rows are added or deleted
// to match (the run refuses a model whose layers do not match). A modulus
// of 0 is one not entered yet.
//
// Every entry is checked against its parameter's range when the cell is
// left; a refused entry is never kept. What is kept goes to the project at
// once (saved with the data file).

#include <QGroupBox>
#include <functional>
#include <optional>
#include <string>

#include "project/SoilModelMember.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace terraq::ui {

class TSoilModelPanel : public QGroupBox {
  Q_OBJECT

 public:
  struct Project {
    std::function<std::optional<SoilModelChoice>()> choice;
    std::function<void(const std::optional<SoilModelChoice>&)> keep;
    std::function<std::vector<std::string>()> layers;  // the soil layers, described
    std::function<int()> units;                        // the data file's units code
    std::function<std::string()> dataText;             // for the wall's rigidity
  };

  explicit TSoilModelPanel(Project project, QWidget* parent = nullptr);

  // Shows the project's model and the layers as they are now.
  void Refresh();
  // The line under the rows: what the run would refuse, or that it is ready.
  QString StateText() const;

 signals:
  // The panel shows more or fewer rows than before: its window may refit.
  void sizeChanged();

 private:
  void chooseModel(int index);
  void cellChanged(QTableWidgetItem* item);
  void addRow(bool insert);
  void deleteRow();
  void derive();
  void keep(const SoilModelChoice& choice);
  // The line under the rows, for `layerCount` soil layers in the grid.
  void showState(const SoilModelChoice& choice, size_t layerCount);
  QTableWidgetItem* cellAt(int row, int column, const QString& text);

  Project project_;
  QComboBox* model_;
  QTableWidget* rows_;
  QPushButton* add_;
  QPushButton* insert_;
  QPushButton* delete_;
  QPushButton* derive_;
  QLabel* state_;
  bool refreshing_ = false;
};

}  // namespace terraq::ui
