#pragma once

#include <QAccessible>

// Screen readers reach the program's own controls through the interfaces
// that these factories make. Factories must be in place before the first
// window is created: Qt keeps the interface it made first for each object.

// Installs one more factory (a library above this one adds its own
// controls'); a factory given again is installed once.
void AddAccessibleFactory(QAccessible::InterfaceFactory factory);

// Installs the factories of this library's controls (skinned button, gauge).
// The program calls it once at start; calling it again changes nothing.
void InstallAccessibleFactories();
