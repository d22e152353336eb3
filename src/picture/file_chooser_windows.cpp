// The open-file dialog on Windows: the common dialog, owned by the active window, listing
// all files.
#include <windows.h>
// commdlg.h needs the types of windows.h first.
#include <commdlg.h>

#include <cstring>

#include "picture/file_chooser.h"

std::optional<std::string> choosePicturePath() {
  // 1023 bytes for the path and its terminator; the last byte always stays zero.
  char path[1024];
  std::memset(path, 0, sizeof path);
  // The 76-byte form of the record: everything but these four fields stays zero.
  OPENFILENAMEA dialog;
  std::memset(&dialog, 0, sizeof dialog);
  dialog.lStructSize = 76;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFile = path;
  dialog.nMaxFile = 1023;
  if (GetOpenFileNameA(&dialog) == 0) return std::nullopt;
  return std::string(path);
}
