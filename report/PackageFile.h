#pragma once
// Making the calculation package of a data file and writing it: what the
// terraq command's report and the program's Export Calculation Report share.
// The data file is analysed in memory (the engine in this process, the same
// code the engine library runs), so every number of the package is the
// analysis' own; the package is written whole or not at all.

#include <filesystem>
#include <optional>
#include <string>

#include "DocumentPdf.h"
#include "PackageContents.h"

namespace terraq::report {

enum class PackageForm { Pdf, Html };

// The form told by the file name's extension: ".pdf", ".html" or ".htm" in
// any case; nothing for any other.
std::optional<PackageForm> PackageFormFor(const std::filesystem::path& file);

// The input of a package: `dataText` (the data file's text as read) analysed
// with its report text, dated today, by this version of the program, and
// checked with the section the project beside `dataFile` remembers.
PackageInput AnalysedPackageInput(const std::filesystem::path& dataFile, std::string dataText);

// The design record of the project's members with the set of partial
// factors it names; none without a record.
std::optional<PackageInput::DesignChoice> PackageDesignChoice(const ui::ProjectMembers& members,
                                                              const ui::MembersFault& fault);

// The package's file content in the form. Needs a QGuiApplication.
std::string PackageBytes(const Document& document, PackageForm form, Paper paper);

// Writes `bytes` to `file` atomically: the earlier file stays whole when the
// write fails. Returns an empty string, or the reason ("cannot write FILE:
// No space left on device").
std::string WritePackageFile(const std::filesystem::path& file, const std::string& bytes);

}  // namespace terraq::report
