#pragma once
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "shell/platform/Image.h"

namespace quibbix {

class ScenarioSession;

// Runs the game headless from a script on a virtual clock: one command a line.
class ScenarioRunner {
public:
    struct Options {
        std::string settingsFile;  // empty: the store lives in memory
        std::string programDir;
        using PictureWriter = std::function<bool(const std::string& file, const Image& image)>;
        // Where `shot` and `sprite` put their pictures; empty: PNG files.
        PictureWriter writePng;
    };

    ScenarioRunner(const Options& options, std::ostream& out);
    ~ScenarioRunner();

    // Runs every line; 0 when all ran, 2 on a bad line, 1 on any other failure. What went wrong
    // goes to err as one line "LINE N: ...", and nothing after that line runs.
    int Run(std::istream& script, std::ostream& err);

private:
    std::unique_ptr<ScenarioSession> session_;
};

}  // namespace quibbix
