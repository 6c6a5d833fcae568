// The documents as the Help menu opens them: every link and picture of the
// help pages is there, the manuals are PDF files a reader can extract text
// from, and the verification chapter prints what the engine computes today.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "EngineRun.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

const fs::path kDocs = TERRAQ_DOC_DIR;

// Standard output of a shell command ("" when it cannot be run).
std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

std::string PdfText(const fs::path& pdf) { return CommandOutput("pdftotext -q '" + pdf.string() + "' -"); }

// Does an HTML page carry the anchor "#part" names ("part" without the '#')?
bool HasAnchor(const std::string& html, const std::string& part) {
  return html.find("name=\"" + part + "\"") != std::string::npos || html.find("id=\"" + part + "\"") != std::string::npos;
}

TEST(Docs, EveryLinkAndPictureOfTheHelpPagesResolves) {
  const fs::path help = kDocs / "help";
  ASSERT_TRUE(fs::is_regular_file(help / "index.html"));
  const std::regex reference(R"re((href|src)="([^"#]*)(#[^"]*)?")re");
  int pages = 0, checked = 0, anchors = 0;
  for (const auto& entry : fs::directory_iterator(help)) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    const std::string html = ReadTextFile(entry.path().string());
    for (std::sregex_iterator it(html.begin(), html.end(), reference), end; it != end; ++it) {
      const std::string target = (*it)[2];
      const std::string part = (*it)[3].length() > 1 ? (*it)[3].str().substr(1) : "";
      if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) continue;
      if (target.empty() && part.empty()) continue;
      ++checked;
      const fs::path page = target.empty() ? entry.path() : help / target;
      EXPECT_TRUE(fs::is_regular_file(page)) << entry.path().filename() << " -> " << target;
      if (part.empty() || !fs::is_regular_file(page)) continue;
      ++anchors;
      EXPECT_TRUE(HasAnchor(ReadTextFile(page.string()), part)) << entry.path().filename() << " -> " << target << "#" << part;
    }
  }
  // Every chapter of the contents has a page of its own: two sources of
  // one name (users/x.md, technical/x.md) would write one over the other.
  const std::string index = ReadTextFile((help / "index.html").string());
  const std::regex chapter(R"re(href="([^"#]+\.html)")re");
  std::set<std::string> chapters;
  for (std::sregex_iterator it(index.begin(), index.end(), chapter), end; it != end; ++it)
    EXPECT_TRUE(chapters.insert((*it)[1]).second) << (*it)[1] << " is the page of two chapters";
  EXPECT_GE(pages, 5);
  EXPECT_GE(checked, pages * 2);  // every page links to the contents and a neighbour
  EXPECT_GE(anchors, 1);          // the manuals link to parts of pages
}

TEST(Docs, TheManualsArePdfFilesWithTheirChapters) {
  const std::string users = PdfText(kDocs / "terraq-users-manual.pdf");
  const std::string technical = PdfText(kDocs / "terraq-technical-manual.pdf");
  ASSERT_FALSE(users.empty()) << "pdftotext could not read the user's manual";
  ASSERT_FALSE(technical.empty()) << "pdftotext could not read the technical manual";
  EXPECT_NE(users.find("The terraq command"), std::string::npos);
  // Every picture the user's manual refers to is printed in it: pdfimages
  // lists one line per picture after its two heading lines.
  const std::string pictures = CommandOutput("pdfimages -list '" + (kDocs / "terraq-users-manual.pdf").string() + "'");
  std::string pages;
  for (const auto& page : fs::directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / "docs/users"))
    if (page.path().extension() == ".md") pages += ReadTextFile(page.path().string());
  const auto lines = [](const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
  };
  EXPECT_EQ(lines(pictures, "\n") >= 2 ? lines(pictures, "\n") - 2 : 0, lines(pages, "](pictures/"));
  for (const char* chapter : {"The wall as a beam-column", "Generated earth pressure", "Soft clay (model 1)",
                              "Weak rock (model 7)", "Verification", "References"})
    EXPECT_NE(technical.find(chapter), std::string::npos) << chapter;
}

TEST(Docs, TheVerificationChapterPrintsTheNumbersTheEngineGivesNow) {
  // A fresh run of the cases gives the page the manual was built from...
  const fs::path fresh = fs::temp_directory_path() / ("terraq-verification-" + std::to_string(getpid()) + ".md");
  ASSERT_EQ(std::system(("'" + std::string(TERRAQ_DOC_VERIFICATION_TOOL) + "' '" + fresh.string() + "'").c_str()), 0);
  const std::string page = ReadTextFile(TERRAQ_DOC_VERIFICATION_PAGE);
  EXPECT_EQ(ReadTextFile(fresh.string()), page);
  fs::remove(fresh);

  // ...and the manual shows every value of its tables; TERRAQ agrees with
  // each reference, and the refined sheet pile with its finest solution,
  // within half a per cent.
  const std::string technical = PdfText(kDocs / "terraq-technical-manual.pdf");
  const auto cells = [](const std::string& line) {
    std::vector<std::string> out;
    for (size_t at = 1, bar; (bar = line.find(" |", at)) != std::string::npos; at = bar + 2)
      out.push_back(line.substr(at + 1, bar - at - 1));
    return out;
  };
  std::vector<std::string> header;
  int rows = 0, compared = 0;
  for (const std::string& line : SplitLines(page)) {
    if (line.rfind("|---", 0) == 0) continue;
    if (line.rfind("| ", 0) != 0) {
      header.clear();
      continue;
    }
    const std::vector<std::string> row = cells(line);
    if (header.empty()) {
      header = row;
      continue;
    }
    ASSERT_EQ(row.size(), header.size()) << line;
    ++rows;
    for (size_t column = 1; column < row.size(); ++column) {
      EXPECT_NE(technical.find(row[column]), std::string::npos) << line;
      // Differences from a reference or from the finest refinement.
      if (header[column].ends_with("(%)")) {
        EXPECT_LT(std::fabs(std::stod(row[column])), 0.5) << line;
      }
    }
    if (header.back() == "Difference (%)") ++compared;
  }
  EXPECT_GE(rows, 60);
  EXPECT_GE(compared, 55);
}

}  // namespace
}  // namespace terraq::test
