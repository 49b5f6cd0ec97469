#include "scenario/ScenarioRunner.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <stdexcept>

#include "scenario/Dump.h"
#include "scenario/FieldTable.h"
#include "scenario/ProcedureTable.h"
#include "scenario/ScriptLine.h"
#include "shell/platform/Compositor.h"
#include "shell/platform/Png.h"

namespace quibbix {

namespace {

// A line the runner cannot run: exit status 2.
struct BadLine : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A line that ran but failed: a file, or an expectation that does not hold. Exit status 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

template <typename T>
T Number(const std::string& word) {
    T value{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc{} || end != word.data() + word.size()) {
        throw BadLine("bad argument: " + word);
    }
    return value;
}

float RandomValue(const std::string& word) {
    char* end = nullptr;
    const float value = std::strtof(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !(value >= 0.0f && value < 1.0f)) {
        throw BadLine("bad random value (0 <= R < 1): " + word);
    }
    return value;
}

void RequireWords(const std::vector<std::string>& words, std::size_t least, std::size_t most) {
    if (words.size() < least || words.size() > most) {
        throw BadLine("wrong number of arguments for " + words[0]);
    }
}

bool IsInspection(const std::string& command) {
    return command == "dump" || command == "shot" || command == "sprite" || command.starts_with("expect");
}

// The dump's top-level keys; anything else in an expectation names a field or a control.
bool IsDumpKey(std::string_view key) {
    for (const char* top : {"fields", "timer", "window", "controls", "focus", "cursor", "sounds", "store",
                            "ended", "clock_ms"}) {
        if (key == top) {
            return true;
        }
    }
    return false;
}

// Two values match when their text is the same, or when both are the same number.
bool Matches(const Json& actual, const std::string& expected) {
    if (actual.IsString()) {
        return actual.String() == expected;
    }
    const std::string text = actual.Text();
    if (text == expected) {
        return true;
    }
    char* end = nullptr;
    const double wanted = std::strtod(expected.c_str(), &end);
    return !expected.empty() && *end == '\0' && std::strtod(text.c_str(), nullptr) == wanted &&
           text.find_first_not_of("-+.0123456789eE") == std::string::npos;
}

}  // namespace

ScenarioRunner::ScenarioRunner(const Options& options, std::ostream& out)
    : platform_(options.settingsFile, options.programDir), out_(out) {}

ScenarioRunner::~ScenarioRunner() = default;

int ScenarioRunner::Run(std::istream& script, std::ostream& err) {
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        try {
            const Words words = SplitWords(line);
            if (words.empty() || words[0].starts_with("#")) {
                continue;
            }
            Execute(words);
        } catch (const Failure& failure) {
            err << "LINE " << number << ": " << failure.what() << '\n';
            return 1;
        } catch (const std::exception& bad) {
            err << "LINE " << number << ": " << bad.what() << '\n';
            return 2;
        }
    }
    return 0;
}

FrmMain& ScenarioRunner::Form() {
    return *form_;
}

void ScenarioRunner::Execute(const Words& words) {
    const std::string& command = words[0];
    if (command == "seed") {
        RequireWords(words, 2, 2);
        platform_.Rng().Seed(Number<std::uint32_t>(words[1]));
        return;
    }
    if (command == "random") {
        for (std::size_t i = 1; i < words.size(); ++i) {
            platform_.Rng().Queue(RandomValue(words[i]));
        }
        return;
    }
    if (command == "start") {
        RequireWords(words, 1, 1);
        if (form_) {
            throw BadLine("the form is loaded already");
        }
        Start();
        return;
    }
    if (!form_) {
        throw BadLine(command + " needs start first");
    }
    if (platform_.Window().Ended() && !IsInspection(command)) {
        throw BadLine(command + " after the program ended");
    }

    if (command == "move" || command == "press" || command == "release") {
        Pointer(words);
    } else if (command == "click") {
        Click(words);
    } else if (command == "key") {
        RequireWords(words, 2, 2);
        Form().KeyPressed(Number<std::int16_t>(words[1]));
    } else if (command == "type") {
        RequireWords(words, 2, 2);
        for (const char c : words[1]) {
            Form().KeyPressed(static_cast<std::int16_t>(static_cast<unsigned char>(c)));
        }
    } else if (command == "tick") {
        Tick(words);
    } else if (command == "wait") {
        Wait(words);
    } else if (command == "minimize" || command == "restore") {
        RequireWords(words, 1, 1);
        const int state = command == "minimize" ? 1 : 0;
        Form().WindowStateChanged(state);
    } else if (command == "away") {
        // The window lost the keyboard or was minimised from outside the game.
        RequireWords(words, 1, 1);
        Form().PlayerAway();
    } else if (command == "close") {
        RequireWords(words, 1, 1);
        Form().CloseRequested();
    } else if (command == "set") {
        Set(words);
    } else if (command == "call") {
        Call(words);
    } else if (command == "dump") {
        RequireWords(words, 1, 1);
        out_ << DumpState(Form(), platform_).Text() << '\n';
    } else if (command == "shot") {
        Shot(words);
    } else if (command == "sprite") {
        Sprite(words);
    } else if (command == "expect") {
        Expect(words);
    } else if (command == "expect-control") {
        ExpectControl(words);
    } else if (command == "expect-pixel") {
        ExpectPixel(words);
    } else if (command == "expect-sprite") {
        ExpectSprite(words);
    } else {
        throw BadLine("unknown command: " + command);
    }
}

void ScenarioRunner::Start() {
    form_ = std::make_unique<FrmMain>(platform_.Services());
    form_->Load();
}

void ScenarioRunner::Pointer(const Words& words) {
    const std::string& command = words[0];
    RequireWords(words, 3, command == "move" ? 3 : 4);
    const int x = Number<int>(words[1]);
    const int y = Number<int>(words[2]);
    const std::int16_t button = words.size() == 4 ? Number<std::int16_t>(words[3]) : kLeftButton;
    if (command != "move" && button != kLeftButton && button != kRightButton && button != kMiddleButton) {
        throw BadLine("bad button: " + words[3]);
    }
    if (command == "move") {
        Form().PointerMoved(x, y, buttonsDown_);
    } else if (command == "press") {
        buttonsDown_ = static_cast<std::int16_t>(buttonsDown_ | button);
        Form().ButtonPressed(x, y, button);
    } else {
        buttonsDown_ = static_cast<std::int16_t>(buttonsDown_ & ~button);
        Form().ButtonReleased(x, y, button);
    }
}

Control& ScenarioRunner::VisibleControl(const std::string& name) {
    for (Control* control : Form().Controls()) {
        if (control->Name() == name) {
            if (!control->Visible()) {
                throw BadLine("control is not visible: " + name);
            }
            return *control;
        }
    }
    throw BadLine("unknown control: " + name);
}

void ScenarioRunner::Click(const Words& words) {
    RequireWords(words, 2, 3);
    int x = 0;
    int y = 0;
    if (words.size() == 3) {
        x = Number<int>(words[1]);
        y = Number<int>(words[2]);
    } else {
        const RectPx bounds = VisibleControl(words[1]).Bounds();
        x = bounds.left + bounds.Width() / 2;
        y = bounds.top + bounds.Height() / 2;
    }
    Form().ButtonPressed(x, y, kLeftButton);
    Form().ButtonReleased(x, y, kLeftButton);
}

void ScenarioRunner::Tick(const Words& words) {
    RequireWords(words, 1, 2);
    const long count = words.size() == 2 ? Number<long>(words[1]) : 1;
    for (long i = 0; i < count; ++i) {
        const std::optional<std::int64_t> due = Form().Timer1.NextDue();
        if (!due || platform_.Window().Ended()) {
            return;
        }
        platform_.Clock().Set(std::max(*due, platform_.Clock().NowMs()));
        Form().Timer1.Fire();
    }
}

void ScenarioRunner::Wait(const Words& words) {
    RequireWords(words, 2, 2);
    const std::int64_t until = platform_.Clock().NowMs() + Number<std::int64_t>(words[1]);
    while (!platform_.Window().Ended()) {
        const std::optional<std::int64_t> due = Form().Timer1.NextDue();
        if (!due || *due > until) {
            break;
        }
        platform_.Clock().Set(std::max(*due, platform_.Clock().NowMs()));
        Form().Timer1.Fire();
    }
    platform_.Clock().Set(std::max(until, platform_.Clock().NowMs()));
}

void ScenarioRunner::Set(const Words& words) {
    RequireWords(words, 3, 3);
    const IndexedName target = SplitIndex(words[1]);
    const Field* field = FindField(target.name);
    if (field == nullptr) {
        throw BadLine("unknown field: " + target.name);
    }
    field->set(Form(), target.index, words[2]);
}

void ScenarioRunner::Call(const Words& words) {
    RequireWords(words, 2, 10);
    const Procedure* procedure = FindProcedure(words[1]);
    if (procedure == nullptr) {
        throw BadLine("unknown procedure: " + words[1]);
    }
    if (words.size() - 2 != procedure->arity) {
        throw BadLine(words[1] + " takes " + std::to_string(procedure->arity) + " argument(s)");
    }
    std::vector<std::int64_t> arguments;
    for (std::size_t i = 2; i < words.size(); ++i) {
        arguments.push_back(Number<std::int64_t>(words[i]));
    }
    if (const std::optional<std::int64_t> result = procedure->run(Form(), arguments)) {
        out_ << "= " << *result << '\n';
    }
}

Image ScenarioRunner::Frame() {
    Image frame(Form().Bounds().Width(), Form().Bounds().Height());
    Compose(Form(), frame, frame.Bounds());
    return frame;
}

void ScenarioRunner::Shot(const Words& words) {
    RequireWords(words, 2, 2);
    if (!WritePng(words[1], Frame())) {
        throw Failure("cannot write " + words[1]);
    }
}

PictureRef ScenarioRunner::FindPicture(const std::string& name) {
    if (PictureRef found = Form().frmGraphics.Find(name)) {
        return found;
    }
    for (const Control* control : Form().Controls()) {
        if (control->Picture() != nullptr && control->Picture()->Name() == name) {
            return control->Picture();
        }
    }
    throw BadLine("unknown picture: " + name);
}

void ScenarioRunner::Sprite(const Words& words) {
    RequireWords(words, 3, 3);
    if (!WritePng(words[2], FindPicture(words[1])->Image())) {
        throw Failure("cannot write " + words[2]);
    }
}

void ScenarioRunner::Expect(const Words& words) {
    RequireWords(words, 3, 3);
    const std::string& path = words[1];
    const Json dump = DumpState(Form(), platform_);

    // The first part of the path is a key of the dump, a field ("BallX(3)") or a control ("pctNew").
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot - start));
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    std::vector<std::string> keys;
    if (IsDumpKey(parts[0])) {
        keys = parts;
    } else if (const IndexedName field = SplitIndex(parts[0]); FindField(field.name) != nullptr) {
        keys = {"fields", field.name};
        for (const int index : field.index) {
            keys.push_back(std::to_string(index));
        }
        keys.insert(keys.end(), parts.begin() + 1, parts.end());
    } else {
        keys = {"controls"};
        keys.insert(keys.end(), parts.begin(), parts.end());
    }

    // A last key "length" asks for the number of entries of what the keys before it lead to.
    const bool length = keys.back() == "length";
    if (length) {
        keys.pop_back();
    }
    const Json* value = &dump;
    for (const std::string& key : keys) {
        value = value->Find(key);
        if (value == nullptr) {
            throw BadLine("nothing at " + path);
        }
    }
    const Json actual = length ? Json(static_cast<std::int64_t>(value->Size())) : *value;
    if (!Matches(actual, words[2])) {
        throw Failure(path + " is " + actual.Text() + ", expected " + words[2]);
    }
}

void ScenarioRunner::ExpectControl(const Words& words) {
    RequireWords(words, 8, 8);
    const std::string& name = words[1];
    for (const Control* control : Form().Controls()) {
        if (control->Name() != name) {
            continue;
        }
        const RectPx b = control->Bounds();
        const std::string actual = std::string(control->Visible() ? "shown" : "hidden") + " " +
                                   std::to_string(b.left) + " " + std::to_string(b.top) + " " +
                                   std::to_string(b.Width()) + " " + std::to_string(b.Height()) + " " +
                                   (control->Picture() ? control->Picture()->Name() : "\"\"");
        const std::string wanted = words[2] + " " + words[3] + " " + words[4] + " " + words[5] + " " +
                                   words[6] + " " + (words[7].empty() ? "\"\"" : words[7]);
        if (actual != wanted) {
            throw Failure(name + " is " + actual + ", expected " + wanted);
        }
        return;
    }
    throw BadLine("unknown control: " + name);
}

void ScenarioRunner::ExpectPixel(const Words& words) {
    RequireWords(words, 4, 4);
    const int x = Number<int>(words[1]);
    const int y = Number<int>(words[2]);
    std::uint32_t wanted = 0;
    const std::string& hex = words[3];
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), wanted, 16);
    if (hex.size() != 6 || error != std::errc{} || end != hex.data() + hex.size()) {
        throw BadLine("bad colour (RRGGBB): " + hex);
    }
    const Image frame = Frame();
    if (!frame.Bounds().Contains(x, y)) {
        throw BadLine("point outside the window");
    }
    const std::uint32_t actual = frame.At(x, y) & 0xFFFFFFu;
    if (actual != wanted) {
        char text[8];
        std::snprintf(text, sizeof text, "%06X", actual);
        throw Failure("pixel (" + words[1] + ", " + words[2] + ") is " + text + ", expected " + hex);
    }
}

void ScenarioRunner::ExpectSprite(const Words& words) {
    RequireWords(words, 4, 4);
    const PictureRef sprite = FindPicture(words[1]);
    const int left = Number<int>(words[2]);
    const int top = Number<int>(words[3]);
    const Image frame = Frame();
    const Image& image = sprite->Image();
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const int wx = left + x;
            const int wy = top + y;
            if (!frame.Bounds().Contains(wx, wy) ||
                (frame.At(wx, wy) & 0xFFFFFFu) != (image.At(x, y) & 0xFFFFFFu)) {
                throw Failure(words[1] + " differs at sprite pixel (" + std::to_string(x) + ", " +
                              std::to_string(y) + ")");
            }
        }
    }
}

}  // namespace quibbix
