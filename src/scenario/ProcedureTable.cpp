#include "scenario/ProcedureTable.h"

#include <vector>

namespace quibbix {

namespace {

// A procedure without arguments or result.
Procedure Plain(std::string_view name, void (FrmMain::*procedure)()) {
    return {name, 0,
            [procedure](FrmMain& form, std::span<const std::int64_t>) -> std::optional<std::int64_t> {
                (form.*procedure)();
                return std::nullopt;
            }};
}

const std::vector<Procedure>& Procedures() {
    static const std::vector<Procedure> procedures = {
        Plain("Form_Load", &FrmMain::Form_Load),
        Plain("UpdateScore", &FrmMain::UpdateScore),
        Plain("UpdateLevel", &FrmMain::UpdateLevel),
        Plain("UpdateTimeLeft", &FrmMain::UpdateTimeLeft),
        Plain("UpdateRemaining", &FrmMain::UpdateRemaining),
        Plain("LoadSettings", &FrmMain::LoadSettings),
        Plain("SaveSettings", &FrmMain::SaveSettings),
    };
    return procedures;
}

}  // namespace

const Procedure* FindProcedure(std::string_view name) {
    for (const Procedure& procedure : Procedures()) {
        if (procedure.name == name) {
            return &procedure;
        }
    }
    return nullptr;
}

}  // namespace quibbix
