#include "scenario/FieldTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "scenario/BadLine.h"
#include "scenario/ScriptLine.h"
#include "scores/SpriteText.h"
#include "shell/platform/DecimalText.h"

namespace quibbix {

namespace {

// The values a field may be set to: what the game's own arithmetic and arrays can work with.
template <typename T>
struct Range {
    T low = std::numeric_limits<T>::lowest();
    T high = std::numeric_limits<T>::max();
};
template <>
struct Range<std::string> {};

constexpr Range<VbBool> kBoolean{kTrue, kFalse};
// A step of at most the field's width either way, so turning round never overflows.
constexpr Range<std::int16_t> kStep{-32767, 32767};
// A clock far beyond any level, yet a cleared level counts its seconds in a moment.
constexpr Range<double> kSeconds{-100'000, 100'000};

template <typename T>
Json ToJson(const T& value) {
    if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, double>) {
        return Json(value);
    } else {
        return Json(static_cast<std::int64_t>(value));
    }
}

template <typename T>
std::string Text(T value) {
    if constexpr (std::is_floating_point_v<T>) {
        return ShortestDecimal(value, true);
    } else {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }
}

template <typename T>
std::string RangeText(const Range<T>& range) {
    if constexpr (std::is_same_v<T, std::string>) {
        return "";
    } else {
        const Range<T> whole;
        if (range.low == whole.low && range.high == whole.high) {
            return "";
        }
        return Text(range.low) + ".." + Text(range.high);
    }
}

template <typename T>
[[noreturn]] void OutOfRange(const Range<T>& range, const std::string& text) {
    throw BadLine("out of the field's range " + RangeText(range) + ": " + Quoted(text));
}

template <typename T>
T Parse(const std::string& text, const Range<T>& range) {
    if constexpr (std::is_same_v<T, std::string>) {
        return text;
    } else if constexpr (std::is_same_v<T, double>) {
        const std::optional<ReadDecimal> number = ParseDecimal(text);
        if (!number) {
            throw BadLine("not a number: " + Quoted(text));
        }
        const double value = number->value;
        if (number->outOfRange || !std::isfinite(value) || value < range.low || value > range.high) {
            OutOfRange(range, text);
        }
        return value;
    } else {
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size() ||
            value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
            throw BadLine("not a whole number of the field's width: " + Quoted(text));
        }
        if (value < range.low || value > range.high) {
            OutOfRange(range, text);
        }
        return static_cast<T>(value);
    }
}

template <typename Owner, typename T>
Field Scalar(const char* name, T Owner::*member, Range<T> range = {}) {
    return {name,
            {},
            RangeText(range),
            [member](const FrmMain& form) { return ToJson(form.*member); },
            [member, range](FrmMain& form, std::span<const int>, const std::string& value) {
                form.*member = Parse<T>(value, range);
            }};
}

// An array field; `counted` limits the dump to the valid entries of the shape list.
template <typename Owner, typename T, std::size_t N>
Field Array(const char* name, std::array<T, N> Owner::*member, Range<T> range = {},
            std::int16_t GameFields::*counted = nullptr) {
    return {name,
            {static_cast<int>(N)},
            RangeText(range),
            [member, counted](const FrmMain& form) {
                const std::size_t count =
                    counted == nullptr ? N : static_cast<std::size_t>(std::clamp<int>(form.*counted, 0, N));
                Json::Array entries;
                for (std::size_t i = 0; i < count; ++i) {
                    entries.push_back(ToJson((form.*member)[i]));
                }
                return Json(std::move(entries));
            },
            [member, range](FrmMain& form, std::span<const int> index, const std::string& value) {
                (form.*member)[index[0]] = Parse<T>(value, range);
            }};
}

Field Table(const char* name, HighScoreFields::CellTable HighScoreFields::*member) {
    return {name,
            {kRanks + 1, kNameCells + 1},
            "",
            [member](const FrmMain& form) {
                Json::Array rows;
                for (const auto& row : form.*member) {
                    Json::Array cells;
                    for (const std::int16_t cell : row) {
                        cells.push_back(ToJson(cell));
                    }
                    rows.emplace_back(std::move(cells));
                }
                return Json(std::move(rows));
            },
            [member](FrmMain& form, std::span<const int> index, const std::string& value) {
                (form.*member)[index[0]][index[1]] = Parse<std::int16_t>(value, {});
            }};
}

}  // namespace

// The ranges keep every index the game takes from a field inside its array (LastBall, MaskCount,
// NewEntryRank, EntryColumn, BallType) and every sum it forms inside the field's width.
const std::vector<Field>& MainFormFields() {
    static const std::vector<Field> fields = {
        Scalar("Score", &GameFields::Score),
        Scalar("Level", &GameFields::Level),
        Scalar("TimeLeft", &GameFields::TimeLeft, kSeconds),
        Scalar("LevelTime", &GameFields::LevelTime, kSeconds),
        Scalar("LastBall", &GameFields::LastBall, {0, kLastSlot}),
        Scalar("BallsRemaining", &GameFields::BallsRemaining),
        // The next level's last slot is the quota rounded.
        Scalar("BallQuota", &GameFields::BallQuota, {0, kLastSlot}),
        Scalar("BallSpeed", &GameFields::BallSpeed, {0, 32767}),
        Scalar("GameActive", &GameFields::GameActive, kBoolean),
        Scalar("PointerX", &GameFields::PointerX),
        Scalar("PointerY", &GameFields::PointerY),
        Scalar("MaskCount", &GameFields::MaskCount, {0, kMaskEntries}),
        Scalar("NewEntryRank", &HighScoreFields::NewEntryRank, {0, kRanks}),
        Scalar("NameEntryActive", &HighScoreFields::NameEntryActive, kBoolean),
        Scalar("EntryColumn", &HighScoreFields::EntryColumn, {0, kNameCells}),
        Array("BallX", &GameFields::BallX, {-kMaxBallPosition, kMaxBallPosition}),
        Array("BallY", &GameFields::BallY, {-kMaxBallPosition, kMaxBallPosition}),
        Array("BallDX", &GameFields::BallDX, kStep),
        Array("BallDY", &GameFields::BallDY, kStep),
        Array("BallType", &GameFields::BallType, {kPlainBall, kBonusBall}),
        Array("BallActive", &GameFields::BallActive, kBoolean),
        // Offsets inside a ball's 32 x 32 cell.
        Array("MaskX", &GameFields::MaskX, {0, 31}, &GameFields::MaskCount),
        Array("MaskY", &GameFields::MaskY, {0, 31}, &GameFields::MaskCount),
        Array("HighScoreNames", &HighScoreFields::HighScoreNames),
        Array("HighScores", &HighScoreFields::HighScores),
        Table("NameCellX", &HighScoreFields::NameCellX),
        Table("NameCellY", &HighScoreFields::NameCellY),
        Table("ScoreCellX", &HighScoreFields::ScoreCellX),
        Table("ScoreCellY", &HighScoreFields::ScoreCellY),
    };
    return fields;
}

const Field* FindField(std::string_view name) {
    for (const Field& field : MainFormFields()) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace quibbix
