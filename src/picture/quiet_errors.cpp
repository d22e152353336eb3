#include "picture/quiet_errors.h"

#include <cstdio>

#if defined(_WIN32)

int silenceStandardError() {
  return -1;
}
void restoreStandardError(int) {}

#else

#include <fcntl.h>
#include <unistd.h>

int silenceStandardError() {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved < 0 || null < 0 || dup2(null, STDERR_FILENO) < 0) {
    if (saved >= 0) close(saved);
    if (null >= 0) close(null);
    return -1;
  }
  close(null);
  return saved;
}

void restoreStandardError(int saved) {
  if (saved < 0) return;
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
}

#endif
