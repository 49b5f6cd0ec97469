#include <ostream>

#include "scenario/BadLine.h"
#include "scenario/Commands.h"
#include "scenario/FieldTable.h"
#include "scenario/IndexedName.h"
#include "scenario/ProcedureTable.h"
#include "scenario/ScriptLine.h"

namespace quibbix::commands {

// seed N: the generator starts from the 32-bit N instead of the clock.
void Seed(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 2);
    session.Platform().Rng().Seed(static_cast<std::uint32_t>(WholeNumber("seed", words[1], 0, UINT32_MAX)));
}

// random R1 R2 ...: values every draw takes before the generator's own.
void QueueRandom(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, kMaxRandomValues + 1);
    std::vector<float> values;
    for (std::size_t i = 1; i < words.size(); ++i) {
        values.push_back(RandomValue(words[i]));
    }
    Random& random = session.Platform().Rng();
    if (random.Queued() + values.size() > kMaxQueuedRandomValues) {
        throw BadLine("more than " + std::to_string(kMaxQueuedRandomValues) + " random values queued");
    }
    for (const float value : values) {
        random.Queue(value);
    }
}

void Start(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, 1);
    if (session.Started()) {
        throw BadLine("the form is loaded already");
    }
    session.Start();
}

// set FIELD VALUE, set FIELD(I) VALUE, set FIELD(R,C) VALUE.
void Set(ScenarioSession& session, const Words& words) {
    RequireWords(words, 3, 3);
    const IndexedName target = SplitIndex(words[1]);
    const Field* field = FindField(target.name);
    if (field == nullptr) {
        throw BadLine("unknown field: " + Quoted(target.name));
    }
    field->Assign(session.Form(), target.index, words[2]);
}

// call PROC [ARG ...]: every argument is checked against what the procedure can take before the
// call; a result is printed as "= VALUE".
void Call(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 10);
    const Procedure* procedure = FindProcedure(words[1]);
    if (procedure == nullptr) {
        throw BadLine("unknown procedure: " + Quoted(words[1]));
    }
    const std::size_t arity = procedure->arguments.size();
    if (words.size() - 2 != arity) {
        throw BadLine(std::string(procedure->name) + " takes " + std::to_string(arity) + " argument(s)");
    }
    std::vector<std::int64_t> arguments;
    for (std::size_t i = 0; i < arity; ++i) {
        const Procedure::ArgumentRange range = procedure->arguments[i];
        arguments.push_back(WholeNumber(std::string(procedure->name) + " argument " + std::to_string(i + 1),
                                        words[i + 2], range.low, range.high));
    }
    if (const std::optional<std::int64_t> result = procedure->run(session.Form(), arguments)) {
        session.Out() << "= " << *result << '\n';
    }
}

}  // namespace quibbix::commands
