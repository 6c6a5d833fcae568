#include "dialogs/TDlgSection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "api/Units.h"
#include "controls/NumberFormat.h"
#include "dialogs/ViewText.h"
#include "project/ProjectSection.h"
#include "project/TProgramData.h"
#include "widgets/HelpDocuments.h"

namespace terraq::ui {

namespace {

QString LengthLabel(int unitsCode) {
  return Q(engine::api::UnitLabel(engine::api::Quantity::Length, unitsCode));
}

// A property in the unit the section tables publish it in (cm⁴, cm³), per
// metre of wall for sheet piles.
QString Property(const std::optional<double>& value, double toUnit, const char* unit,
                 bool perMetre) {
  if (!value) return QStringLiteral("–");
  // Whole units as the tables print them; small ones to four digits.
  const double shown = *value * toUnit;
  return (shown >= 1000 ? QString::number(shown, 'f', 0) : Q(FormatGeneral(shown, 4))) +
         QStringLiteral(" ") + QString::fromUtf8(unit) +
         (perMetre ? QStringLiteral("/m") : QString());
}

// The name as the library finds it: without blanks, in lower case.
QString Plain(QString text) { return text.remove(QLatin1Char(' ')).toLower(); }

QDoubleSpinBox* Factor(QWidget* parent, const char* name, double value, double most) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setDecimals(3);
  box->setRange(0.001, most);
  box->setSingleStep(0.05);
  box->setValue(value);
  return box;
}

}  // namespace

TDlgSection::TDlgSection(std::optional<design::SectionLibrary> library,
                         const std::string& libraryError, TProgramData& project,
                         const std::optional<WallSection>& current, QWidget* parent)
    : QDialog(parent),
      library_(std::move(library)),
      project_(project),
      current_(current),
      libraryError_(Q(libraryError)) {
  setObjectName(QStringLiteral("dlgSection"));
  setWindowTitle(tr("Wall Section"));
  AddHelpKey(this, QStringLiteral("help/checking-a-section.html#picking-the-section"));

  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("edSearch"));
  search_->setPlaceholderText(tr("Name or family: AZ 18, HP 12, sheet-pile-u, PIPE610x12.7"));
  search_->setClearButtonEnabled(true);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("lstSections"));
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({tr("Section"), tr("Family"), tr("I"), tr("Wel")});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->setMinimumHeight(200);

  grade_ = new QComboBox(this);
  grade_->setObjectName(QStringLiteral("cbGrade"));
  spacingLabel_ =
      new QLabel(tr("Spacing of the piles, Wa (%1)").arg(LengthLabel(project.Units)), this);
  spacing_ = new QDoubleSpinBox(this);
  spacing_->setObjectName(QStringLiteral("sbSpacing"));
  spacing_->setDecimals(4);
  spacing_->setRange(0, 1e6);
  spacing_->setValue(current && current->spacing ? *current->spacing : project.ActiveWidth);

  const design::CheckSettings settings = current ? current->settings : design::CheckSettings{};
  makeCheckControls(settings);
  none_ = new QCheckBox(tr("&No section: forget the project's section (the stiffness table stays)"),
                        this);
  none_->setObjectName(QStringLiteral("chkNoSection"));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("lblMessage"));
  message_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("bbSection"));

  auto* form = new QFormLayout;
  form->addRow(tr("&Grade"), grade_);
  form->addRow(spacingLabel_, spacing_);
  form->addRow(tr("Check &method"), method_);
  auto* factors = new QHBoxLayout;
  factors->addWidget(eurocode_);
  factors->addWidget(allowable_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(search_);
  layout->addWidget(list_, 1);
  layout->addLayout(form);
  layout->addLayout(factors);
  layout->addWidget(none_);
  layout->addWidget(message_);
  layout->addWidget(buttons);

  connect(search_, &QLineEdit::textChanged, this, &TDlgSection::filter);
  connect(list_, &QTreeWidget::currentItemChanged, this, &TDlgSection::sectionChanged);
  connect(method_, &QComboBox::currentIndexChanged, this, &TDlgSection::methodChanged);
  connect(none_, &QCheckBox::toggled, this, [this](bool none) {
    for (QWidget* w : std::initializer_list<QWidget*>{search_, list_, grade_, spacing_, method_,
                                                      eurocode_, allowable_})
      w->setEnabled(!none);
    if (!none) sectionChanged();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &TDlgSection::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TDlgSection::reject);

  filter();
  selectCurrent();
  methodChanged();
  sectionChanged();
  if (!library_) say(tr("The section library cannot be used: %1").arg(libraryError_), true);
}

// The check method and the factors of each: the limit states' and the
// allowable stresses'.
void TDlgSection::makeCheckControls(const design::CheckSettings& settings) {
  method_ = new QComboBox(this);
  method_->setObjectName(QStringLiteral("cbMethod"));
  method_->addItems({tr("Eurocode: limit states"), tr("Allowable stresses")});
  method_->setCurrentIndex(settings.method == design::CheckMethod::Allowable ? 1 : 0);
  eurocode_ = new QGroupBox(tr("Limit states"), this);
  betaB_ = Factor(eurocode_, "sbBetaB", settings.betaB, 1);
  gammaM0_ = Factor(eurocode_, "sbGammaM0", settings.gammaM0, 10);
  auto* eurocodeForm = new QFormLayout(eurocode_);
  eurocodeForm->addRow(tr("Interlock factor βB"), betaB_);
  eurocodeForm->addRow(tr("Partial factor γM0"), gammaM0_);
  allowable_ = new QGroupBox(tr("Allowable stresses, fractions of fy"), this);
  bending_ = Factor(allowable_, "sbBending", settings.bendingFraction, 1);
  shear_ = Factor(allowable_, "sbShear", settings.shearFraction, 1);
  axial_ = Factor(allowable_, "sbAxial", settings.axialFraction, 1);
  auto* allowableForm = new QFormLayout(allowable_);
  allowableForm->addRow(tr("Bending"), bending_);
  allowableForm->addRow(tr("Shear"), shear_);
  allowableForm->addRow(tr("Axial"), axial_);
}

// The project's section chosen in the list, found by its name.
void TDlgSection::selectCurrent() {
  if (current_) {
    const design::Section* section = library_ ? library_->findSection(current_->name) : nullptr;
    search_->setText(section ? Q(section->name) : Q(current_->name));
  }
  for (int row = 0; current_ && row < list_->topLevelItemCount(); ++row)
    if (Plain(list_->topLevelItem(row)->text(0)) == Plain(Q(current_->name)))
      list_->setCurrentItem(list_->topLevelItem(row));
}

void TDlgSection::filter() {
  const QString wanted = Plain(search_->text());
  const QString was = selected() ? Q(selected()->name) : QString();
  // The list is rebuilt quietly; the choice is looked at once, after it.
  const QSignalBlocker quiet(list_);
  rows_.clear();
  list_->clear();
  if (!library_) return;
  // A pipe by its dimensions is computed rather than listed.
  if (std::optional<design::Section> pipe = library_->findPipe(search_->text().toStdString());
      pipe && !library_->findSection(pipe->name))
    rows_.push_back(*pipe);
  for (const design::Section& s : library_->sections)
    if (Plain(Q(s.name)).contains(wanted) || Q(design::FamilyWord(s.family)).contains(wanted))
      rows_.push_back(s);
  for (const design::Section& s : rows_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, Q(s.name));
    item->setText(1, Q(design::FamilyWord(s.family)));
    item->setText(2, Property(s.secondMoment, 1e8, "cm⁴", s.perMetre()));
    item->setText(3, Property(s.elasticModulus, 1e6, "cm³", s.perMetre()));
    if (Q(s.name) == was) list_->setCurrentItem(item);
  }
  // One match is the section meant.
  if (rows_.size() == 1) list_->setCurrentItem(list_->topLevelItem(0));
  sectionChanged();
}

const design::Section* TDlgSection::selected() const {
  const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
  return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<size_t>(row)]
                                                          : nullptr;
}

void TDlgSection::sectionChanged() {
  const design::Section* section = selected();
  const bool sheet = section && design::IsSheetPile(section->family);
  spacing_->setEnabled(section && !sheet && !none_->isChecked());
  spacingLabel_->setEnabled(spacing_->isEnabled());
  const QString keep = grade_->currentText();
  grade_->clear();
  if (!section) return;
  const std::string use = sheet ? "sheet-pile" : "structural";
  for (const design::SteelGrade& g : library_->grades)
    if (g.use == use) grade_->addItem(Q(g.name));
  // The grade the project has, else the one chosen before, else the
  // library's default for the section.
  const design::SteelGrade* fallback = library_->defaultGrade(*section);
  for (const QString& name :
       {current_ && current_->name == section->name ? Q(current_->grade) : QString(), keep,
        fallback ? Q(fallback->name) : QString()})
    if (const int at = grade_->findText(name); !name.isEmpty() && at >= 0) {
      grade_->setCurrentIndex(at);
      break;
    }
  QStringList notes;
  if (sheet)
    notes << tr("A sheet-pile wall takes the project's Wa (%1 %2) as its wall unit.")
                 .arg(project_.ActiveWidth)
                 .arg(LengthLabel(project_.Units));
  if (project_.StageCount > 1)
    notes << tr("The stiffness table of stage %1 is filled; choose the section on the other stages "
                "too.")
                 .arg(project_.CurrentStage);
  say(notes.join(QLatin1Char(' ')), false);
}

void TDlgSection::methodChanged() {
  const bool allowable = method_->currentIndex() == 1;
  eurocode_->setVisible(!allowable);
  allowable_->setVisible(allowable);
}

void TDlgSection::say(const QString& text, bool error) {
  message_->setText(text);
  message_->setStyleSheet(error ? QStringLiteral("color: #b00000") : QString());
}

WallSection TDlgSection::wanted(const design::Section& section) const {
  WallSection w;
  w.name = section.name;
  w.grade = grade_->currentText().toStdString();
  if (!design::IsSheetPile(section.family)) w.spacing = spacing_->value();
  // The published class belongs to the section and grade it was given for.
  if (current_ && current_->name == w.name && current_->grade == w.grade)
    w.settings.sectionClass = current_->settings.sectionClass;
  w.settings.method =
      method_->currentIndex() == 1 ? design::CheckMethod::Allowable : design::CheckMethod::Eurocode;
  w.settings.betaB = betaB_->value();
  w.settings.gammaM0 = gammaM0_->value();
  w.settings.bendingFraction = bending_->value();
  w.settings.shearFraction = shear_->value();
  w.settings.axialFraction = axial_->value();
  return w;
}

void TDlgSection::accept() {
  if (none_->isChecked()) {
    if (current_) project_.Modified = true;
    chosen_.reset();
    QDialog::accept();
    return;
  }
  if (!library_) {
    say(tr("The section library cannot be used: %1").arg(libraryError_), true);
    return;
  }
  const design::Section* section = selected();
  if (!section) {
    say(tr("Choose a section in the list."), true);
    return;
  }
  const WallSection w = wanted(*section);
  std::string error;
  const std::optional<SectionInUse> used = ResolveWallSection(w, *library_, error);
  if (!used || !FillSectionRigidity(project_, *used, error)) {
    say(tr("%1 is not taken: %2").arg(Q(w.name), Q(error)), true);
    return;
  }
  chosen_ = w;
  QDialog::accept();
}

}  // namespace terraq::ui
