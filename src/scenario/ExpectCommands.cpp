#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "scenario/BadLine.h"
#include "scenario/Commands.h"
#include "scenario/Dump.h"
#include "scenario/Failure.h"
#include "scenario/FieldTable.h"
#include "scenario/IndexedName.h"
#include "scenario/ScriptLine.h"
#include "shell/platform/DecimalText.h"

namespace quibbix::commands {

namespace {

// An expectation's message quotes two pieces of the line, each half an error line's share.
constexpr std::size_t kHalfQuote = kMaxQuotedBytes / 2;

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

bool IsNumber(const std::string& text, double& value) {
    const std::optional<ReadDecimal> number = ParseDecimal(text);
    if (!number || number->outOfRange) {
        return false;
    }
    value = number->value;
    return true;
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
    double wanted = 0;
    double have = 0;
    return IsNumber(expected, wanted) && IsNumber(text, have) && have == wanted &&
           text.find_first_not_of("-+.0123456789eE") == std::string::npos;
}

// The keys into the dump a path leads through. Its first part is a key of the dump, a field
// ("BallX(3)", whose index must fit the field) or a control ("pctNew").
std::vector<std::string> DumpKeys(const std::string& path) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot - start));
        if (dot == std::string::npos) {
            break;
        }
        start = dot + 1;
    }
    if (IsDumpKey(parts[0])) {
        return parts;
    }
    std::vector<std::string> keys;
    if (const IndexedName name = SplitIndex(parts[0]); const Field* field = FindField(name.name)) {
        if (!name.index.empty()) {
            field->CheckIndex(name.index);
        }
        keys = {"fields", name.name};
        for (const int index : name.index) {
            keys.push_back(std::to_string(index));
        }
    } else {
        keys = {"controls", parts[0]};
    }
    keys.insert(keys.end(), parts.begin() + 1, parts.end());
    return keys;
}

}  // namespace

// expect PATH VALUE; a last key "length" asks for the number of entries of what PATH leads to.
void Expect(ScenarioSession& session, const Words& words) {
    RequireWords(words, 3, 3);
    const std::string& path = words[1];
    const Json dump = DumpState(session.Form(), session.Platform());
    std::vector<std::string> keys = DumpKeys(path);
    const bool length = keys.back() == "length";
    if (length) {
        keys.pop_back();
    }
    const Json* value = &dump;
    for (const std::string& key : keys) {
        value = value->Find(key);
        if (value == nullptr) {
            throw BadLine("nothing at " + Quoted(path));
        }
    }
    const Json actual = length ? Json(static_cast<std::int64_t>(value->Size())) : *value;
    if (!Matches(actual, words[2])) {
        throw Failure(Quoted(path, kHalfQuote) + " is " + Quoted(actual.Text()) + ", expected " +
                      Quoted(words[2], kHalfQuote));
    }
}

// expect-control NAME shown|hidden LEFT TOP WIDTH HEIGHT PICTURE.
void ExpectControl(ScenarioSession& session, const Words& words) {
    RequireWords(words, 8, 8);
    const std::string& name = words[1];
    for (const Control* control : session.Form().Controls()) {
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
            throw Failure(name + " is " + actual + ", expected " + Quoted(wanted));
        }
        return;
    }
    throw BadLine("unknown control: " + Quoted(name));
}

// expect-pixel X Y RRGGBB: the window's pixel as the player sees it.
void ExpectPixel(ScenarioSession& session, const Words& words) {
    RequireWords(words, 4, 4);
    const int x = Coordinate(words[1]);
    const int y = Coordinate(words[2]);
    std::uint32_t wanted = 0;
    const std::string& hex = words[3];
    const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), wanted, 16);
    if (hex.size() != 6 || error != std::errc{} || end != hex.data() + hex.size()) {
        throw BadLine("bad colour (RRGGBB): " + Quoted(hex));
    }
    const Image frame = session.Frame();
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

// expect-sprite PICTURE X Y: the window shows the picture with its top-left at (X, Y).
void ExpectSprite(ScenarioSession& session, const Words& words) {
    RequireWords(words, 4, 4);
    const PictureRef sprite = session.FindPicture(words[1]);
    const int left = Coordinate(words[2]);
    const int top = Coordinate(words[3]);
    const Image frame = session.Frame();
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

}  // namespace quibbix::commands
