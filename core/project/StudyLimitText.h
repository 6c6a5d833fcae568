#pragma once
// The limit states of a probabilistic study in words and numbers: what
// terraq study prints and what the Study window shows come from here, so
// that both say the same thing with the same digits (four significant,
// design/FourDigits.h).
//
// A sampling study gives each limit state's failures and probability with
// its 95 % interval and beta, and with two limit states or more the
// system's (a sample fails when any of them fails). FORM gives each limit
// state's own index at its own design point, and no probability of the
// system.
//
// Units: those of the data file (project/StudyUnits.h). Thread safety: pure
// functions.

#include <string>
#include <vector>

#include "StudyForm.h"
#include "StudySampling.h"

namespace terraq::ui {

// A table as rows of cells, its heading first.
using TextRows = std::vector<std::vector<std::string>>;

// A sampling study's limit states: limit state, failures ("3 of 200"),
// probability, 95 % interval ("LOW to HIGH"), beta; a heading alone
// without limit states.
TextRows SamplingLimitRows(const design::SamplingResult& result);

// The system's row in the cells of SamplingLimitRows, its first "system";
// empty without a system (fewer than two limit states).
std::vector<std::string> SamplingSystemRow(const design::SamplingResult& result);
// What the system is, after its name.
inline constexpr const char* kSystemMeaning = "a sample fails when any limit state fails";
// The system as a line: "system (a sample fails ...): F of N, probability
// P (LOW to HIGH), beta B" with no line end; empty without a system.
std::string SamplingSystemLine(const design::SamplingResult& result);

// FORM on one limit state in words.
struct FormModeWords {
  std::string convergence;  // "Converged in 5 iterations (44 analyses)"
  std::string beta, probability;
  std::string index;  // "beta B, probability of failure P"
  // parameter, design point, unit, importance; a row per random parameter.
  TextRows designPoint;
};
FormModeWords FormModeText(const design::FormResult& result, const std::vector<std::string>& names,
                           int unitsCode);

// Why several FORM limit states give no probability of the system (no
// full stop at its end).
inline constexpr const char* kFormNoSystem =
    "FORM gives no probability of the system: each index is that of its own limit state at its "
    "own design point; sampling (mc, lhs) gives the system's";

}  // namespace terraq::ui
