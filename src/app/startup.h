#pragma once

// The game from start-up to shutdown; returns the process's exit status.
int runGame(int argc, char** argv);
