#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <map>

extern char** environ;

ProgramRun runProgram(const std::string& program, const ProgramOptions& options) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const size_t equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const std::string& text : options.environment) {
    const size_t equals = text.find('=');
    variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  std::vector<std::string> envText;
  for (const auto& [name, value] : variables) envText.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& text : envText) envp.push_back(text.data());
  envp.push_back(nullptr);

  std::vector<std::string> argText = {program};
  argText.insert(argText.end(), options.arguments.begin(), options.arguments.end());
  std::vector<char*> argv;
  for (std::string& text : argText) argv.push_back(text.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  ProgramRun run;
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, options.folder.c_str());
  pid_t child = 0;
  const int spawned =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return run;
  }
  if (options.whileRunning != nullptr) options.whileRunning(child, options.context);
  // Read until the program closes its output, killing it when it overstays.
  const time_t deadline = time(nullptr) + options.timeoutSeconds;
  char buffer[4096];
  for (;;) {
    pollfd readable{pipeFds[0], POLLIN, 0};
    if (poll(&readable, 1, 200) > 0) {
      const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
      if (got <= 0) break;
      run.output.append(buffer, static_cast<size_t>(got));
    }
    if (time(nullptr) > deadline) {
      kill(child, SIGKILL);
      run.output += "[killed: timed out]";
      break;
    }
  }
  close(pipeFds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}
