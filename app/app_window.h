#pragma once

// Sends the program to the task bar: every visible top-level window of the
// application is minimized (the main window; the about window closes itself
// before it asks for this).
void MinimizeApplication();
