#pragma once
// Save Graph and Print as a window offers them, for any graph: the save
// dialog with its file types (GraphSaveChoice.h), the question before a
// file is replaced, the size and colour dialog (TdlgFormat), then the
// picture drawn by the graph's own paint routine (GraphOutput.h); errors
// are shown to the user and leave any earlier file as it was. The plot
// windows and the Study window use these.

#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "GraphOutput.h"

class QPrinter;
class QWidget;

namespace terraq::ui {

// Writes the graph to the file chosen; returns "" or the reason it was not.
using TGraphFileWriter = std::function<std::string(
    const std::filesystem::path& file, TGraphFileFormat format, const TGraphImageSize& size)>;

// Asks for the file (offering `caption` as its name, as a PNG), its size and
// colours, and writes it with `write`. False when cancelled or it failed
// (the reason shown).
bool SaveGraphCommand(QWidget* parent, const std::string& caption, const TGraphFileWriter& write);

// Asks for the printer and prints with `print`; false when cancelled or the
// printer cannot be drawn on (said to the user). The margins reach the page
// once, through the print routine: the printer's own page layout is left
// without any.
bool PrintGraphCommand(QWidget* parent, QPrinter& printer,
                       const std::function<bool(QPrinter&)>& print);

}  // namespace terraq::ui
