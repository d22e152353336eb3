// The open-file dialog on Linux and other X11 systems: zenity, or kdialog where zenity
// is not installed. The dialog runs as a child process without a shell; the chosen path
// comes back on its standard output.
#include <SDL.h>
#include <SDL_syswm.h>
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "picture/file_chooser.h"

extern char** environ;

namespace {

constexpr const char* kDialogTitle = "Quilbrack: wybierz obrazek";
// The extensions of the picture types the game plays, in both cases, since the dialogs'
// patterns are case-sensitive.
constexpr const char* kImagePatterns =
    "*.png *.jpg *.jpeg *.jpe *.gif *.bmp *.tga *.tif *.tiff *.webp *.pnm *.pbm *.pgm *.ppm "
    "*.PNG *.JPG *.JPEG *.JPE *.GIF *.BMP *.TGA *.TIF *.TIFF *.WEBP *.PNM *.PBM *.PGM *.PPM";
// A path longer than this is not a path any file system here accepts.
constexpr size_t kLongestAnswer = 1 << 16;

// The top-level X window of the game, so the dialog can be attached to it; 0 without X.
unsigned long gameWindowId() {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWMInfo(&info) > 0 && info.subsystem == SDL_SYSWM_X11) {
    return info.info.x11.wmwindow != 0 ? info.info.x11.wmwindow : info.info.x11.window;
  }
#endif
  return 0;
}

std::string hexWindowId(unsigned long window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", window);
  return text;
}

enum class DialogResult { NotStarted, Cancelled, Chosen };

// Runs argv[0] from PATH with its standard output into a pipe and its standard error into
// /dev/null, reads the answer to the end and waits for the program.
DialogResult runDialog(std::vector<std::string> args, std::string& answer) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return DialogResult::NotStarted;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return DialogResult::NotStarted;
  }
  bool tooLong = false;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    // Keep draining a runaway answer so the dialog never blocks on a full pipe.
    if (answer.size() + static_cast<size_t>(got) > kLongestAnswer) tooLong = true;
    if (!tooLong) answer.append(buffer, static_cast<size_t>(got));
  }
  close(pipeFds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // posix_spawnp reports a program it could not run as exit status 127 of the child.
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return DialogResult::NotStarted;
  if (tooLong || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return DialogResult::Cancelled;
  return DialogResult::Chosen;
}

std::vector<std::string> zenityArgs(unsigned long window) {
  std::vector<std::string> args = {"zenity", "--file-selection", "--modal",
                                   std::string("--title=") + kDialogTitle};
  if (window != 0) args.push_back("--attach=" + hexWindowId(window));
  args.push_back(std::string("--file-filter=Obrazki | ") + kImagePatterns);
  args.push_back("--file-filter=Wszystkie pliki | *");
  return args;
}

std::vector<std::string> kdialogArgs(unsigned long window) {
  std::vector<std::string> args = {"kdialog", "--title", kDialogTitle};
  if (window != 0) {
    args.push_back("--attach");
    args.push_back(hexWindowId(window));
  }
  args.push_back("--getopenfilename");
  args.push_back(":quilbrack");
  args.push_back(std::string("Obrazki (") + kImagePatterns + ")\nWszystkie pliki (*)");
  return args;
}

}  // namespace

std::optional<std::string> choosePicturePath() {
  const unsigned long window = gameWindowId();
  std::string answer;
  DialogResult result = runDialog(zenityArgs(window), answer);
  if (result == DialogResult::NotStarted) {
    answer.clear();
    result = runDialog(kdialogArgs(window), answer);
  }
  if (result != DialogResult::Chosen) return std::nullopt;
  if (!answer.empty() && answer.back() == '\n') answer.pop_back();
  // A path with a NUL byte could not name the file that was chosen.
  if (answer.empty() || answer.find('\0') != std::string::npos) return std::nullopt;
  return answer;
}
