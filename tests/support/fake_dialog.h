// Stand-ins for the dialog programs: shell scripts in a folder that is put first on PATH
// (or alone on it), answering with a fixed output and exit status and logging their
// arguments.
#pragma once

#include <string>
#include <vector>

struct FakeDialog {
  std::string folder;
  std::string savedPath;

  // onlyFakes: PATH holds the fake folder alone, so the real dialogs cannot be found.
  explicit FakeDialog(bool onlyFakes = false);
  ~FakeDialog();

  // Makes program (zenity or kdialog) print output and exit with status.
  void answer(const std::string& program, const std::string& output, int status) const;
  // The argument lists of every call so far, oldest first.
  std::vector<std::vector<std::string>> calls() const;
};
