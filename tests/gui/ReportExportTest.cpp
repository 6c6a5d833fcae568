// File > Export Calculation Report: the project is saved, its package made
// and previewed, and Save writes it as PDF or HTML; a file that cannot be
// written is said and loses nothing.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save a
// picture of the preview there.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>

#include "MainFormFixture.h"
#include "dialogs/TReportPreview.h"

namespace terraq::test {
namespace {

class ReportExportTest : public MainFormTest {
 protected:
  // Opens the preview on the sample and hands it to `use`.
  void Export(const std::function<void(ui::TReportPreview&)>& use) {
    form.StartUp({});
    ASSERT_TRUE(
        form.OpenFile(QString::fromStdString(
                          CopySample("wall.tq4d", "examples/anchored-wall-tieback.tq4d").string()),
                      ui::kLayoutCurrent));
    ui::TUserPrompts scripted = ui::TUserPrompts::Current();
    bool shown = false;
    scripted.runDialog = [&](QDialog& dialog) {
      auto* preview = qobject_cast<ui::TReportPreview*>(&dialog);
      EXPECT_TRUE(preview);
      if (preview) use(*preview);
      shown = true;
      return int(QDialog::Rejected);
    };
    ui::TPromptsOverride inPlace(scripted);
    Trigger("FileExportReport");
    EXPECT_TRUE(shown);
  }
  // Save answers the file dialog with `name` of type `type` (0 PDF, 1 HTML).
  static void Answer(const QString& name, int type) {
    ui::TUserPrompts::Current().saveFileNameOfType =
        [name, type](QWidget*, const QString&, const QString&, const QString&, int& index) {
          index = type;
          return name;
        };
  }
};

TEST_F(ReportExportTest, SavesThePackageAsPdfAndHtmlAndKeepsAFileItCannotReplace) {
  const QString base = QString::fromStdString((folder / "calc").string());
  Export([&](ui::TReportPreview& preview) {
    EXPECT_EQ(preview.savedFile(), QString());
    Answer(base, 0);  // no extension: the type chosen gives it
    EXPECT_TRUE(preview.SaveClick());
    Answer(base + QStringLiteral(".html"), 1);
    EXPECT_TRUE(preview.SaveClick());
    // A package over a folder of that name cannot be written: said, and
    // nothing is reported as saved.
    std::filesystem::create_directory(folder / "taken.pdf");
    answers.yesNo = true;  // replace it
    Answer(QString::fromStdString((folder / "taken.pdf").string()), 0);
    EXPECT_FALSE(preview.SaveClick());
  });
  EXPECT_EQ(ReadText(folder / "calc.pdf").substr(0, 5), "%PDF-");
  const std::string html = ReadText(folder / "calc.html");
  EXPECT_NE(html.find("<svg"), std::string::npos);
  EXPECT_NE(html.find("Anchored sheet-pile wall"), std::string::npos);
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors.front().contains(QStringLiteral("taken.pdf")))
      << answers.errors.front().toStdString();
}

TEST_F(ReportExportTest, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save a picture";
  Export([&](ui::TReportPreview& preview) {
    preview.show();
    for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
    EXPECT_TRUE(preview.grab().save(shots + QStringLiteral("/report-preview.png")));
  });
}

}  // namespace
}  // namespace terraq::test
