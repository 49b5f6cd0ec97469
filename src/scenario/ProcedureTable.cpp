#include "scenario/ProcedureTable.h"

#include "scenario/FieldTable.h"
#include "scores/HighScoreFields.h"

namespace quibbix {

namespace {

constexpr Procedure::ArgumentRange kSlot{0, kLastSlot};
constexpr Procedure::ArgumentRange kRow{0, kRanks};
constexpr Procedure::ArgumentRange kBallPosition{-kMaxBallPosition, kMaxBallPosition};

// A procedure without arguments or result.
Procedure Plain(std::string_view name, void (FrmMain::*procedure)()) {
    return {
        name, {}, [procedure](FrmMain& form, std::span<const std::int64_t>) -> std::optional<std::int64_t> {
            (form.*procedure)();
            return std::nullopt;
        }};
}

}  // namespace

const std::vector<Procedure>& MainFormProcedures() {
    static const std::vector<Procedure> procedures = {
        Plain("Form_Load", &FrmMain::Form_Load),
        Plain("UpdateScore", &FrmMain::UpdateScore),
        Plain("UpdateLevel", &FrmMain::UpdateLevel),
        Plain("UpdateTimeLeft", &FrmMain::UpdateTimeLeft),
        Plain("UpdateRemaining", &FrmMain::UpdateRemaining),
        Plain("LoadSettings", &FrmMain::LoadSettings),
        Plain("SaveSettings", &FrmMain::SaveSettings),
        Plain("Timer1_Timer", &FrmMain::Timer1_Timer),
        Plain("BallHandler", &FrmMain::BallHandler),
        Plain("GameOver", &FrmMain::GameOver),
        Plain("ClearHighScores", &FrmMain::ClearHighScores),
        Plain("HideMainScreen", &FrmMain::HideMainScreen),
        Plain("ShowMainScreen", &FrmMain::ShowMainScreen),
        Plain("ShowHighScores", &FrmMain::ShowHighScores),
        Plain("StartNameEntry", &FrmMain::StartNameEntry),
        Plain("DrawCursor", &FrmMain::DrawCursor),
        Plain("EraseCursor", &FrmMain::EraseCursor),
        Plain("Terminate", &FrmMain::Terminate),
        Plain("PauseKey", &FrmMain::PauseKey),
        Plain("QuitKey", &FrmMain::QuitKey),
        Plain("PlayerAway", &FrmMain::PlayerAway),
        {"PlaceBall",
         {kSlot},
         [](FrmMain& form, std::span<const std::int64_t> args) -> std::optional<std::int64_t> {
             form.PlaceBall(static_cast<std::int16_t>(args[0]));
             return std::nullopt;
         }},
        {"BallOverlap",
         {kBallPosition, kBallPosition},
         [](FrmMain& form, std::span<const std::int64_t> args) -> std::optional<std::int64_t> {
             return form.BallOverlap(static_cast<std::int32_t>(args[0]), static_cast<std::int32_t>(args[1]));
         }},
        {"BlankNameRow",
         {kRow},
         [](FrmMain& form, std::span<const std::int64_t> args) -> std::optional<std::int64_t> {
             form.BlankNameRow(static_cast<std::int16_t>(args[0]));
             return std::nullopt;
         }},
    };
    return procedures;
}

const Procedure* FindProcedure(std::string_view name) {
    for (const Procedure& procedure : MainFormProcedures()) {
        if (procedure.name == name) {
            return &procedure;
        }
    }
    return nullptr;
}

}  // namespace quibbix
