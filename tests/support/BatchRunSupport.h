// The batch run as the program starts it, for tests that stand in for the settings window.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "BatchRun.h"

// The path the batch run is given for the program itself; no file lies there.
inline const std::string kProgram = "/usr/lib/velmora/velmora";

// The batch run over the program's path and the arguments: the failure's message, or "" when
// the run completed.
inline std::string RunOver(const std::vector<std::string>& arguments, const TCurrentSettings& settings,
                           bool paletteMode = false)
{
    std::vector<std::string> all{kProgram};
    all.insert(all.end(), arguments.begin(), arguments.end());
    try {
        RunBatch(all, settings, paletteMode);
    } catch (const std::exception& e) {  // the message is what the tests compare
        return e.what();
    }
    return "";
}
