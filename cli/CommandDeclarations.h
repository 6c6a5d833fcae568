#pragma once
// Every terraq command's options, declared once: the parser reads them, the
// help is made from them (CommandOptions.h).

#include <span>

#include "CommandOptions.h"

namespace terraq::cli {

extern const CommandDeclaration kRunCommand;
extern const CommandDeclaration kConvertCommand;
extern const CommandDeclaration kPlotCommand;
extern const CommandDeclaration kDesignCommand;
extern const CommandDeclaration kReportCommand;
extern const CommandDeclaration kStudyCommand;
extern const CommandDeclaration kStudyMergeCommand;
extern const CommandDeclaration kSectionsCommand;

// All of them, in the order terraq --help tells them.
std::span<const CommandDeclaration* const> AllCommands();

}  // namespace terraq::cli
