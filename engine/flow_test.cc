#include "engine/flow.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

class FlowTest : public EngineTest {
 protected:
  // Runs the program and gives what it wrote, one entry per line.
  std::vector<std::string> output(std::initializer_list<std::string_view> lines) {
    runLines(lines);
    return console.writtenLines();
  }
  using Lines = std::vector<std::string>;
};

TEST_F(FlowTest, OneLineSe) {
  setVar("x", "1");
  EXPECT_EQ(output({"SE x = 1 ESCREVE \"um\"", "SE x = 2 ESCREVE \"dois\"", "SE x = 1 SE x < 5 ESCREVE \"ambos\""}),
            (Lines{"um", "ambos"}));
}

TEST_F(FlowTest, OneLineSeChainsAreBoundedInsteadOfExhaustingTheStack) {
  auto chain = [](int links) {
    std::string line;
    for (int i = 0; i < links; ++i) line += "SE 1 = 1 ";
    return line + "SEJA a 7";
  };
  EXPECT_TRUE(exec(chain(kMaxNestedSe)));
  EXPECT_EQ(var("a"), "7");
  EXPECT_FALSE(exec(chain(kMaxNestedSe + 1)));
  EXPECT_FALSE(exec(chain(100000)));
  EXPECT_EQ(rt.run.nestedSe, 0);  // unwound after the failure
}

TEST_F(FlowTest, OneLineSeRefusesBlockWords) {
  for (std::string_view line : std::initializer_list<std::string_view>{"SE 1 = 1 ENQUANTO 1 = 1", "SE 1 = 1 REPETE i 2", "SE 1 = 1 SENÃO"_cp,
                                "SE 1 = 1 FIM SE"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
  }
}

TEST_F(FlowTest, SeChainWithOneFimSeRunsExactlyOneBranch) {
  for (std::string_view value : {"1", "2", "3"}) {
    SCOPED_TRACE(value);
    FakeConsole fresh;
    Runtime run(fresh, clock, *fs);
    resetEngine(run);
    run.vars.set(VariableStore::letterSlot('x'), std::string(value));
    int n = 0;
    for (std::string_view line : std::initializer_list<std::string_view>{"SE x = 1", "ESCREVE \"um\"", "SENÃO"_cp, "SE x = 2", "ESCREVE \"dois\"", "SENAO",
                                  "ESCREVE \"outro\"", "FIM SE", "ESCREVE \"fim\""}) {
      addScriptLine(run, std::string(line), ++n);
    }
    runScript(run);
    std::string expected = value == "1" ? "um" : value == "2" ? "dois" : "outro";
    EXPECT_EQ(fresh.writtenLines(), (Lines{expected, "fim"}));
  }
}

TEST_F(FlowTest, FalseBlockSkipsNestedBlocksToItsOwnSenao) {
  setVar("x", "0");
  EXPECT_EQ(output({"SE x = 1",
                    "  SE x = 0",
                    "    ESCREVE \"interno\"",
                    "  SENAO",
                    "    ESCREVE \"interno senao\"",
                    "  FIM SE",
                    "  SE x = 0 ESCREVE \"uma linha nao aninha\"",
                    "SENAO",
                    "  ESCREVE \"externo senao\"",
                    "FIM SE",
                    "ESCREVE \"fim\""}),
            (Lines{"externo senao", "fim"}));
}

TEST_F(FlowTest, MissingFimEndsTheRunNormally) {
  EXPECT_EQ(runLines({"SE 1 = 2", "ESCREVE \"nunca\""}), RunOutcome::kEnded);
  EXPECT_EQ(console.written, "");
  EXPECT_EQ(console.spoken, (std::vector<std::string>{"Fim do script"}));
}

TEST_F(FlowTest, EnquantoLoopsAndIgnoresTextAfterItsCondition) {
  EXPECT_EQ(output({"SEJA c 0", "ENQUANTO c < 3 ESCREVE \"ignorado\"", "SOMA c 1", "ESCREVE c", "FIM ENQUANTO",
                    "ESCREVE \"fim\""}),
            (Lines{"1", "2", "3", "fim"}));
}

TEST_F(FlowTest, RepeteRunsItsBodyFromOneToTheCount) {
  EXPECT_EQ(output({"REPETE i 3", "ESCREVE i", "FIM REPETE", "ESCREVE \"depois \" i"}),
            (Lines{"1", "2", "3", "depois 4"}));
}

TEST_F(FlowTest, RepeteZeroSkipsTheBody) {
  EXPECT_EQ(output({"REPETE i 0", "ESCREVE \"corpo\"", "FIM REPETE", "ESCREVE i"}), (Lines{"1"}));
}

TEST_F(FlowTest, RepeteReadsItsCountOnEveryTurn) {
  EXPECT_EQ(output({"SEJA n 2", "REPETE i n", "ESCREVE i", "SEJA n 4", "FIM REPETE"}), (Lines{"1", "2", "3", "4"}));
}

TEST_F(FlowTest, LoopsOfDifferentKindsNest) {
  EXPECT_EQ(output({"SEJA a 0", "ENQUANTO a < 2", "SOMA a 1", "REPETE i 2", "SE i = 2", "ESCREVE a \".\" i",
                    "FIM SE", "FIM REPETE", "FIM ENQUANTO"}),
            (Lines{"1.2", "2.2"}));
}

TEST_F(FlowTest, LoopEndsWithoutHeadFail) {
  EXPECT_EQ(runLines({"ESCREVE \"a\"", "FIM ENQUANTO"}), RunOutcome::kFailed);
  EXPECT_EQ(console.writtenLines().at(1), "2");
  for (std::string_view line : {"FIM REPETE", "FIM"}) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(exec(line));
  }
  EXPECT_TRUE(exec("FIM SE"));
  EXPECT_TRUE(exec("FIM QUALQUER"));
}

TEST_F(FlowTest, FimRepeteFailsWhenTheVariableNoLongerHoldsANumber) {
  EXPECT_EQ(runLines({"REPETE i 3", "SEJA i \"x\"", "FIM REPETE"}), RunOutcome::kFailed);
  EXPECT_EQ(rt.run.currentLine, 1);  // the failing FIM REPETE was resolved at the head
}

TEST_F(FlowTest, DesviaFindsTheFirstLabelIgnoringCase) {
  EXPECT_EQ(output({"DESVIA @Fim", "ESCREVE \"pulado\"", "@fim", "ESCREVE \"primeiro\"", "TERMINA", "@fim",
                    "ESCREVE \"segundo\""}),
            (Lines{"primeiro"}));
}

TEST_F(FlowTest, DesviaTargets) {
  addScriptLine(rt, "@fim", 1);
  addScriptLine(rt, "ESCREVE \"x\"", 2);
  setVar("ALVO", "fim");
  struct Case {
    std::string_view line;
    bool ok;
  } cases[] = {
      {"DESVIA @fim", true},   {"DESVIA $alvo", true},   {"DESVIA @fim extra", false},
      {"DESVIA $alvo x", false}, {"DESVIA @nada", false}, {"DESVIA", false},
      {"DESVIA @", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    rt.run.currentLine = 2;
    EXPECT_EQ(exec(c.line), c.ok);
    if (c.ok) {
      EXPECT_EQ(rt.run.currentLine, 1);
    }
  }
}

TEST_F(FlowTest, AnIndentedAtLineIsNotALabel) {
  EXPECT_EQ(runLines({"DESVIA @x", "  @x"}), RunOutcome::kFailed);
}

TEST_F(FlowTest, ChamaAndRetorna) {
  EXPECT_EQ(output({"CHAMA @sub", "ESCREVE \"voltou\"", "TERMINA", "@sub", "ESCREVE \"na sub\"", "RETORNA"}),
            (Lines{"na sub", "voltou"}));
}

TEST_F(FlowTest, TwentyNestedCallsWorkAndTheTwentyFirstFails) {
  // @sub calls itself while the depth counter is below the limit.
  auto program = [](int calls) {
    return std::vector<std::string>{"SEJA d 0", "CHAMA @sub", "ESCREVE \"fim \" d", "TERMINA", "@sub",
                                    "SOMA d 1", "SE d < " + std::to_string(calls) + " CHAMA @sub", "RETORNA"};
  };
  for (int calls : {20, 21}) {
    SCOPED_TRACE(calls);
    FakeConsole fresh;
    Runtime run(fresh, clock, *fs);
    resetEngine(run);
    int n = 0;
    for (const std::string& line : program(calls)) addScriptLine(run, line, ++n);
    RunOutcome outcome = runScript(run);
    if (calls == 20) {
      EXPECT_EQ(outcome, RunOutcome::kEnded);
      EXPECT_EQ(fresh.writtenLines(), (Lines{"fim 20"}));
    } else {
      EXPECT_EQ(outcome, RunOutcome::kFailed);
      EXPECT_EQ(fresh.writtenLines().front(), "Muitas chamadas sem retorno");
      EXPECT_EQ(fresh.writtenLines().at(1), "7");
    }
  }
}

TEST_F(FlowTest, RetornaWithoutChamaAndWithArgumentsFail) {
  EXPECT_FALSE(exec("RETORNA"));
  EXPECT_EQ(console.written, "Retorno sem chamada\n");
  rt.run.callStack.push_back(1);
  EXPECT_FALSE(exec("RETORNA x"));
  EXPECT_FALSE(exec("SENAO x"));
}

TEST_F(FlowTest, DesviaLeavesTheCallStackAsItWas) {
  runLines({"CHAMA @sub", "@sub", "DESVIA @fora", "@fora", "TERMINA"});
  EXPECT_EQ(rt.run.callStack, (std::vector<int32_t>{1}));
}

TEST_F(FlowTest, SeWithTerminaMudoEndsSilently) {
  setVar("x", "1");
  runLines({"SE x = 1 TERMINA MUDO", "ESCREVE \"nunca\""});
  EXPECT_TRUE(console.spoken.empty());
  EXPECT_EQ(console.written, "");
}

TEST_F(FlowTest, NestedSeWhoseConditionCannotBeReadDoesNotOpenABlock) {
  // "SE 1 EM [nenhuma]" cannot be read, so it does not nest: the skip stops at
  // the first FIM SE.
  EXPECT_EQ(output({"SE 1 = 2", "SE 1 EM [nenhuma]", "FIM SE", "ESCREVE \"depois do primeiro\"", "FIM SE"}),
            (Lines{"depois do primeiro"}));
}

}  // namespace
}  // namespace tamiral
