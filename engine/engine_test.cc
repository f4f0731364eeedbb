#include "engine/engine.h"

#include <gtest/gtest.h>

#include "engine/cp1252.h"
#include "tests/support/engine_fixture.h"

namespace tamiral {
namespace {

const std::string kErrorReport(std::string("Erro de execução na linha "_cp));

class RunTest : public EngineTest {};

TEST_F(RunTest, AnEmptyProgramEndsWithTheAnnouncement) {
  EXPECT_EQ(runScript(rt), RunOutcome::kEnded);
  EXPECT_EQ(console.spoken, (std::vector<std::string>{"Fim do script"}));
  EXPECT_EQ(console.written, "");
}

TEST_F(RunTest, BlankCommentAndLabelLinesDoNothingWhereverTheyStand) {
  EXPECT_EQ(runLines({"", "   ", "\t", "* comentário"_cp, "   *recuado", "@rotulo", "  @recuado",
                      "ESCREVE \"fim\""}),
            RunOutcome::kEnded);
  EXPECT_EQ(console.written, "fim\n");
  EXPECT_EQ(console.spoken, (std::vector<std::string>{"fim", "Fim do script"}));
}

TEST_F(RunTest, TerminaEndsTheRunWithOrWithoutTheAnnouncement) {
  struct Case {
    std::string_view termina;
    std::vector<std::string> spoken;
  } cases[] = {
      {"TERMINA", {"Fim do script"}},
      {"termina mudo", {}},
      {"TERMINA  Mudo ", {}},
      {"TERMINA MUDO JA", {"Fim do script"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.termina);
    FakeConsole fresh;
    Runtime run(fresh, clock, *fs);
    resetEngine(run);
    addScriptLine(run, std::string(c.termina), 1);
    addScriptLine(run, "ESCREVE \"depois\"", 2);
    EXPECT_EQ(runScript(run), RunOutcome::kEnded);
    EXPECT_EQ(fresh.spoken, c.spoken);
    EXPECT_EQ(fresh.written, "");
  }
}

TEST_F(RunTest, AFailureStopsTheRunAndReportsItsLine) {
  for (int i = 1; i < 37; ++i) addScriptLine(rt, "SEJA a " + std::to_string(i), i);
  addScriptLine(rt, "SOMAR 1", 37);
  addScriptLine(rt, "SEJA a \"depois\"", 38);
  console.feedKeys("ok\rresto");
  EXPECT_EQ(runScript(rt), RunOutcome::kFailed);
  EXPECT_EQ(console.writtenLines(), (std::vector<std::string>{std::string("Comando inválido: SOMAR"_cp), "37", "ok"}));
  EXPECT_EQ(console.spoken, (std::vector<std::string>{std::string("Comando inválido: SOMAR"_cp), kErrorReport, "37"}));
  EXPECT_EQ(console.restoreCount, 1);
  EXPECT_EQ(var("a"), "36");  // nothing rolled back, nothing after the failure
  EXPECT_EQ(console.keys.size(), 5u);  // the report took one line of input
}

TEST_F(RunTest, TheStoreIsSpentByARun) {
  runLines({"SEJA a 1"});
  EXPECT_EQ(rt.program.lineCount(), 0);
  console.spoken.clear();
  EXPECT_EQ(runScript(rt), RunOutcome::kEnded);
  EXPECT_EQ(console.spoken, (std::vector<std::string>{"Fim do script"}));
}

TEST_F(RunTest, StoresSurviveRunsButRunStateDoesNot) {
  rt.run.ioStatus = 7;
  rt.run.callStack = {3, 4};
  runLines({"SEJA $xy 1", "SEJA k 2"});
  EXPECT_EQ(rt.run.ioStatus, 0);
  EXPECT_TRUE(rt.run.callStack.empty());
  EXPECT_EQ(var("XY"), "1");
  resetEngine(rt);
  EXPECT_TRUE(rt.vars.registeredNames().empty());
  EXPECT_EQ(var("k"), "");
}

TEST_F(RunTest, LineStoreBounds) {
  EXPECT_FALSE(addScriptLine(rt, "x", 0));
  EXPECT_FALSE(addScriptLine(rt, "x", -3));
  EXPECT_FALSE(addScriptLine(rt, "x", 5001));
  EXPECT_TRUE(addScriptLine(rt, "SEJA a 1", 5000));
  EXPECT_EQ(rt.program.lineCount(), 5000);
  EXPECT_EQ(rt.program.line(4999), "");
  EXPECT_EQ(runScript(rt), RunOutcome::kEnded);
  EXPECT_EQ(var("a"), "1");
}

TEST_F(RunTest, LinesAreKeptExactlyAsRegistered) {
  addScriptLine(rt, "  ESCREVE \"a\"  \t", 1);
  EXPECT_EQ(rt.program.line(1), "  ESCREVE \"a\"  \t");
}

TEST_F(RunTest, ExecuteLineSplitsTheWordAtASpaceOnly) {
  EXPECT_FALSE(exec("ESCREVE\t\"x\""));
  EXPECT_EQ(console.written, "Comando inválido: ESCREVE\t\"X\"\n"_cp);
  EXPECT_TRUE(exec("  escreve   \"y\"  "));
  EXPECT_EQ(console.writtenLines().back(), "y");
}

TEST_F(RunTest, RestrictedExecutionRefusesBlockWords) {
  for (std::string_view line : {"REPETE i 3"_cp, "enquanto a = 1"_cp, "SENAO"_cp, "senão"_cp, "Senão"_cp, "SENÃO"_cp,
                                "fim se"_cp}) {
    SCOPED_TRACE(line);
    console.written.clear();
    EXPECT_FALSE(executeLine(rt, line, true));
    EXPECT_TRUE(rt.run.errorFlag);
    EXPECT_EQ(console.written, "");  // refused before anything ran
  }
  EXPECT_TRUE(executeLine(rt, "SEJA a 2", true));
  EXPECT_FALSE(rt.run.errorFlag);
}

TEST_F(RunTest, StartEngineStartsSpeechWithTheProgramSoundFolderAndTitlesTheConsole) {
  console.settings[{"CENARO", "DIRCENARO"}] = "c:\\sons\\";
  startEngine(rt, "clipora-light");
  EXPECT_EQ(console.speechInitCount, 1);
  EXPECT_EQ(console.soundFolder, "c:\\sons\\");
  EXPECT_EQ(console.clearCount, 1);
  EXPECT_EQ(console.title, "clipora-light");
}

TEST_F(RunTest, ParamsReachTheScript) {
  rt.params = {"a b"};
  runLines({"SEJA p PARAMS"});
  EXPECT_EQ(var("p"), "1 a%20b");
}

TEST_F(RunTest, HugeAndGarbageLinesFailTheLineOrWork) {
  std::string huge = "ESCREVE \"" + std::string(1 << 20, 'a') + "\"";
  EXPECT_TRUE(exec(huge));
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131) & 0xFF);
  EXPECT_FALSE(exec(garbage));
  // An unclosed run of doubled quotes is a text of quotes running to the end.
  EXPECT_TRUE(exec("SEJA a \"" + std::string(1 << 20, '"')));
  EXPECT_EQ(var("a").size(), size_t{1} << 19);
}

}  // namespace
}  // namespace tamiral
