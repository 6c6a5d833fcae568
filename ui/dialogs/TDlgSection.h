#pragma once
// TDlgSection, "Wall Section": the wall's steel section from the section
// library, opened from Wall Properties. A search field narrows the list of
// the library's sections (name, family, I and Wel with their units); the
// grade, the spacing of piles (in the data file's length unit, the project's
// Wa to begin with) and the method of the check go with it. OK puts the
// section's EI in every row of the stiffness table (FillSectionRigidity:
// and Wa = the spacing for piles); "No section" forgets the project's
// section and leaves the table as it is. What keeps OK from doing so (no
// library, a project in generic units, a sheet pile without Wa) is said in
// the dialog, and the project is left as it was.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "project/WallSection.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTreeWidget;

namespace terraq::ui {

class TProgramData;

class TDlgSection : public QDialog {
  Q_OBJECT

 public:
  // `library` is the program's section library, or nullopt with
  // `libraryError` saying why there is none. `project` must outlive the
  // dialog; `current` is the section it has.
  TDlgSection(std::optional<design::SectionLibrary> library, const std::string& libraryError,
              TProgramData& project, const std::optional<WallSection>& current,
              QWidget* parent = nullptr);

  // After OK: the project's section (nullopt for "No section").
  const std::optional<WallSection>& Chosen() const { return chosen_; }

  void accept() override;

 private:
  void makeCheckControls(const design::CheckSettings& settings);
  void selectCurrent();
  void filter();
  void sectionChanged();
  void methodChanged();
  void say(const QString& text, bool error);
  const design::Section* selected() const;
  WallSection wanted(const design::Section& section) const;

  // Object names, which tests and scripts look up: edSearch, lstSections,
  // cbGrade, sbSpacing, cbMethod, sbBetaB, sbGammaM0, sbBending, sbShear,
  // sbAxial, chkNoSection, lblMessage.
  std::optional<design::SectionLibrary> library_;
  TProgramData& project_;
  std::optional<WallSection> current_, chosen_;
  std::vector<design::Section> rows_;  // the sections listed, in the list's order
  QLineEdit* search_;
  QTreeWidget* list_;
  QComboBox* grade_;
  QLabel* spacingLabel_;
  QDoubleSpinBox* spacing_;
  QComboBox* method_;
  QGroupBox* eurocode_;
  QDoubleSpinBox *betaB_, *gammaM0_;
  QGroupBox* allowable_;
  QDoubleSpinBox *bending_, *shear_, *axial_;
  QCheckBox* none_;
  QLabel* message_;
  QString libraryError_;
};

}  // namespace terraq::ui
