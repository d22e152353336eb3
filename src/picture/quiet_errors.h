// The image libraries may report a broken file on standard error (libpng does, before it
// gives up on the file). The game prints nothing of its own, so their reports are sent to
// the null device while a picture is decoded.
#pragma once

// Returns what restoreStandardError needs to undo it; -1 when nothing was changed.
int silenceStandardError();
void restoreStandardError(int saved);
