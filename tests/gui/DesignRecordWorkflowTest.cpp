// The design as made, from the Design window to the calculation package:
// a design at F = 1.5 on the soil's strength applied on the sample's 6 in
// increments, the record kept with the project and given back to the
// window, and the package saved as HTML stating the factor, the tip the
// design asks for, the submitted wall's tip and the verdict, the engineer
// and the revision on its title page.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <cmath>
#include <cstdio>
#include <regex>

#include "MainFormFixture.h"
#include "design/TDesignForm.h"
#include "dialogs/TReportPreview.h"

namespace terraq::test {
namespace {

std::string Digits4(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

class DesignRecordWorkflow : public MainFormTest {
 protected:
  ui::TDesignForm* OpenDesign() {
    Trigger("DesignWall");
    auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("DesignWindow"));
    return window ? qobject_cast<ui::TDesignForm*>(window->widget()) : nullptr;
  }
  static void Type(ui::TDesignForm* design, const char* field, const QString& text) {
    auto* edit = Child<QLineEdit>(design, field);
    edit->setText(text);
    edit->setModified(true);
    emit edit->editingFinished();
  }
};

TEST_F(DesignRecordWorkflow, TheFactorAndTheAppliedWallReachThePackageWithTheVerdict) {
  form.StartUp({});
  const std::filesystem::path data =
      CopySample("wall.tq4d", "examples/cantilever-sand-generated.tq4d");
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), ui::kLayoutCurrent));
  ui::TDesignForm* design = OpenDesign();
  ASSERT_TRUE(design);
  design->FsMethodBox()->setCurrentIndex(0);  // on the soil's strength
  design->FsBox()->setValue(1.5);
  design->Design();
  ASSERT_TRUE(design->Shown() && !design->Shown()->le.error);
  const double asked = design->Shown()->le.tipDepth;
  design->KeepBox()->setCurrentIndex(2);  // whole 6 in increments, at least as deep
  ASSERT_TRUE(design->Apply());
  Type(design, "edEngineer", QStringLiteral("R. Eng."));
  Type(design, "edRevision", QStringLiteral("B"));
  const double submitted = 6.0 * std::ceil(asked / 6.0);
  ASSERT_NEAR(form.Data().IncrementCount * form.Data().IncrementLength, submitted, 1e-9);
  ASSERT_TRUE(form.FileSave());

  // Opened again, the window shows the choices of the last design.
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), ui::kLayoutCurrent));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the window closed
  design = OpenDesign();
  ASSERT_TRUE(design);
  EXPECT_EQ(design->FsBox()->value(), 1.5);
  EXPECT_EQ(design->FsMethodBox()->currentIndex(), 0);
  EXPECT_EQ(Child<QLineEdit>(design, "edEngineer")->text(), QStringLiteral("R. Eng."));

  const QString html = QString::fromStdString((folder / "calc.html").string());
  ui::TUserPrompts scripted = ui::TUserPrompts::Current();
  scripted.runDialog = [&](QDialog& dialog) {
    auto* preview = qobject_cast<ui::TReportPreview*>(&dialog);
    ui::TUserPrompts::Current().saveFileNameOfType =
        [html](QWidget*, const QString&, const QString&, const QString&, int& index) {
          index = 1;
          return html;
        };
    EXPECT_TRUE(preview && preview->SaveClick());
    return int(QDialog::Rejected);
  };
  {
    ui::TPromptsOverride inPlace(scripted);
    Trigger("FileExportReport");
  }
  // The page's text: a decimal column sets a number in two spans.
  const std::string page =
      std::regex_replace(ReadText(folder / "calc.html"), std::regex("<[^>]*>"), "");
  auto has = [&](const std::string& text) {
    EXPECT_NE(page.find(text), std::string::npos) << text;
  };
  has("factor of safety F = 1.5 on the soil&#39;s strength");
  has("Tip depth the design asks forH + D" + Digits4(asked) + "in");
  has("Tip depth of the submitted wallL" + Digits4(submitted) + "in");
  has("holds: " + Digits4(submitted - asked) + " in deeper than asked");
  has("R. Eng.");
  has("RevisionB");
}

}  // namespace
}  // namespace terraq::test
