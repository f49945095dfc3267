#pragma once

// The whole life of zenx: single-instance rule and command line, intro,
// main window, message loop. Returns the exit code.
int RunProgram(int argc, char** argv);
