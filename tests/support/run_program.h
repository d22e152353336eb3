// Starts the built game as a child process in a chosen folder and collects what it printed.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProgramRun {
  int status = -1;     // exit status, or 128 + signal
  std::string output;  // standard output and standard error together
};

struct ProgramOptions {
  std::string folder;                    // working directory
  std::vector<std::string> arguments;    // after the program's name
  std::vector<std::string> environment;  // added to (or replacing in) the test's own
  // Called once the program runs, with its process id; returns when the test is done
  // with it (for example after sending it a signal).
  void (*whileRunning)(pid_t, void*) = nullptr;
  void* context = nullptr;
  int timeoutSeconds = 20;
};

ProgramRun runProgram(const std::string& program, const ProgramOptions& options);
