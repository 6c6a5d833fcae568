#pragma once
// The ground anchors of terraq design (design/AnchorChecks.h): the options
// that give the ground's inputs (--anchor-rate, --anchor-fs,
// --anchor-test-factor, --anchor-lock-off, --tendons; --spacing and
// --inclination for anchors whose design gives neither) over the project's
// member "anchors", and each anchor as text and as JSON, in the data
// file's units. Without the options and the member no anchor is designed
// and the command's outputs are what they were.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AnchorChecks.h"
#include "CommandOptions.h"

namespace terraq::cli {

// Whether `name` is one of the anchor design's options (--spacing and
// --inclination aside, which the apparent-pressure design shares).
bool IsAnchorOption(std::string_view name);

// The anchor options given, in order.
struct AnchorOptions {
  std::vector<GivenOption> given;
  bool any() const { return !given.empty(); }
};

// Takes `option` when it is the anchor design's; the exit status when its
// value is refused (a rate list that is not numbers, a tendon kind that is
// not one).
std::optional<int> TakeAnchorOption(const GivenOption& option, AnchorOptions& options, bool& taken);

// The inputs of the anchor design: the project's member with the options
// given over it, the options alone without a member (then --anchor-rate is
// needed); none when neither asks for anchors. Nullopt with `error` when
// the options without a member give no rate.
std::optional<design::AnchorInputs> AnchorInputsOf(
    const AnchorOptions& options, const std::optional<design::AnchorInputs>& member,
    std::string& error);

// The anchor design as lines of the design's text, three spaces in.
std::string AnchorsText(const design::AnchorChecks& checks);
// ",\n   \"anchorDesign\": {...}" for a problem's JSON object.
std::string AnchorsJson(const design::AnchorChecks& checks, const design::AnchorInputs& inputs);
// "terraq: WHERE: anchor A1 could not be designed: WHY" lines for standard
// error; empty when every anchor was designed.
std::string AnchorRefusals(const design::AnchorChecks& checks, const std::string& where);

}  // namespace terraq::cli
