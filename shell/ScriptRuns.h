#pragma once

#include "shell/CommandLine.h"

// What the command line runs for build scripts, without a window: the level
// text of a map file, and the map file made from the own_map section of a
// level text. The result goes to standard output, or to the -o file, replaced
// in one step as the editor saves a map. A refusal is one line on standard
// error, "gridforge: FILE: reason" (with the line and column of a level text
// after FILE), in English and Japanese, and nothing is written.
class ScriptRuns {
public:
    // Both return the exit status: 0 done, 1 refused or not written.
    static int WriteLevelText(const CommandLine& commandLine);
    static int WriteMapFromLevelText(const CommandLine& commandLine);
};
