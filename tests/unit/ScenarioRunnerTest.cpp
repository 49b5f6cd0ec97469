#include <gtest/gtest.h>

#include <sstream>

#include "scenario/ScenarioRunner.h"

namespace quibbix {
namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome RunScript(const std::string& script) {
    std::ostringstream out;
    std::ostringstream err;
    ScenarioRunner runner({"", "/opt/quibbix", {}}, out);
    std::istringstream in(script);
    const int status = runner.Run(in, err);
    return {status, out.str(), err.str()};
}

TEST(ScenarioRunnerTest, BadLinesStopTheScriptWithStatusTwoAndTheirLineNumber) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"start\n\n# comment\nfly 1\ndump\n", "LINE 4: unknown command: fly"},
        {"start\nmove 1 x\n", "LINE 2: bad argument: x"},
        {"start\nclick pctOk\n", "LINE 2: control is not visible: pctOk"},
        {"start\nclick pctNothing\n", "LINE 2: unknown control: pctNothing"},
        {"dump\n", "LINE 1: dump needs start first"},
        {"start\nstart\n", "LINE 2: the form is loaded already"},
        {"random 1.0\n", "LINE 1: bad random value (0 <= R < 1): 1.0"},
        {"start\nset Nothing 1\n", "LINE 2: unknown field: Nothing"},
        {"start\nset BallX(101) 1\n", "LINE 2: index out of range: 101"},
        {"start\nset Level 40000\n", "LINE 2: not a whole number of the field's width: 40000"},
        {"start\ncall Nothing\n", "LINE 2: unknown procedure: Nothing"},
        {"start\ntype \"ab\n", "LINE 2: unclosed quote"},
        {"start\nclick pctExit\nmove 1 1\n", "LINE 3: move after the program ended"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunScript(c.script);
        EXPECT_EQ(outcome.status, 2) << c.script;
        EXPECT_EQ(outcome.err, std::string(c.error) + "\n") << c.script;
        EXPECT_EQ(outcome.out, "") << "nothing after a bad line runs: " << c.script;
    }
}

TEST(ScenarioRunnerTest, AnExpectationThatDoesNotHoldFailsWithStatusOne) {
    const Outcome outcome = RunScript("start\nexpect Score 0\nexpect pctNew.visible false\ndump\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "LINE 3: pctNew.visible is true, expected false\n");
    EXPECT_EQ(outcome.out, "");
}

TEST(ScenarioRunnerTest, SetAndDumpUseTheFieldsOwnNamesAndWidths) {
    const Outcome outcome = RunScript(
        "start\nset BallSpeed 0.30000000000000004\nset HighScoreNames(2) \"A B\"\nset NameCellX(1,8) 2810\n"
        "expect BallSpeed 0.30000000000000004\nexpect HighScoreNames(2) \"A B\"\n"
        "expect NameCellX(1,8) 2810\nexpect fields.NameCellX.1.8 2810\nexpect sounds.length 0\ndump\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\"BallSpeed\":0.30000000000000004"), std::string::npos);
    EXPECT_NE(outcome.out.find("\"HighScoreNames\":[\"\",\"\",\"A B\""), std::string::npos);
}

TEST(ScenarioRunnerTest, WaitFiresEveryTickThatFallsDue) {
    const Outcome outcome = RunScript("start\nwait 45\nexpect clock_ms 45\ntick 3\nexpect clock_ms 45\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
}

}  // namespace
}  // namespace quibbix
