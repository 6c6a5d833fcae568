// The anchor names the help pages give their headings, which links
// "page.md#part" written by hand must match.

#include <gtest/gtest.h>

#include "MarkdownSource.h"

namespace terraq::docs {
namespace {

TEST(HeadingAnchor, KeepsLettersDigitsAndHyphensAndJoinsWordsWithHyphens) {
  EXPECT_EQ(HeadingAnchor(QStringLiteral("Soft clay (model 1)")), QStringLiteral("soft-clay-model-1"));
  EXPECT_EQ(HeadingAnchor(QStringLiteral("p- and y-multipliers")), QStringLiteral("p--and-y-multipliers"));
  EXPECT_EQ(HeadingAnchor(QStringLiteral("  c-φ soil: Kₐ, y₅₀ ")), QStringLiteral("c-φ-soil-kₐ-y₅₀"));
}

}  // namespace
}  // namespace terraq::docs
