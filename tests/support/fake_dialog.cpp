#include "support/fake_dialog.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "support/sdl_display.h"

namespace {
std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}
}  // namespace

FakeDialog::FakeDialog(bool onlyFakes) : folder(makeTempFolder()) {
  const char* path = getenv("PATH");
  savedPath = path != nullptr ? path : "";
  const std::string newPath = onlyFakes ? folder : folder + ":" + savedPath;
  setenv("PATH", newPath.c_str(), 1);
}

FakeDialog::~FakeDialog() {
  setenv("PATH", savedPath.c_str(), 1);
}

void FakeDialog::answer(const std::string& program, const std::string& output, int status) const {
  const std::string script = folder + "/" + program;
  const std::string log = shellQuoted(folder + "/calls.log");
  writeFile(script,
            "#!/bin/sh\n"
            "for a in \"$@\"; do printf '%s\\n' \"$a\" >> " +
                log +
                "; done\n"
                "printf -- '--end--\\n' >> " +
                log +
                "\n"
                "echo 'dialog noise on standard error' >&2\n"
                "printf '%s' " +
                shellQuoted(output) +
                "\n"
                "exit " +
                std::to_string(status) + "\n");
  chmod(script.c_str(), 0755);
}

std::vector<std::vector<std::string>> FakeDialog::calls() const {
  std::vector<std::vector<std::string>> all;
  std::ifstream in(folder + "/calls.log");
  std::vector<std::string> current;
  for (std::string line; std::getline(in, line);) {
    if (line == "--end--") {
      all.push_back(current);
      current.clear();
    } else {
      current.push_back(line);
    }
  }
  return all;
}
