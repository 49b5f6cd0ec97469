#include <gtest/gtest.h>

#include <string>

#include "scenario/ScenarioRunner.h"
#include "tests/common/RunScript.h"

namespace quibbix {
namespace {

using Outcome = ScriptOutcome;

std::string Repeated(const std::string& text, int times) {
    std::string out;
    while (times-- > 0) {
        out += text;
    }
    return out;
}

// Every script ends with its status: 0 with nothing on the error stream, 1 at an expectation that
// does not hold, 2 at a bad line; nothing after the failing line runs. Bad values, indexes, counts
// and points are rejected, and the ends of every range are taken.
TEST(ScenarioRunnerTest, EachScriptEndsWithItsStatusAtItsLine) {
    const struct {
        std::string script;
        int status;
        std::string error;
    } cases[] = {
        {"start\n\n# comment\nfly 1\ndump\n", 2, "LINE 4: unknown command: fly"},
        {"start\nmove 1 x\n", 2, "LINE 2: bad argument: x"},
        {"start\nclick pctOk\n", 2, "LINE 2: control is not visible: pctOk"},
        {"start\nclick pctNothing\n", 2, "LINE 2: unknown control: pctNothing"},
        {"dump\n", 2, "LINE 1: dump needs start first"},
        {"start\nstart\n", 2, "LINE 2: the form is loaded already"},
        {"random 1.0\n", 2, "LINE 1: bad random value (0 <= R < 1): 1.0"},
        {"start\nset Nothing 1\n", 2, "LINE 2: unknown field: Nothing"},
        {"start\nset BallX(101) 1\n", 2, "LINE 2: index out of range: 101"},
        {"start\nset Level 40000\n", 2, "LINE 2: not a whole number of the field's width: 40000"},
        {"start\ncall Nothing\n", 2, "LINE 2: unknown procedure: Nothing"},
        {"start\ntype \"ab\n", 2, "LINE 2: unclosed quote"},
        {"start\nclick pctExit\nmove 1 1\n", 2, "LINE 3: move after the program ended"},
        {"start\nexpect BallX(500) 0\n", 2, "LINE 2: index out of range: 500"},
        {"start\nexpect NameCellX(1,9) 0\n", 2, "LINE 2: index out of range: 9"},
        {"start\nexpect Score(1) 0\n", 2, "LINE 2: Score takes no index"},
        {"start\nset BallX(-1) 3\n", 2, "LINE 2: index out of range: -1"},
        {"start\nset NameCellY(11,0) 3\n", 2, "LINE 2: index out of range: 11"},
        {"start\nset BallX(1,1) 3\n", 2, "LINE 2: BallX takes 1 index(es)"},
        {"start\ncall PlaceBall 30000\n", 2, "LINE 2: PlaceBall argument 1 out of range 0..100: 30000"},
        {"start\ncall PlaceBall -1\n", 2, "LINE 2: PlaceBall argument 1 out of range 0..100: -1"},
        {"start\ncall BlankNameRow 30000\n", 2, "LINE 2: BlankNameRow argument 1 out of range 0..10: 30000"},
        {"start\ncall BallOverlap 2147483647 0\n", 2,
         "LINE 2: BallOverlap argument 1 out of range -1000000..1000000: 2147483647"},
        {"start\nset BallQuota 100.5\n", 2, "LINE 2: out of the field's range 0..100: 100.5"},
        {"start\nset MaskCount 1026\n", 2, "LINE 2: out of the field's range 0..1025: 1026"},
        {"start\nset MaskX(0) 32\n", 2, "LINE 2: out of the field's range 0..31: 32"},
        {"start\nset BallDX(0) -32768\n", 2, "LINE 2: out of the field's range -32767..32767: -32768"},
        {"start\nset BallY(0) 1000001\n", 2, "LINE 2: out of the field's range -1000000..1000000: 1000001"},
        {"start\nset BallType(0) 3\n", 2, "LINE 2: out of the field's range 0..2: 3"},
        {"start\nset GameActive 1\n", 2, "LINE 2: out of the field's range -1..0: 1"},
        {"start\nset NewEntryRank 11\n", 2, "LINE 2: out of the field's range 0..10: 11"},
        {"start\nset EntryColumn 9\n", 2, "LINE 2: out of the field's range 0..8: 9"},
        {"start\nset TimeLeft 1e300\n", 2, "LINE 2: out of the field's range -100000..100000: 1e300"},
        {"start\nset LevelTime nan\n", 2, "LINE 2: out of the field's range -100000..100000: nan"},
        {"start\nset BallSpeed inf\n", 2, "LINE 2: out of the field's range 0..32767: inf"},
        {"start\nset BallSpeed 0.5x\n", 2, "LINE 2: not a number: 0.5x"},
        {"start\nset Score ten\n", 2, "LINE 2: not a whole number of the field's width: ten"},
        {"start\nkey 99999\n", 2, "LINE 2: key code out of range -32768..32767: 99999"},
        {"seed -1\n", 2, "LINE 1: seed out of range 0..4294967295: -1"},
        {"start\ntick 1000001\n", 2, "LINE 2: tick count out of range 0..1000000: 1000001"},
        {"start\nwait -1\n", 2, "LINE 2: wait out of range 0..20000000: -1"},
        {"start\nwait 9223372036854775807\n", 2,
         "LINE 2: wait out of range 0..20000000: 9223372036854775807"},
        {"start\nwait 99999999999999999999\n", 2,
         "LINE 2: wait out of range 0..20000000: 99999999999999999999"},
        {"random" + Repeated(" 0", 1001) + "\n", 2, "LINE 1: wrong number of arguments for random"},
        {"start\n# " + std::string(4095, 'x') + "\n", 2, "LINE 2: line longer than 4096 bytes"},
        {Repeated("random" + Repeated(" 0", 1000) + "\n", 1000) + "random 0\n", 2,
         "LINE 1001: more than 1000000 random values queued"},
        {"start\npress 0 -1000001\n", 2, "LINE 2: coordinate out of range -1000000..1000000: -1000001"},
        {"start\nclick 1000001 0\n", 2, "LINE 2: coordinate out of range -1000000..1000000: 1000001"},
        {"start\nexpect-sprite frmGraphics.pctStart 2147483647 0\n", 2,
         "LINE 2: coordinate out of range -1000000..1000000: 2147483647"},
        {"start\nfly\x01\xff" + std::string(100, 'a') + "\n", 2,
         "LINE 2: unknown command: fly\\x01\\xFF" + std::string(75, 'a') + "..."},
        {"start\nset Score \"\t\"\n", 2, "LINE 2: not a whole number of the field's width: \\x09"},
        {"start\nexpect Score 0\nexpect pctNew.visible false\n", 1,
         "LINE 3: pctNew.visible is true, expected false"},
        // The ends of every range are taken, and a game runs with them.
        {"start\nclick pctNew\nset BallQuota 100\nset BallSpeed 32767\nset BallDX(1) -32767\n"
         "set BallX(1) -1000000\nset MaskX(0) 31\nset MaskCount 1025\ntick 3\nset LastBall 100\ntick 3\n"
         "set TimeLeft 100000\nset LastBall 0\nset BallsRemaining 0\nset BallActive(0) -1\nset BallType(0) "
         "1\n"
         "set BallX(0) 100\nset BallY(0) 100\nset BallDX(0) 0\nset BallDY(0) 0\nmove 128 190\ntick\n"
         "expect Level 2\nexpect LastBall 100\ntick 5\n",
         0, ""},
        {"start\n# " + std::string(4094, 'x') + "\ntick 1000000\nwait 20000000\n" +
             "expect clock_ms 20000000\n",
         0, ""},
        {"start\nclick pctNew\nmove 1000000 -1000000\nmove -1000000 1000000\ntick\n", 0, ""},
        {"start\nwait 45\nexpect clock_ms 45\ntick 3\nexpect clock_ms 45\n", 0, ""},
        // Only the runner can put the cursor outside the cells a name is typed into; the game then
        // ignores the keys rather than paint outside its table.
        {"start\nset NewEntryRank 1\nset NameEntryActive -1\nset EntryColumn 8\ntype AB\nkey 8\n"
         "set EntryColumn 0\nkey 8\ntype C\nexpect HighScoreNames(1) \"\"\nexpect EntryColumn 0\n",
         0, ""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunScript(c.script + (c.status == 0 ? "" : "dump\n"));
        EXPECT_EQ(outcome.status, c.status) << c.script;
        EXPECT_EQ(outcome.err, c.error.empty() ? "" : c.error + "\n") << c.script;
        EXPECT_EQ(outcome.out, "") << c.script;
    }
}

TEST(ScenarioRunnerTest, SetAndDumpUseTheFieldsOwnNamesAndWidths) {
    const Outcome outcome = RunScript(
        "start\nset BallSpeed 0.30000000000000004\nset TimeLeft 0.0001\nset HighScoreNames(2) \"A B\"\n"
        "set NameCellX(1,8) 2810\n"
        "expect BallSpeed 0.30000000000000004\nexpect HighScoreNames(2) \"A B\"\n"
        "expect NameCellX(1,8) 2810\nexpect fields.NameCellX.1.8 2810\nexpect sounds.length 0\ndump\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("\"BallSpeed\":0.30000000000000004"), std::string::npos);
    EXPECT_NE(outcome.out.find("\"TimeLeft\":1e-04"), std::string::npos)
        << "the shorter of the two notations";
    EXPECT_NE(outcome.out.find("\"HighScoreNames\":[\"\",\"\",\"A B\""), std::string::npos);
}

}  // namespace
}  // namespace quibbix
