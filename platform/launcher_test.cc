#include "platform/launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/temp_folder.h"

namespace tamiral {
namespace {

// The started program runs on its own; this waits for the file it leaves
// (written elsewhere and moved in place, so it appears whole).
std::string waitForFile(const std::string& path) {
  for (int i = 0; i < 500 && ::access(path.c_str(), F_OK) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return contentsOf(path);
}

TEST(SystemLauncher, StartsAnExecutableWithItsParameterInTheFolder) {
  TempFolder folder;
  std::string script = folder.write("marca.sh", "#!/bin/sh\necho \"$1 $(pwd)\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.out\"\n");
  ::chmod(script.c_str(), 0755);
  makeSystemLauncher()->open(script, "ola", folder.path());
  EXPECT_EQ(waitForFile(script + ".out"), "ola " + folder.path() + "\n");
}

TEST(SystemLauncher, FindsABareProgramNameOnThePath) {
  TempFolder folder;
  std::string script = folder.write("nao_executavel.sh", "cd \"$(dirname \"$0\")\" && echo feito > tmp && mv tmp saida\n");
  makeSystemLauncher()->open("sh", script, folder.path());
  EXPECT_EQ(waitForFile(folder.path() + "/saida"), "feito\n");
}

}  // namespace
}  // namespace tamiral
