// The platform's modal open-file dialog.
#pragma once

#include <optional>
#include <string>

// Blocks until the player closes the dialog. Returns the chosen path as a byte string, or
// nothing when the player cancelled or no dialog could be shown. Prints nothing.
std::optional<std::string> choosePicturePath();
