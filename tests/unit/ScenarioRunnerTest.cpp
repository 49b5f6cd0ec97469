#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "scenario/ScenarioRunner.h"
#include "tests/common/RunScript.h"

namespace quibbix {
namespace {

using Outcome = ScriptOutcome;

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

struct Rejection {
    std::string script;
    std::string error;
};

// Each script stops at its bad line with status 2, and nothing of that line or after it runs.
void ExpectRejected(const std::vector<Rejection>& cases) {
    for (const auto& c : cases) {
        const Outcome outcome = RunScript(c.script + "dump\n");
        EXPECT_EQ(outcome.status, 2) << c.script;
        EXPECT_EQ(outcome.err, c.error + "\n") << c.script;
        EXPECT_EQ(outcome.out, "") << c.script;
    }
}

TEST(ScenarioRunnerTest, IndexesOutsideTheirArraysAreRejected) {
    ExpectRejected({
        {"start\nexpect BallX(500) 0\n", "LINE 2: index out of range: 500"},
        {"start\nexpect NameCellX(1,9) 0\n", "LINE 2: index out of range: 9"},
        {"start\nexpect Score(1) 0\n", "LINE 2: Score takes no index"},
        {"start\nset BallX(-1) 3\n", "LINE 2: index out of range: -1"},
        {"start\nset NameCellY(11,0) 3\n", "LINE 2: index out of range: 11"},
        {"start\nset BallX(1,1) 3\n", "LINE 2: BallX takes 1 index(es)"},
        {"start\ncall PlaceBall 30000\n", "LINE 2: PlaceBall argument 1 out of range 0..100: 30000"},
        {"start\ncall PlaceBall -1\n", "LINE 2: PlaceBall argument 1 out of range 0..100: -1"},
        {"start\ncall BlankNameRow 30000\n", "LINE 2: BlankNameRow argument 1 out of range 0..10: 30000"},
        {"start\ncall BallOverlap 2147483647 0\n",
         "LINE 2: BallOverlap argument 1 out of range -1000000..1000000: 2147483647"},
    });
}

TEST(ScenarioRunnerTest, ValuesOutsideWhatTheGameWorksWithAreRejected) {
    ExpectRejected({
        {"start\nset LastBall 32000\ntick\n", "LINE 2: out of the field's range 0..100: 32000"},
        {"start\nset BallQuota 100.5\n", "LINE 2: out of the field's range 0..100: 100.5"},
        {"start\nset MaskCount 1026\n", "LINE 2: out of the field's range 0..1025: 1026"},
        {"start\nset MaskX(0) 32\n", "LINE 2: out of the field's range 0..31: 32"},
        {"start\nset BallDX(0) -32768\n", "LINE 2: out of the field's range -32767..32767: -32768"},
        {"start\nset BallY(0) 1000001\n", "LINE 2: out of the field's range -1000000..1000000: 1000001"},
        {"start\nset BallType(0) 3\n", "LINE 2: out of the field's range 0..2: 3"},
        {"start\nset GameActive 1\n", "LINE 2: out of the field's range -1..0: 1"},
        {"start\nset NewEntryRank 11\n", "LINE 2: out of the field's range 0..10: 11"},
        {"start\nset EntryColumn 9\n", "LINE 2: out of the field's range 0..8: 9"},
        {"start\nset TimeLeft 1e300\n", "LINE 2: out of the field's range -100000..100000: 1e300"},
        {"start\nset LevelTime nan\n", "LINE 2: out of the field's range -100000..100000: nan"},
        {"start\nset BallSpeed inf\n", "LINE 2: out of the field's range 0..32767: inf"},
        {"start\nset BallSpeed 0.5x\n", "LINE 2: not a number: 0.5x"},
        {"start\nset Level 70000\n", "LINE 2: not a whole number of the field's width: 70000"},
        {"start\nset Score ten\n", "LINE 2: not a whole number of the field's width: ten"},
        {"start\nkey 99999\n", "LINE 2: key code out of range -32768..32767: 99999"},
        {"seed -1\n", "LINE 1: seed out of range 0..4294967295: -1"},
    });
    // The ends of every range are taken, and a game runs with them.
    const Outcome ends = RunScript(
        "start\nclick pctNew\nset BallQuota 100\nset BallSpeed 32767\nset BallDX(1) -32767\n"
        "set BallX(1) -1000000\nset MaskX(0) 31\nset MaskCount 1025\ntick 3\nset LastBall 100\ntick 3\n"
        "set TimeLeft 100000\nset LastBall 0\nset BallsRemaining 0\nset BallActive(0) -1\nset BallType(0) 1\n"
        "set BallX(0) 100\nset BallY(0) 100\nset BallDX(0) 0\nset BallDY(0) 0\nmove 128 190\ntick\n"
        "expect Level 2\nexpect LastBall 100\ntick 5\n");
    EXPECT_EQ(ends.status, 0) << ends.err;
}

std::string ThousandAndOneZeros() {
    std::string zeros;
    for (int i = 0; i < 1001; ++i) {
        zeros += " 0";
    }
    return zeros;
}

// A thousand lines of a thousand random values each.
std::string FullRandomQueue() {
    std::string line = "random";
    for (int i = 0; i < 1000; ++i) {
        line += " 0";
    }
    std::string script;
    for (int i = 0; i < 1000; ++i) {
        script += line + "\n";
    }
    return script;
}

TEST(ScenarioRunnerTest, CountsBeyondTheirLimitsAreRejected) {
    ExpectRejected({
        {"start\ntick -5\n", "LINE 2: tick count out of range 0..1000000: -5"},
        {"start\ntick 1000001\n", "LINE 2: tick count out of range 0..1000000: 1000001"},
        {"start\nwait -1\n", "LINE 2: wait out of range 0..20000000: -1"},
        {"start\nwait 9223372036854775807\n", "LINE 2: wait out of range 0..20000000: 9223372036854775807"},
        {"start\nwait 99999999999999999999\n", "LINE 2: wait out of range 0..20000000: 99999999999999999999"},
        {"random" + ThousandAndOneZeros() + "\n", "LINE 1: wrong number of arguments for random"},
        {"start\n# " + std::string(4095, 'x') + "\n", "LINE 2: line longer than 4096 bytes"},
        {FullRandomQueue() + "random 0\n", "LINE 1001: more than 1000000 random values queued"},
    });
    // The limits themselves are taken.
    const Outcome limits = RunScript("start\n# " + std::string(4094, 'x') +
                                     "\ntick 1000000\nwait 20000000\n" + "expect clock_ms 20000000\n");
    EXPECT_EQ(limits.status, 0) << limits.err;
}

TEST(ScenarioRunnerTest, PointsFarOutsideTheWindowAreRejected) {
    ExpectRejected({
        {"start\nclick pctNew\nmove 2147483647 -2147483648\n",
         "LINE 3: coordinate out of range -1000000..1000000: 2147483647"},
        {"start\npress 0 -1000001\n", "LINE 2: coordinate out of range -1000000..1000000: -1000001"},
        {"start\nclick 1000001 0\n", "LINE 2: coordinate out of range -1000000..1000000: 1000001"},
        {"start\nexpect-sprite frmGraphics.pctStart 2147483647 0\n",
         "LINE 2: coordinate out of range -1000000..1000000: 2147483647"},
    });
    const Outcome far =
        RunScript("start\nclick pctNew\nmove 1000000 -1000000\nmove -1000000 1000000\ntick\n");
    EXPECT_EQ(far.status, 0) << far.err;
}

TEST(ScenarioRunnerTest, ErrorLinesQuoteAtMostEightyBytesWithUnprintableBytesEscaped) {
    ExpectRejected({
        {"start\nfly\x01\xff" + std::string(100, 'a') + "\n",
         "LINE 2: unknown command: fly\\x01\\xFF" + std::string(75, 'a') + "..."},
        {"start\nset Score \"\t\"\n", "LINE 2: not a whole number of the field's width: \\x09"},
    });
}

// Only the runner can put the cursor outside the cells a name is typed into; the game then
// ignores the keys rather than paint outside its table.
TEST(ScenarioRunnerTest, NoNameIsTypedWithTheCursorOutsideTheTypableCells) {
    const Outcome outcome = RunScript(
        "start\nset NewEntryRank 1\nset NameEntryActive -1\nset EntryColumn 8\ntype AB\nkey 8\n"
        "set EntryColumn 0\nkey 8\ntype C\nexpect HighScoreNames(1) \"\"\nexpect EntryColumn 0\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
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
