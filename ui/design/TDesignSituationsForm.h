#pragma once
// TDesignSituationsForm: the Design Situations window. The wall analysed
// once per chosen set of partial factors on every stage, as terraq run
// --design-approach does (design/DesignSituations.h):
//
//   - the sets (the shipped ones, the project's own) with a check box each
//     for the sets the project is designed with;
//   - the selected set's factors and kind (ultimate or serviceability, with
//     or without the unplanned excavation), editable: a shipped set edited
//     becomes the project's own set of the same name, New makes an own set
//     from the selected one and Delete removes one (a shipped set then has
//     its shipped values again); a factor that is not a number above 0 is
//     refused where it is typed;
//   - for the selected set, whether it is a seismic design situation and the
//     site's shaking it is analysed with (method, kh, kv): the shipped
//     seismic sets carry kh = 0 until it is set here, and are refused at Run
//     until then;
//   - the options: the unplanned excavation and a minimum surcharge;
//   - the design values of the selected set, before any run: each layer's
//     soil parameter as the data file gives it and as the set makes it,
//     with what the engineer must know about it;
//   - Run: per stage each chosen set's design moment, shear, support
//     forces and top deflection, and the envelope with the set that
//     governs each value; results that are not valid say why; and the
//     design moment, the design shear and the deflection of each set along
//     the stage where each is largest (or a stage chosen), the calculation
//     package's figures;
//   - with the project's wall section, the section checked with each
//     ultimate set's design effects: per set its largest utilisation and
//     the envelope's with the set, stage, depth and effects that govern it
//     (project/UltimateSectionCheck.h).
//
// The analyses take milliseconds each and run on the window's thread under
// a wait cursor. Every change of the choice is handed to the main window
// (`changed`), which keeps it in the project file when the project is
// saved. Units: those of the data file.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DesignSituations.h"
#include "project/FactorSetsMember.h"
#include "project/WallSection.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTabWidget;
class QVBoxLayout;

namespace terraq::ui {

class FigureView;

class TDesignSituationsForm : public QWidget {
  Q_OBJECT

 public:
  // `dataText` gives the project's data file text now; `choice` is what the
  // project is designed with, and `changed` takes every change of it.
  TDesignSituationsForm(std::function<std::string()> dataText, DesignSituationsChoice choice,
                        std::function<void(const DesignSituationsChoice&)> changed,
                        QWidget* parent = nullptr);

  // `sequence` gives the project's construction sequence now (nullopt: it
  // has none); each set then analyses its stages one after the other.
  void SetSequence(std::function<std::optional<design::SequentialPlan>()> sequence) {
    sequence_ = std::move(sequence);
  }
  // The project's soil model, asked for at each Run (the p-y model without
  // it).
  void SetSoilModel(design::SoilModelSource soilModel) { soilModel_ = std::move(soilModel); }

  // `section` gives the project's wall section now (nullopt: it has none).
  void SetSection(std::function<std::optional<WallSection>()> section) {
    section_ = std::move(section);
  }

  const DesignSituationsChoice& Choice() const { return choice_; }
  // Selects the set `name` (its factors and design values are shown).
  void SelectSet(const QString& name);
  // The set whose factors are shown.
  QString SelectedSet() const;
  // Analyses the chosen sets and shows the results; false (the reason in
  // the status) when nothing could be analysed.
  bool Run();

  const std::vector<design::SituationResult>& Results() const { return results_; }
  const std::vector<design::EnvelopeProblem>& Envelope() const { return envelope_; }
  QString StatusText() const;
  // The ultimate-limit-state check of the section shown; empty without one.
  QString SectionCheckText() const;
  // The figure of a design effect of each set, as the calculation package
  // draws it, along the stage where the effect is largest or along the
  // stage chosen (ShowStage).
  const FigureView* EffectFigure(design::DesignEffect effect) const;
  // The stage the figures show: 0 for the stage where each effect is
  // largest, else the stage's number.
  void ShowStage(int stage);

  QSize sizeHint() const override { return QSize(1100, 760); }

 private:
  // The project's data text now; nullopt with `error` when a stage of it
  // cannot be read.
  std::optional<std::string> projectText(QString& error) const;
  bool isProjectSet(const std::string& name) const;
  void fillSets();
  void showSet();
  void showDesignValues();
  void setChanged();
  void setStatus(const QString& text);
  void factorEdited(QTableWidgetItem* item);
  // The selected set with a changed factor or kind kept as the project's.
  void keepEdited(const design::FactorSet& set);
  void setItemChanged(QListWidgetItem* item);
  void newSet();
  void deleteSet();
  design::FactorSet selected() const;
  // The window's parts (TDesignSituationsFormLayout.cpp).
  QWidget* makeSetsPart();
  QGroupBox* makeSetsBox();
  QGroupBox* makeFactorsBox();
  QGroupBox* makeOptionsBox();
  // The selected set's shaking (TDesignSituationsFormSeismic.cpp).
  QGroupBox* makeSeismicBox();
  void connectSeismic();
  void showSeismic(const design::FactorSet& set);
  QGroupBox* makeValuesBox();
  QWidget* makeResultsPart();
  QVBoxLayout* makeFigureColumn(QWidget* bottom);
  void connectControls();
  // The results tables (TDesignSituationsFormResults.cpp).
  void showResults();
  void showFigures();
  void addResultRow(const QStringList& cells, const QString& tip = {});
  void addSentenceRow(const QString& stage, const QString& set, const QString& text);
  void addEnvelopeRow(const QString& stage, const design::EnvelopeProblem& e);
  void showSectionCheck(const std::string& text);

  std::function<std::string()> dataText_;
  std::function<std::optional<design::SequentialPlan>()> sequence_;
  design::SoilModelSource soilModel_;
  std::function<std::optional<WallSection>()> section_;
  std::function<void(const DesignSituationsChoice&)> changed_;
  DesignSituationsChoice choice_;
  int units_ = 0;  // of the data file (1 English, 2 SI)

  QListWidget* sets_ = nullptr;
  QPushButton* newButton_ = nullptr;
  QPushButton* deleteButton_ = nullptr;
  QLabel* description_ = nullptr;
  QTableWidget* factors_ = nullptr;
  QCheckBox* serviceability_ = nullptr;  // of the selected set
  QCheckBox* setUnplanned_ = nullptr;    // of the selected set
  QGroupBox* seismicBox_ = nullptr;      // of the selected set: checked when seismic
  QComboBox* seismicMethod_ = nullptr;
  QDoubleSpinBox* kh_ = nullptr;
  QDoubleSpinBox* kv_ = nullptr;
  QLabel* seismicNote_ = nullptr;
  QCheckBox* unplanned_ = nullptr;
  QDoubleSpinBox* surcharge_ = nullptr;
  QTableWidget* designValues_ = nullptr;
  QLabel* notes_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* resultsTable_ = nullptr;
  QLabel* sectionCheck_ = nullptr;
  QComboBox* figureStage_ = nullptr;
  QTabWidget* figureTabs_ = nullptr;
  FigureView* figures_[3] = {};  // moment, shear, deflection

  std::vector<design::SituationResult> results_;
  std::vector<design::EnvelopeProblem> envelope_;
};

}  // namespace terraq::ui
