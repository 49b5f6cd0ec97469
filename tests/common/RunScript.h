#pragma once
#include <sstream>
#include <string>

#include "scenario/ScenarioRunner.h"

namespace quibbix {

struct ScriptOutcome {
    int status;
    std::string out;
    std::string err;
};

// Runs a script on a fresh game, settings in memory, pictures through writePng or to PNG files.
inline ScriptOutcome RunScript(const std::string& script,
                               ScenarioRunner::Options::PictureWriter writePng = {}) {
    std::ostringstream out;
    std::ostringstream err;
    ScenarioRunner runner({"", "/opt/quibbix", std::move(writePng)}, out);
    std::istringstream in(script);
    const int status = runner.Run(in, err);
    return {status, out.str(), err.str()};
}

}  // namespace quibbix
