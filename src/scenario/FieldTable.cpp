#include "scenario/FieldTable.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace quibbix {

namespace {

template <typename T>
Json ToJson(const T& value) {
    if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, double>) {
        return Json(value);
    } else {
        return Json(static_cast<std::int64_t>(value));
    }
}

template <typename T>
T Parse(const std::string& text) {
    if constexpr (std::is_same_v<T, std::string>) {
        return text;
    } else if constexpr (std::is_same_v<T, double>) {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0') {
            throw std::invalid_argument("not a number: " + text);
        }
        return value;
    } else {
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size() ||
            value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
            throw std::invalid_argument("not a whole number of the field's width: " + text);
        }
        return static_cast<T>(value);
    }
}

void RequireIndexCount(std::span<const int> index, std::size_t count) {
    if (index.size() != count) {
        throw std::invalid_argument(count == 0 ? "the field takes no index"
                                               : "the field takes " + std::to_string(count) + " index(es)");
    }
}

std::size_t CheckedIndex(int index, std::size_t size) {
    if (index < 0 || static_cast<std::size_t>(index) >= size) {
        throw std::invalid_argument("index out of range: " + std::to_string(index));
    }
    return static_cast<std::size_t>(index);
}

template <typename Owner, typename T>
Field Scalar(const char* name, T Owner::*member) {
    return {name, [member](const FrmMain& form) { return ToJson(form.*member); },
            [member](FrmMain& form, std::span<const int> index, const std::string& value) {
                RequireIndexCount(index, 0);
                form.*member = Parse<T>(value);
            }};
}

// An array field; `counted` limits the dump to the valid entries of the shape list.
template <typename Owner, typename T, std::size_t N>
Field Array(const char* name, std::array<T, N> Owner::*member, std::int16_t GameFields::*counted = nullptr) {
    return {name,
            [member, counted](const FrmMain& form) {
                const std::size_t count =
                    counted == nullptr ? N : static_cast<std::size_t>(std::clamp<int>(form.*counted, 0, N));
                Json::Array entries;
                for (std::size_t i = 0; i < count; ++i) {
                    entries.push_back(ToJson((form.*member)[i]));
                }
                return Json(std::move(entries));
            },
            [member](FrmMain& form, std::span<const int> index, const std::string& value) {
                RequireIndexCount(index, 1);
                (form.*member)[CheckedIndex(index[0], N)] = Parse<T>(value);
            }};
}

Field Table(const char* name, CellTable HighScoreFields::*member) {
    return {name,
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
                RequireIndexCount(index, 2);
                auto& row = (form.*member)[CheckedIndex(index[0], 11)];
                row[CheckedIndex(index[1], 9)] = Parse<std::int16_t>(value);
            }};
}

}  // namespace

const std::vector<Field>& MainFormFields() {
    static const std::vector<Field> fields = {
        Scalar("Score", &GameFields::Score),
        Scalar("Level", &GameFields::Level),
        Scalar("TimeLeft", &GameFields::TimeLeft),
        Scalar("LevelTime", &GameFields::LevelTime),
        Scalar("LastBall", &GameFields::LastBall),
        Scalar("BallsRemaining", &GameFields::BallsRemaining),
        Scalar("BallQuota", &GameFields::BallQuota),
        Scalar("BallSpeed", &GameFields::BallSpeed),
        Scalar("GameActive", &GameFields::GameActive),
        Scalar("PointerX", &GameFields::PointerX),
        Scalar("PointerY", &GameFields::PointerY),
        Scalar("MaskCount", &GameFields::MaskCount),
        Scalar("NewEntryRank", &HighScoreFields::NewEntryRank),
        Scalar("NameEntryActive", &HighScoreFields::NameEntryActive),
        Scalar("EntryColumn", &HighScoreFields::EntryColumn),
        Array("BallX", &GameFields::BallX),
        Array("BallY", &GameFields::BallY),
        Array("BallDX", &GameFields::BallDX),
        Array("BallDY", &GameFields::BallDY),
        Array("BallType", &GameFields::BallType),
        Array("BallActive", &GameFields::BallActive),
        Array("MaskX", &GameFields::MaskX, &GameFields::MaskCount),
        Array("MaskY", &GameFields::MaskY, &GameFields::MaskCount),
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
