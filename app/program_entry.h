#pragma once

#include <functional>

class TMainForm;

// The whole life of zenx: single-instance rule and command line, intro,
// main window, message loop. Returns the exit code. `whenShown` runs once
// the window is shown and the message loop runs; test drivers use it.
int RunProgram(int argc, char** argv, const std::function<void(TMainForm&)>& whenShown = {});
