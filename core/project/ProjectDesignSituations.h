#pragma once
// The design situations of the interactive program: which sets of partial
// factors the Design Situations window offers, how an edit turns a shipped
// set into the project's own, and keeping the choice in the project file
// beside the data file when the project is saved (FactorSetsMember.h holds
// the member itself). The analyses are those of the command
// (design/DesignSituations.h).
//
// Thread safety: pure functions on values and files.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/FactorSetsMember.h"

namespace terraq::ui {

// The sets a project can choose from: the shipped ones in their order, the
// static then the seismic (a project's set of the same name in place of
// one: a seismic set with the site's kh and kv), then the project's own.
std::vector<design::FactorSet> OfferedFactorSets(const std::vector<design::FactorSet>& projectSets);

// True when `name` is a shipped set's (ignoring case).
bool IsShippedSetName(std::string_view name);

// Keeps `set` among the project's own sets: in place of one of its name
// (ignoring case), else added. A shipped set edited is kept so, and from
// then on replaces the shipped values in this project.
void KeepProjectSet(std::vector<design::FactorSet>& projectSets, const design::FactorSet& set);

// Removes the project's set `name` and, unless a shipped set still answers
// to the name, its place among the chosen.
void RemoveProjectSet(DesignSituationsChoice& choice, const std::string& name);

// A name for a new set of the project that no set has yet: "Own set N".
std::string NewSetName(const std::vector<design::FactorSet>& projectSets);

// The units code of a data text (1 English, 2 SI; 0 when it cannot be read).
int DataTextUnits(std::string_view dataText);

// The choice of a project whose units system changed from `fromUnits` to
// `toUnits`: its minimum surcharge, a pressure of the data file, converts
// as the data file's pressures do (between English and SI only).
DesignSituationsChoice SituationsInUnits(DesignSituationsChoice choice, int fromUnits, int toUnits);

// Keeps `choice` in the project file beside `dataFile` (its other members
// as they were). A project without design situations writes no file, and
// removes the member from a file that has one. A project file that cannot
// be read is never written over: false with `error` saying so, as for a
// file that cannot be written.
bool SaveProjectDesignSituations(const std::filesystem::path& dataFile,
                                 const std::optional<DesignSituationsChoice>& choice,
                                 std::string& error);

}  // namespace terraq::ui
