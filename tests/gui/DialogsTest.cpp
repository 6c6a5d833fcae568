// The data dialogs in a multiple-document area, as the main window shows
// them: loading and storing with the display units of English projects
// (feet for heights and water depths, lb/ft^2 for the surcharge), the limits
// of their fields, refusing to store or close over an invalid entry, the
// Modified mark, the option switches with their tables, and a change of
// units.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save a
// picture of every dialog there (run under a real display server to see the
// program's fonts: xvfb-run -a env QT_QPA_PLATFORM=xcb ...).

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "dialogs/DialogPicture.h"
#include "dialogs/TDataEdit.h"
#include "dialogs/TDialogWindows.h"
#include "dialogs/TDlgProp.h"
#include "dialogs/TDlgWallConfig.h"
#include "dialogs/TableDialogs.h"
#include "dialogs/TdlgTitle.h"

namespace terraq::test {
namespace {

using ui::TDataEdit;
using ui::TDialogKind;

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.setCentralWidget(area);
    window.resize(1280, 960);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // Another child window to switch to, as a table window would be.
    auto* other = new QLabel(QStringLiteral("another window"));
    other->setFocusPolicy(Qt::StrongFocus);
    otherWindow = area->addSubWindow(other);
    otherWindow->show();
  }

  template <typename Dialog>
  Dialog* Open(TDialogKind kind) {
    auto* dialog = qobject_cast<Dialog*>(dialogs.Show(kind));
    ProcessEvents();
    return dialog;
  }
  QMdiSubWindow* WindowOf(QWidget* dialog) { return qobject_cast<QMdiSubWindow*>(dialog->parentWidget()); }
  void ActivateOther() {
    area->setActiveSubWindow(otherWindow);
    ProcessEvents();
  }
  // Types into a field as the user does; the field keeps the focus.
  static void Type(TDataEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }
  ui::TProgramData& Data() { return project.Data(); }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ui::TProject project;
  QStringList shownTables;
  QStringList closedTables;
  QMainWindow window;
  QMdiArea* area = new QMdiArea;
  QMdiSubWindow* otherWindow = nullptr;
  ui::TDialogWindows dialogs{
      *area,
      {&project,
       [this](ui::TGridTable& t) { shownTables << QString::fromStdString(t.Name()); },
       [this](const ui::TGridTable& t) { closedTables << QString::fromStdString(t.Name()); },
       {},
       {}}};
};

TEST_F(DialogsTest, FreeHeightInFeetIsStoredInInchesAndSharedByBothDialogs) {
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  EXPECT_EQ(Field(prop, "DeFH")->EditLabel()->text(), QStringLiteral("Free Height of Wall (ft)"));
  Type(Field(prop, "DeFH"), QStringLiteral("20"));
  auto* wallConfig = Open<ui::TDlgWallConfig>(TDialogKind::WallConfig);
  EXPECT_EQ(Data().FreeHeight, 240);
  EXPECT_TRUE(Data().Modified);
  EXPECT_EQ(Field(wallConfig, "deHL")->text(), QStringLiteral("20"));

  // And back the other way.
  Type(Field(wallConfig, "deHL"), QStringLiteral("12.5"));
  dialogs.Show(TDialogKind::Prop);
  ProcessEvents();
  EXPECT_EQ(Data().FreeHeight, 150);
  EXPECT_EQ(Field(prop, "DeFH")->text(), QStringLiteral("12.5"));
  EXPECT_TRUE(answers.errors.isEmpty());
}

TEST_F(DialogsTest, WallConfigurationConvertsDepthsAndSurchargeOfEnglishProjects) {
  Data().WaterDepthBackfill = 60;        // in
  Data().WaterDepthExcavation = 300;     // in
  Data().SurchargePressure = 2.5;        // lb/in^2
  Data().ActiveWidth = 48;               // in, shown as it is
  Data().BackfillSlope = 10;
  auto* wallConfig = Open<ui::TDlgWallConfig>(TDialogKind::WallConfig);
  EXPECT_EQ(Field(wallConfig, "deHW")->text(), QStringLiteral("5"));
  EXPECT_EQ(Field(wallConfig, "DeHW2")->text(), QStringLiteral("25"));
  EXPECT_EQ(Field(wallConfig, "deSP")->text(), QStringLiteral("360"));
  EXPECT_EQ(Field(wallConfig, "deWidth")->text(), QStringLiteral("48"));
  EXPECT_EQ(Field(wallConfig, "deSP")->EditLabel()->text(),
            QStringLiteral("Uniform Distributed Load at the top of backfill side  (lbs/ft^2)"));
  EXPECT_EQ(Field(wallConfig, "beta")->EditLabel()->text(),
            QStringLiteral("Slope of the backfill, Beta (deg.)"));

  Type(Field(wallConfig, "deSP"), QStringLiteral("250"));
  Field(wallConfig, "deHW")->setFocus();
  Type(Field(wallConfig, "deHW"), QStringLiteral("7.5"));
  Field(wallConfig, "deWp")->setFocus();
  Type(Field(wallConfig, "deWp"), QStringLiteral("24"));
  ActivateOther();
  EXPECT_DOUBLE_EQ(Data().SurchargePressure, 250.0 / 144.0);
  EXPECT_EQ(Data().WaterDepthBackfill, 90);
  EXPECT_EQ(Data().ResistanceWidth, 24);
  EXPECT_EQ(Data().WaterDepthExcavation, 300);
  // Shown again as typed, not with the noise of the trip through lb/in^2.
  dialogs.Show(TDialogKind::WallConfig);
  ProcessEvents();
  EXPECT_EQ(Field(wallConfig, "deSP")->text(), QStringLiteral("250"));
  EXPECT_TRUE(answers.errors.isEmpty());
}

TEST_F(DialogsTest, SIProjectsShowStoredValuesAndUnitsReloadOpenDialogs) {
  Data().FreeHeight = 240;
  Data().SurchargePressure = 1;
  auto* wallConfig = Open<ui::TDlgWallConfig>(TDialogKind::WallConfig);
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  // What the main window does after Options > Units.
  Data().SetUnits(2);
  dialogs.ReloadAll();
  // 240 in = 6.096 m; 1 lb/in^2 = 6.8948 kN/m^2: SI values are shown as
  // the project holds them.
  EXPECT_NEAR(Field(wallConfig, "deHL")->Number(), 6.096, 1e-12);
  EXPECT_NEAR(Data().SurchargePressure, 6.8948, 1e-4);
  EXPECT_NEAR(Field(wallConfig, "deSP")->Number(), Data().SurchargePressure, 1e-12);
  EXPECT_EQ(Field(wallConfig, "deHL")->EditLabel()->text(),
            QStringLiteral("&Free Height of Wall, H (m)"));
  EXPECT_EQ(Field(wallConfig, "deSP")->EditLabel()->text(),
            QStringLiteral("Uniform Distributed Load at the top of backfill side  (kN/m^2)"));
  EXPECT_EQ(Field(prop, "deXGS")->EditLabel()->text(), QStringLiteral("Increment Length (m)"));
  EXPECT_EQ(Field(prop, "deXGS")->Units(), 2);

  Type(Field(prop, "DeFH"), QStringLiteral("7"));
  ActivateOther();
  EXPECT_EQ(Data().FreeHeight, 7);
}

TEST_F(DialogsTest, FieldsRefuseValuesOutsideTheirLimits) {
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  Type(Field(prop, "deNI"), QStringLiteral("0"));
  QTest::keyClick(Field(prop, "deNI"), Qt::Key_Return);
  Type(Field(prop, "deNI"), QStringLiteral("301"));
  QTest::keyClick(Field(prop, "deNI"), Qt::Key_Return);
  EXPECT_EQ(answers.errors, (QStringList{QStringLiteral("Entry must be greater than or equal to 1"),
                                         QStringLiteral("Entry must be less than or equal to 300")}));
  EXPECT_EQ(Field(prop, "deNI")->text(), QStringLiteral("300"));

  auto* wallConfig = Open<ui::TDlgWallConfig>(TDialogKind::WallConfig);
  Type(Field(wallConfig, "beta"), QStringLiteral("46"));
  QTest::keyClick(Field(wallConfig, "beta"), Qt::Key_Return);
  EXPECT_EQ(answers.errors.back(), QStringLiteral("Entry must be less than or equal to 45"));
  Type(Field(wallConfig, "deWp"), QStringLiteral("121"));
  QTest::keyClick(Field(wallConfig, "deWp"), Qt::Key_Return);
  EXPECT_EQ(answers.errors.back(), QStringLiteral("Entry must be less than or equal to 120"));
  ActivateOther();
  EXPECT_EQ(Data().IncrementCount, 300);
  EXPECT_EQ(Data().BackfillSlope, 45);
  EXPECT_EQ(Data().ResistanceWidth, 120);
}

TEST_F(DialogsTest, InvalidEntryKeepsTheDialogActiveAndStoresNothing) {
  Data().IncrementLength = 6;
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  Type(Field(prop, "DeFH"), QStringLiteral("30"));
  Field(prop, "deXGS")->setFocus();
  Type(Field(prop, "deXGS"), QStringLiteral("6*"));
  ActivateOther();
  // One box, and the dialog is back with the focus in the field and the
  // text as typed.
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors.front().startsWith(QStringLiteral("Entry could not be evaluated:")));
  EXPECT_EQ(area->activeSubWindow(), WindowOf(prop));
  EXPECT_EQ(QApplication::focusWidget(), Field(prop, "deXGS"));
  EXPECT_EQ(Field(prop, "deXGS")->text(), QStringLiteral("6*"));
  EXPECT_EQ(Data().IncrementLength, 6);
  EXPECT_EQ(Data().FreeHeight, 0);
  EXPECT_FALSE(Data().Modified);

  // Corrected, the whole dialog is stored.
  Type(Field(prop, "deXGS"), QStringLiteral("6*2"));
  ActivateOther();
  EXPECT_EQ(Data().IncrementLength, 12);
  EXPECT_EQ(Data().FreeHeight, 360);
  EXPECT_EQ(answers.errors.size(), 1);
}

TEST_F(DialogsTest, CloseIsRefusedWhileTheFocusedFieldIsInvalid) {
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  Type(Field(prop, "deSlope"), QStringLiteral("1e-3/"));
  EXPECT_FALSE(WindowOf(prop)->close());
  ProcessEvents();
  EXPECT_EQ(answers.errors.size(), 1);
  EXPECT_EQ(dialogs.Dialog(TDialogKind::Prop), prop);
  EXPECT_EQ(QApplication::focusWidget(), Field(prop, "deSlope"));

  Type(Field(prop, "deSlope"), QStringLiteral("1e-3/2"));
  EXPECT_TRUE(WindowOf(prop)->close());
  ProcessEvents();
  EXPECT_EQ(dialogs.Dialog(TDialogKind::Prop), nullptr);
  EXPECT_DOUBLE_EQ(Data().DeflectionTolerance, 0.0005);
  EXPECT_TRUE(Data().Modified);
}

TEST_F(DialogsTest, EveryEntryIsCheckedAfterARefusedOneAndEveryRefusalSaysWhy) {
  // Real boxes: each takes the activation from the main window while open.
  TUserPrompts boxes = answers.Make();
  boxes.showError = [this](QWidget* parent, const QString& text) {
    answers.errors << text;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    QTimer::singleShot(0, &box, &QMessageBox::accept);
    box.exec();
  };
  ui::TPromptsOverride realBoxes{boxes};
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  const auto typeAndLeave = [](TDataEdit* field, const QString& text) {
    Type(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    ProcessEvents();
  };
  typeAndLeave(Field(prop, "deNI"), QStringLiteral("0"));
  typeAndLeave(Field(prop, "deNI"), QStringLiteral("301"));
  EXPECT_EQ(Field(prop, "deNI")->text(), QStringLiteral("300"));
  typeAndLeave(Field(prop, "DeFH"), QStringLiteral("abc"));
  typeAndLeave(Field(prop, "DeFH"), QStringLiteral("def"));
  EXPECT_EQ(answers.errors.size(), 4);
  EXPECT_EQ(QApplication::focusWidget(), Field(prop, "DeFH"));

  // Closing over the invalid entry is refused, with its reason, each time.
  EXPECT_FALSE(WindowOf(prop)->close());
  ProcessEvents();
  EXPECT_FALSE(WindowOf(prop)->close());
  ProcessEvents();
  ASSERT_EQ(answers.errors.size(), 6);
  EXPECT_TRUE(answers.errors.back().startsWith(QStringLiteral("Entry could not be evaluated:")));
  EXPECT_EQ(Data().FreeHeight, 0);

  Type(Field(prop, "DeFH"), QStringLiteral("15"));
  EXPECT_TRUE(WindowOf(prop)->close());
  EXPECT_EQ(Data().IncrementCount, 300);
  EXPECT_EQ(Data().FreeHeight, 180);
}

TEST_F(DialogsTest, AnEditedFieldIsCheckedOnStoreEvenWithoutTheFocus) {
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  Type(Field(prop, "DeFH"), QStringLiteral("12"));
  // Text that reached the field while the focus was elsewhere.
  Field(prop, "deNI")->setText(QStringLiteral("2.5"));
  ActivateOther();
  ASSERT_EQ(answers.errors, QStringList{QStringLiteral("Entry must be an integer.")});
  EXPECT_EQ(area->activeSubWindow(), WindowOf(prop));
  EXPECT_EQ(QApplication::focusWidget(), Field(prop, "deNI"));
  EXPECT_EQ(Data().FreeHeight, 0);
}

TEST_F(DialogsTest, UntouchedDialogsStoreNothing) {
  // Values with no short binary form come back exactly as they were.
  Data().IncrementCount = 40;
  Data().IncrementLength = 0.1;
  Data().FreeHeight = 1;
  Data().SurchargePressure = 0.3;
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  EXPECT_EQ(Field(prop, "deSlope")->text(), QStringLiteral("0.00001"));
  EXPECT_EQ(Field(prop, "deXGS")->text(), QStringLiteral("0.1"));
  Open<ui::TDlgWallConfig>(TDialogKind::WallConfig);
  auto* title = Open<ui::TdlgTitle>(TDialogKind::Title);
  EXPECT_EQ(Child<QLineEdit>(title, "TitleMemo")->text(), QStringLiteral("New Wall"));
  EXPECT_TRUE(WindowOf(title)->close());
  EXPECT_TRUE(dialogs.StoreCurrent());
  ActivateOther();
  EXPECT_FALSE(Data().Modified);
  EXPECT_EQ(Data().ProjectTitle, "New Wall");
}

TEST_F(DialogsTest, TitleIsStoredWhenEditedAndHoldsOneLineOfEightyCharacters) {
  auto* title = Open<ui::TdlgTitle>(TDialogKind::Title);
  EXPECT_EQ(title->windowTitle(), QStringLiteral("Project Title"));
  Child<QLineEdit>(title, "TitleMemo")->setFocus();
  Child<QLineEdit>(title, "TitleMemo")->selectAll();
  QTest::keyClicks(Child<QLineEdit>(title, "TitleMemo"), QString(90, QLatin1Char('x')));
  QTest::keyClick(Child<QLineEdit>(title, "TitleMemo"), Qt::Key_Return);
  EXPECT_EQ(Child<QLineEdit>(title, "TitleMemo")->text(), QString(80, QLatin1Char('x')));
  EXPECT_TRUE(WindowOf(title)->close());
  EXPECT_EQ(Data().ProjectTitle, std::string(80, 'x'));
  EXPECT_TRUE(Data().Modified);
}

TEST_F(DialogsTest, IncrementsOutsideTheFieldLimitsArePulledInAndStored) {
  // A data file without increments; the field shows its minimum, and what
  // it shows is what the project then holds.
  Data().IncrementCount = 0;
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  EXPECT_EQ(Field(prop, "deNI")->text(), QStringLiteral("1"));
  ActivateOther();
  EXPECT_EQ(Data().IncrementCount, 1);
  EXPECT_TRUE(Data().Modified);
}

TEST_F(DialogsTest, OptionSwitchesEnableTheirTablesAndCloseThemWhenOff) {
  struct Case {
    TDialogKind kind;
    bool ui::TProgramData::* option;
    const char* check;
    const char* button;
    const char* table;
  };
  for (const Case& c : {Case{TDialogKind::ConLoads, &ui::TProgramData::UseConcentratedLoads, "ChkConLoads",
                             "btnConLoads", "BoundCond"},
                        Case{TDialogKind::Spring, &ui::TProgramData::UseSprings, "ChkSpring", "btnSpring",
                             "SoilStrength"}}) {
    SCOPED_TRACE(c.table);
    Data().*c.option = true;
    Data().Modified = false;
    shownTables.clear();
    closedTables.clear();
    ui::TDataDialog* dialog = Open<ui::TDataDialog>(c.kind);
    auto* check = dialog->findChild<QCheckBox*>(QLatin1String(c.check));
    auto* button = dialog->findChild<QPushButton*>(QLatin1String(c.button));
    ASSERT_TRUE(check && button);
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(shownTables, QStringList{QLatin1String(c.table)});

    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_FALSE(Data().*c.option);
    EXPECT_TRUE(Data().Modified);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(closedTables, QStringList{QLatin1String(c.table)});
    QTest::mouseClick(check, Qt::LeftButton);
    EXPECT_TRUE(Data().*c.option);
    EXPECT_TRUE(button->isEnabled());
  }
}

TEST_F(DialogsTest, ButtonsOpenTheirTables) {
  Data().UseSurcharge = true;  // the surcharge table's button follows its option
  auto* surcharge = Open<ui::TDlgSurcharge>(TDialogKind::Surcharge);
  EXPECT_EQ(surcharge->TableButton()->text(), QStringLiteral("&Edit Surcharge Loads"));
  QTest::mouseClick(surcharge->TableButton(), Qt::LeftButton);
  auto* prop = Open<ui::TDlgProp>(TDialogKind::Prop);
  QTest::mouseClick(Child<QPushButton>(prop, "btnSect"), Qt::LeftButton);
  EXPECT_EQ(shownTables, (QStringList{QStringLiteral("SurchargeTable"), QStringLiteral("PileSect")}));
}

TEST_F(DialogsTest, EachDialogIsCreatedOnceWithItsCaptionNamesAndPicture) {
  struct Case {
    TDialogKind kind;
    const char* caption;
    std::vector<const char*> components;
    std::vector<const char*> pictures;
  };
  const Case cases[] = {
      {TDialogKind::Title, "Project Title", {"TitleMemo"}, {}},
      {TDialogKind::Prop,
       "Wall Properties",
       {"deNI", "btnSect", "deXGS", "DeFH", "deXLN", "deSlope"},
       {}},
      {TDialogKind::WallConfig,
       "Wall Configuration",
       {"grpCirc", "deHL", "deWidth", "deWp", "deHW", "DeHW2", "deGw", "beta", "deSP"},
       {"imgSection", "imgPlan"}},
      {TDialogKind::Surcharge, "Additional Surcharge", {"btnSurcharge"}, {"imgSurcharge"}},
      {TDialogKind::ConLoads,
       "Concentrated Loads",
       {"ChkConLoads", "btnConLoads"},
       {"imgConLoads"}},
      {TDialogKind::Spring,
       "Lateral & Rotational Springs",
       {"ChkSpring", "btnSpring"},
       {"imgSpring"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    ui::TDataDialog* dialog = Open<ui::TDataDialog>(c.kind);
    EXPECT_EQ(dialogs.Show(c.kind), dialog);  // reused while open
    EXPECT_EQ(WindowOf(dialog)->windowTitle(), QLatin1String(c.caption));
    for (const char* name : c.components) EXPECT_NE(dialog->findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
    for (const char* name : c.pictures) {
      auto* picture = dialog->findChild<QLabel*>(QLatin1String(name));
      ASSERT_NE(picture, nullptr) << name;
      EXPECT_FALSE(picture->pixmap().isNull()) << name;
    }
  }
  EXPECT_EQ(dialogs.Count(), 6);
  dialogs.DiscardAll();
  ProcessEvents();
  EXPECT_EQ(dialogs.Count(), 0);
}

TEST(DialogPictures, OwnDecoderGivesThePictureQtsReaderGives) {
  // Without Qt's image plug-in the dialogs fall back on our libjpeg
  // decoder: its pixels must land in the right rows and colours.
  for (const char* name : {"WallSection.jpg", "WallPlan.jpg", "Surcharge.jpg", "ConcentratedLoads.jpg", "Springs.jpg"}) {
    SCOPED_TRACE(name);
    QFile file(ui::PictureResourcePath(QLatin1String(name)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QImage own = ui::DecodePictureBytes(file.readAll());
    ASSERT_FALSE(own.isNull());
    const QImage qt = QImage(ui::PictureResourcePath(QLatin1String(name))).convertToFormat(QImage::Format_RGB888);
    if (qt.isNull()) continue;  // no plug-in here: nothing to compare with
    ASSERT_EQ(own.size(), qt.size());
    int worst = 0;
    for (int y = 0; y < qt.height(); y += 7)
      for (int x = 0; x < qt.width(); x += 5) {
        const QRgb a = own.pixel(x, y);
        const QRgb b = qt.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
      }
    EXPECT_LE(worst, 4);
  }
  EXPECT_TRUE(ui::DecodePictureBytes(QByteArray("not a picture")).isNull());
}

TEST_F(DialogsTest, Screenshots) {
  const QString folder = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures of the dialogs";
  const std::pair<TDialogKind, const char*> kinds[] = {
      {TDialogKind::Title, "title"},       {TDialogKind::Prop, "prop"},
      {TDialogKind::WallConfig, "csd"},    {TDialogKind::Surcharge, "rebar"},
      {TDialogKind::ConLoads, "conloads"}, {TDialogKind::Spring, "spring"}};
  for (const auto& [kind, name] : kinds) {
    QWidget* dialog = dialogs.Show(kind);
    ProcessEvents();
    EXPECT_TRUE(WindowOf(dialog)->grab().save(folder + QStringLiteral("/%1.png").arg(QLatin1String(name))));
  }
  EXPECT_TRUE(window.grab().save(folder + QStringLiteral("/all.png")));
}

}  // namespace
}  // namespace terraq::test
