// The Design window's Ground tab on the main window's project: basal heave
// of the soft-clay cantilever's cut in the lines terraq design prints for
// the same project, the width typed into the tab going into the project's
// member and the factor made again, and a project without the member
// left as it was.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save
// pictures of the tab at a laptop's size and a large one there.

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTabWidget>
#include <cstdio>

#include "MainFormFixture.h"
#include "design/TDesignForm.h"
#include "widgets/ScrollingPanel.h"

namespace terraq::test {
namespace {

std::string Four(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

class DesignGround : public MainFormTest {
 protected:
  // The sample `name` of examples/ as wall.tq4d, with `project` (JSON
  // members after "version") as its project file when given, opened in the
  // main window and designed in its Design window.
  ui::TDesignForm* Designed(const std::string& name, const std::string& project) {
    data = CopySample("wall.tq4d", "examples/" + name);
    if (!project.empty())
      WriteText(folder / "wall.terraq.json",
                R"({"format": "terraq-project", "version": 1, )" + project + "}");
    form.StartUp({});
    if (!form.OpenFile(QString::fromStdString(data.string()), ui::kLayoutCurrent)) return nullptr;
    Trigger("DesignWall");
    auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("DesignWindow"));
    auto* design = window ? qobject_cast<ui::TDesignForm*>(window->widget()) : nullptr;
    if (design) design->Design();
    // Design keeps its choices, the design record, which marks the project
    // changed: the tab's own changes are looked for from here.
    form.Data().Modified = false;
    return design;
  }
  // terraq design on the project, its text.
  std::string Command() {
    QProcess terraq;
    terraq.start(QStringLiteral(TERRAQ_BIN_DIR "/terraq"),
                 {QStringLiteral("design"), QString::fromStdString(data.string())});
    EXPECT_TRUE(terraq.waitForFinished(60000));
    EXPECT_EQ(terraq.exitCode(), 0) << terraq.readAllStandardError().toStdString();
    return terraq.readAllStandardOutput().toStdString();
  }
  std::filesystem::path data;
};

// Sand of 0.069444 lb/in3 down to the excavation level H = 96 in over soft
// clay of su = 3.4722 psi: Bjerrum and Eide's Nc = 0.84 times 7.7 at
// H/B = 1 on a long cut, and 8.4 at H/B = 2; no side shear in sand.
TEST_F(DesignGround, HeaveIsTheCommandsAndFollowsTheWidthTyped) {
  ui::TDesignForm* design = Designed("cantilever-soft-clay-generated.tq4d",
                                     R"("excavation": {"units": {"length": "in"}, "width": 96})");
  ASSERT_TRUE(design && design->Shown());
  ui::TDesignGroundPanel* ground = design->GroundPanel();
  const double su = 3.4722222, load = 0.069444444 * 96;
  const QString heave = QString::fromStdString("Bjerrum & Eide (Nc = " + Four(0.84 * 7.7) +
                                               "): F = " + Four(0.84 * 7.7 * su / load));
  EXPECT_TRUE(ground->ResultsText().contains(heave)) << ground->ResultsText().toStdString();
  // One vocabulary: every line of the tab is a line of terraq design. The
  // overall stability's circle passes below the tip the window designed
  // with its own factors, so its line is compared up to the tip.
  const std::string command = Command();
  const QString overall =
      QStringLiteral("   overall stability (Bishop's critical circle below the tip at ");
  for (QString line : ground->ResultsText().split(QLatin1Char('\n'))) {
    if (line.startsWith(overall)) line = overall;
    EXPECT_NE(command.find(line.toStdString()), std::string::npos) << line.toStdString();
  }
  EXPECT_TRUE(ground->FailingLines().isEmpty());
  EXPECT_FALSE(form.Data().IsModified());

  Child<QDoubleSpinBox>(ground, "edExcavationWidth")->setValue(48);
  EXPECT_TRUE(ground->ResultsText().contains(QString::fromStdString(
      "Bjerrum & Eide (Nc = " + Four(0.84 * 8.4) + "): F = " + Four(0.84 * 8.4 * su / load))))
      << ground->ResultsText().toStdString();
  ASSERT_TRUE(form.Project().Members().excavation);
  EXPECT_EQ(form.Project().Members().excavation->width, 48);
  EXPECT_TRUE(form.Data().IsModified());
  // A length shorter than the width is refused and not kept.
  Child<QDoubleSpinBox>(ground, "edExcavationLength")->setValue(20);
  EXPECT_TRUE(ground->NoteText().startsWith(QStringLiteral("Not kept:")));
  EXPECT_EQ(form.Project().Members().excavation->length, 0);
  form.Data().Modified = false;
}

TEST_F(DesignGround, ProjectWithoutThePlanShowsAHintAndWritesNothing) {
  ui::TDesignForm* design = Designed("cantilever-sand-generated.tq4d", {});
  ASSERT_TRUE(design && design->Shown());
  ui::TDesignGroundPanel* ground = design->GroundPanel();
  EXPECT_TRUE(ground->ResultsText().isEmpty());
  EXPECT_TRUE(ground->NoteText().contains(QStringLiteral("no plan of the cut")));
  EXPECT_EQ(Child<QDoubleSpinBox>(ground, "edExcavationWidth")->value(), 0);
  // Passing through the empty fields keeps no plan.
  emit Child<QLineEdit>(ground, "edAnchorBond")->editingFinished();
  EXPECT_FALSE(form.Project().Members().excavation);
  EXPECT_FALSE(form.Data().IsModified());
  EXPECT_FALSE(std::filesystem::exists(folder / "wall.terraq.json"));
}

// The anchored sequence with its anchors designed and a deep slip plane,
// on the Ground tab at a laptop's screen and at a large one.
TEST_F(DesignGround, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  std::string members = ReadText(SourcePath("examples/sequential-excavation-anchor.terraq.json"));
  members = members.substr(members.find("\"sequential\""));
  members.erase(members.rfind('}'));
  form.setGeometry(0, 0, 1366, 768);
  form.show();
  ui::TDesignForm* design = Designed(
      "sequential-excavation-anchor.tq4d",
      members + R"(, "excavation": {"units": {"length": "m"}, "width": 10, "anchorBond": [6]},
          "anchors": {"units": {"length": "m", "force": "kN"}, "transferRates": [120]})");
  ASSERT_TRUE(design);
  design->ResultTabs()->setCurrentWidget(design->GroundPanel());
  for (const QSize screen : {QSize(1366, 768), QSize(1920, 1200)}) {
    form.resize(screen);
    ProcessEvents();
    // The window as the main window opens it on that screen.
    ui::FitSubWindow(form.MdiArea().activeSubWindow(), &form.MdiArea());
    ProcessEvents();
    EXPECT_TRUE(
        form.grab().save(shots + QStringLiteral("/design-ground-%1.png").arg(screen.width())));
  }
  form.Data().Modified = false;
}

}  // namespace
}  // namespace terraq::test
