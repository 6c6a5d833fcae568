#pragma once
// The apparent-pressure design in the calculation package and the Design
// window: the figure of the envelope with the support levels (one paint
// routine for the screen, the PDF and the HTML), and the design chapter
// when the design kept with the project is the apparent-pressure one.
//
// Units: the data file's, every axis and column naming its unit.

#include <string>
#include <vector>

#include "ApparentPressureDesign.h"
#include "Document.h"
#include "PackageContents.h"

namespace terraq::report {

// The envelope of `design` against depth from the top of the wall to the
// excavation level, the soil's part dashed under it where a surcharge adds
// to it, and a line at each support level and at the excavation level.
// A design without an envelope draws its error in the frame.
Figure ApparentEnvelopeFigure(const design::ApparentDesign& design, const std::string& caption);

namespace detail {

// The design chapter of a project whose design record holds the
// apparent-pressure choices (choice.record.apparent): the choices, each
// problem's envelope (its published source, inputs and figure) and its
// support loads by tributary areas and by hinges, and the notes.
void AppendApparentDesign(const std::string& dataText, const PackageInput::DesignChoice& choice,
                          const std::vector<std::string>& names, std::vector<Block>& blocks);

}  // namespace detail

}  // namespace terraq::report
