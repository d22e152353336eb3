// The built game as a player starts it: its exit statuses and its messages, byte for byte.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/fake_dialog.h"
#include "support/run_program.h"
#include "support/sdl_display.h"

namespace {

namespace fs = std::filesystem;

const std::string kGame = QUILBRACK_BINARY;
const std::string kAssets = QUILBRACK_ASSETS_DIR;

ProgramOptions optionsIn(const std::string& folder, const FakeDialog& dialog) {
  ProgramOptions options;
  options.folder = folder;
  options.environment = {"SDL_VIDEODRIVER=dummy", "PATH=" + dialog.folder + ":/usr/bin:/bin"};
  return options;
}

TEST(Program, WithoutTheBannerSheetItStopsWith103AndItsMessage) {
  FakeDialog dialog;
  dialog.answer("zenity", "", 1);
  const std::string empty = makeTempFolder();
  // The sheet beside the program does not count: only the working directory does.
  const ProgramRun run = runProgram(kGame, optionsIn(empty, dialog));
  EXPECT_EQ(run.status, 103);
  EXPECT_EQ(run.output, "Nie udalo sie wczytac err.png");
  EXPECT_TRUE(dialog.calls().empty()) << "no dialog before the sheet is loaded";
}

TEST(Program, ABrokenBannerSheetCountsAsMissing) {
  FakeDialog dialog;
  const std::string folder = makeTempFolder();
  writeFile(folder + "/err.png", "not a png");
  const ProgramRun run = runProgram(kGame, optionsIn(folder, dialog));
  EXPECT_EQ(run.status, 103);
  EXPECT_EQ(run.output, "Nie udalo sie wczytac err.png");
}

TEST(Program, CancelWithoutArgumentEndsWith201AndPrintsNothingEvenWithoutTheIcon) {
  FakeDialog dialog;
  dialog.answer("zenity", "", 1);
  const std::string folder = makeTempFolder();
  fs::copy_file(kAssets + "/err.png", folder + "/err.png");
  const ProgramRun run = runProgram(kGame, optionsIn(folder, dialog));
  EXPECT_EQ(run.status, 201);
  EXPECT_EQ(run.output, "") << "the dialog's own standard error goes nowhere";
  EXPECT_EQ(dialog.calls().size(), 1u);
}

// Waits until the program is in the game, then closes it as the desktop would.
void quitOncePlaying(pid_t child, void*) {
  usleep(800 * 1000);
  kill(child, SIGTERM);
}

TEST(Program, CancelWithArgumentPlaysItAndQuitEndsWithZero) {
  FakeDialog dialog;
  dialog.answer("zenity", "", 1);
  const std::string folder = makeTempFolder();
  for (const char* asset : {"err.png", "icon.png"}) {
    fs::copy_file(kAssets + "/" + asset, folder + "/" + asset);
  }
  ProgramOptions options = optionsIn(folder, dialog);
  options.arguments = {kAssets + "/sample.png"};
  options.whileRunning = quitOncePlaying;
  const ProgramRun run = runProgram(kGame, options);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(dialog.calls().size(), 1u) << "the argument's picture loaded, so no second dialog";
}

}  // namespace
