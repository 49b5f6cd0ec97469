#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"

namespace quibbix {

// Runs the game headless from a script on a virtual clock: one command a line.
class ScenarioRunner {
public:
    struct Options {
        std::string settingsFile;  // empty: the store lives in memory
        std::string programDir;
    };

    ScenarioRunner(const Options& options, std::ostream& out);
    ~ScenarioRunner();

    // Runs every line; 0 when all ran, 2 on a bad line, 1 on any other failure. What went wrong
    // goes to err as "LINE N: ...".
    int Run(std::istream& script, std::ostream& err);

private:
    using Words = std::vector<std::string>;

    void Execute(const Words& words);
    void Start();
    void Pointer(const Words& words);
    void Click(const Words& words);
    void Tick(const Words& words);
    void Wait(const Words& words);
    void Set(const Words& words);
    void Call(const Words& words);
    void Shot(const Words& words);
    void Sprite(const Words& words);
    void Expect(const Words& words);
    void ExpectControl(const Words& words);
    void ExpectPixel(const Words& words);
    void ExpectSprite(const Words& words);

    FrmMain& Form();
    Control& VisibleControl(const std::string& name);
    PictureRef FindPicture(const std::string& name);
    Image Frame();

    HeadlessPlatform platform_;
    std::unique_ptr<FrmMain> form_;
    std::ostream& out_;
    std::int16_t buttonsDown_ = 0;
};

}  // namespace quibbix
