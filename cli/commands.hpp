// The makers of the commands, one per file; only cli/commands.cpp lists them.
#pragma once

#include <memory>

#include "cli/command.hpp"

namespace orvane::cli {

std::unique_ptr<Command> makeCheckCommand();
std::unique_ptr<Command> makeNewCommand();
std::unique_ptr<Command> makeBatchCommand();
std::unique_ptr<Command> makeSheetCommand();
std::unique_ptr<Command> makeSweepCommand();
std::unique_ptr<Command> makeOptimizeCommand();

}  // namespace orvane::cli
