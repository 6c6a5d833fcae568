#pragma once
// TDesignForm: the Design window. The engineer chooses the method, the form
// and value of the factor of safety (or a design approach: a set of partial
// factors whose design soil and actions are designed with, the passive
// resistance divided by gammaG·gammaRe), the embedment factor, the
// resolution of the tip and the deflection limits; Design designs the first problem of the
// project as it stands (design/DesignReport.h): the limit-equilibrium
// embedment, anchor force and moments, the spring model's strength-reduction
// factor and the shortest wall, with a graph of the net pressure diagram and
// one of the factor of safety against the embedment. Apply sets the wall's
// length in the project to the tip chosen, keeping the number of increments
// or the increment length.
//
// The method "Apparent pressure" designs a wall with several supports from
// an apparent-pressure envelope instead (design/ApparentPressureDesign.h):
// the envelope, each support's load by tributary areas and by hinges and
// along its tendon, with a figure of the envelope and the support levels;
// "Use as the wall's earth pressure" makes the envelope the project's
// specified earth pressure (TDesignFormApparent.cpp).
//
// A project with a construction sequence is designed on its sequence
// (design/SequenceDesign.h): every stage and the governing one; the graphs
// are the governing stage's.
//
// The tab Ground beside the wall's results checks the ground around the
// designed wall and designs its anchors (DesignGroundPanel.h), made again at
// every design; its plan of the cut is the project's member "excavation".
//
// The window reads the project only when Design is pressed, and writes it
// only through Apply and the Ground tab's plan: a design shown is that of
// the project at the time.
// Its choices, the governing stage, the tip applied and who made and checked
// the design are the project's design record (project/DesignRecord.h): the
// window opens with the record's choices and hands the record on at every
// design, Apply and edit of the who fields (DesignFormChoices.cpp).

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ApparentPressureDesign.h"
#include "DesignReport.h"
#include "SequentialStaging.h"
#include "design/DesignGroundPanel.h"
#include "project/DesignRecord.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QFormLayout;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace terraq::ui {

class DesignGraph;
class FigureView;

class TDesignForm : public QWidget {
  Q_OBJECT

 public:
  // `dataText` gives the project's data file text now; `apply` sets the
  // project's wall to `increments` increments of `length` (the data file's
  // length unit) and says why it could not, or "" when it did.
  TDesignForm(std::function<std::string()> dataText,
              std::function<std::string(int increments, double length)> apply,
              QWidget* parent = nullptr);

  // The sets of partial factors the project has of its own, offered beside
  // the shipped ones as design approaches; the choice is kept by name.
  void SetFactorSets(std::vector<design::FactorSet> projectSets);
  // `sequence` gives the project's construction sequence now (nullopt or no
  // stages: none).
  // `undo` takes the last Apply back and says why it could not, or "" when
  // it did; the Undo Apply button offers it after an Apply.
  void SetUndo(std::function<std::string()> undo) { undo_ = std::move(undo); }
  void SetSequence(std::function<std::optional<design::SequentialPlan>()> sequence) {
    sequence_ = std::move(sequence);
  }
  // The project's soil model, asked for at each design (the p-y model
  // without it).
  void SetSoilModel(design::SoilModelSource soilModel) { soilModel_ = std::move(soilModel); }

  // `use` makes an envelope the project's specified earth pressure and
  // `undo` takes that back; each says why it could not, or "" when it did.
  void SetEnvelopePressure(std::function<std::string(const design::PressureEnvelope&)> use,
                           std::function<std::string()> undo) {
    useEnvelope_ = std::move(use);
    undoEnvelope_ = std::move(undo);
  }

  // The project's plan of the cut and anchors' inputs, for the Ground tab.
  void SetGround(TDesignGroundPanel::Project project);
  TDesignGroundPanel* GroundPanel() const { return ground_; }
  QTabWidget* ResultTabs() const { return tabs_; }
  // The section of the help page on what the window shows now: the ground
  // checks' or the window's.
  QString HelpSection() const;

  // Restores the controls from the project's `record` (none: as they are)
  // and hands every later change of it to `keep`.
  void SetRecord(const std::optional<DesignRecord>& record,
                 std::function<void(const DesignRecord&)> keep);

  // The Design button: designs the first problem of the project.
  void Design();
  // The Apply button: the chosen tip into the project. False (with the
  // message shown) when there is no tip to apply.
  bool Apply();
  // The Undo Apply button: the wall as it was before the last Apply.
  bool UndoApply();

  // "Use as the wall's earth pressure" and its Undo: the envelope of the
  // apparent-pressure design shown (its first problem) into the project.
  bool UseEnvelope();
  bool UndoEnvelope();

  // The apparent-pressure design shown (the first problem's), when one was
  // made.
  const std::optional<design::ApparentDesign>& ShownApparent() const { return apparent_; }
  FigureView* EnvelopeFigure() const { return envelopeFigure_; }
  // The design shown, when one was made.
  const std::optional<design::ProblemDesign>& Shown() const { return design_; }
  QString ResultsText() const;
  QString StatusText() const;

  // The inputs, by what they set.
  QComboBox* ApproachBox() const { return approach_; }
  QComboBox* MethodBox() const { return method_; }
  QComboBox* FsMethodBox() const { return fsMethod_; }
  QComboBox* CriterionBox() const { return criterion_; }
  // The earth-pressure theory and wall friction δ/φ' of each face.
  QComboBox* BackfillTheoryBox() const { return backfillTheory_; }
  QComboBox* ExcavationTheoryBox() const { return excavationTheory_; }
  QDoubleSpinBox* BackfillFrictionBox() const { return backfillFriction_; }
  QDoubleSpinBox* ExcavationFrictionBox() const { return excavationFriction_; }
  // The shaking: none, or a seismic method with its kh and kv.
  QComboBox* SeismicMethodBox() const { return seismicMethod_; }
  QDoubleSpinBox* SeismicKhBox() const { return seismicKh_; }
  QDoubleSpinBox* SeismicKvBox() const { return seismicKv_; }
  QDoubleSpinBox* FsBox() const { return fs_; }
  QComboBox* TipBox() const { return tip_; }
  QComboBox* KeepBox() const { return keep_; }
  QDoubleSpinBox* EmbedmentFactorBox() const { return embedmentFactor_; }
  DesignGraph* PressureGraph() const { return pressureGraph_; }
  DesignGraph* FactorGraph() const { return factorGraph_; }

  QSize sizeHint() const override { return QSize(1100, 660); }

 private:
  static QDoubleSpinBox* NumberBox(double low, double high, double value, int decimals,
                                   QWidget* parent);
  design::DesignRequest request() const;
  // The apparent-pressure method: its choices, its box, the parts of the
  // window it shows and hides, and its design (TDesignFormApparent.cpp).
  bool apparentChosen() const;
  design::ApparentRequest apparentRequest(QString& error) const;
  void showApparentRequest(const design::ApparentRequest& request);
  QGroupBox* makeApparentBox();
  void methodChanged();
  void designApparent(const std::string& text);
  // The set of the approach chosen; nullopt for a factor of safety.
  std::optional<design::FactorSet> approach() const;
  void approachChanged();
  // The record of the window's choices and of what was designed and applied.
  DesignRecord record() const;
  void keepRecord();
  // The window's parts; the criteria and the record box with the choices
  // (DesignFormChoices.cpp).
  QGroupBox* makeCriteriaBox();
  void addTheoryRows(QFormLayout* form, QWidget* parent);
  void addSeismicRow(QFormLayout* form, QWidget* parent);
  QGroupBox* makeApplyBox();
  // The project number, engineer, checker and revision fields.
  QGroupBox* makeRecordBox();
  // Designs each problem of the data file (a staged project's stages are
  // walls of their own); the governing one, of the deepest tip, is kept.
  size_t designEachProblem(const std::string& text, const engine::api::SoilDescriptions& soils,
                           const design::DesignRequest& designRequest, const std::string& note);
  void showGraphs(const engine::api::SoilDescription& soil,
                  const design::DesignRequest& designRequest);
  // No design: the results, graphs and ground checks empty, `status` why.
  void refuseDesign(const QString& status, int units);
  void setStatus(const QString& text);
  // The project's units system, from its data text `text`.
  static int unitsOf(const std::string& text);
  QString lengthText(double length) const;

  std::function<std::string()> dataText_;
  std::function<std::string(int, double)> apply_;
  std::function<std::string()> undo_;
  std::function<std::optional<design::SequentialPlan>()> sequence_;
  design::SoilModelSource soilModel_;
  std::vector<design::FactorSet> projectSets_;
  QComboBox* approach_ = nullptr;
  QComboBox* method_ = nullptr;
  QComboBox* fsMethod_ = nullptr;
  QDoubleSpinBox* fs_ = nullptr;
  QCheckBox* ownEmbedmentFactor_ = nullptr;
  QDoubleSpinBox* embedmentFactor_ = nullptr;
  QDoubleSpinBox* resolution_ = nullptr;
  QDoubleSpinBox* topLimit_ = nullptr;
  QDoubleSpinBox* maxLimit_ = nullptr;
  QComboBox* criterion_ = nullptr;
  QComboBox* backfillTheory_ = nullptr;
  QComboBox* excavationTheory_ = nullptr;
  QDoubleSpinBox* backfillFriction_ = nullptr;
  QDoubleSpinBox* excavationFriction_ = nullptr;
  QComboBox* seismicMethod_ = nullptr;  // row 0: the ground is still
  QDoubleSpinBox* seismicKh_ = nullptr;
  QDoubleSpinBox* seismicKv_ = nullptr;
  // The berm of the record (terraq design --berm made it): the window has
  // no field of it, but designs with it and keeps it.
  std::optional<design::Berm> berm_;
  QComboBox* tip_ = nullptr;
  QComboBox* keep_ = nullptr;
  QPushButton* designButton_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  QPushButton* undoButton_ = nullptr;
  QPlainTextEdit* results_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* unitsLabel_ = nullptr;
  DesignGraph* pressureGraph_ = nullptr;
  DesignGraph* factorGraph_ = nullptr;
  QTabWidget* tabs_ = nullptr;  // the wall's results and graphs; the ground's checks
  TDesignGroundPanel* ground_ = nullptr;
  QFormLayout* criteriaForm_ = nullptr;
  QGroupBox* applyBox_ = nullptr;

  // The apparent-pressure method's controls and its design shown.
  QGroupBox* apparentBox_ = nullptr;
  QComboBox* envelopeSource_ = nullptr;
  QComboBox* envelopeSoil_ = nullptr;
  QDoubleSpinBox* clayFactor_ = nullptr;
  QCheckBox* softBase_ = nullptr;
  QCheckBox* ownFailureDepth_ = nullptr;
  QDoubleSpinBox* failureDepth_ = nullptr;
  QComboBox* supportsFrom_ = nullptr;
  QLineEdit* supports_ = nullptr;
  QDoubleSpinBox* spacing_ = nullptr;
  QDoubleSpinBox* inclination_ = nullptr;
  QPushButton* useEnvelopeButton_ = nullptr;
  QPushButton* undoEnvelopeButton_ = nullptr;
  FigureView* envelopeFigure_ = nullptr;
  std::optional<design::ApparentDesign> apparent_;
  std::function<std::string(const design::PressureEnvelope&)> useEnvelope_;
  std::function<std::string()> undoEnvelope_;

  // The factor of safety typed before an approach set it, given back when
  // the approach is taken off.
  bool tipChosen_ = false;  // the engineer picked the tip to apply
  int ownFsMethod_ = 0;
  double ownFs_ = 1.5;

  std::function<void(const DesignRecord&)> keepRecord_;
  QLineEdit* projectNumber_ = nullptr;
  QLineEdit* engineer_ = nullptr;
  QLineEdit* checker_ = nullptr;
  QLineEdit* revision_ = nullptr;
  std::optional<int> governingStage_;  // 1-based, of a staged design
  std::optional<double> appliedTip_;
  std::string appliedOn_;

  std::optional<design::ProblemDesign> design_;
  int increments_ = 0;  // the project's wall when it was designed
  double incrementLength_ = 0;
};

}  // namespace terraq::ui
