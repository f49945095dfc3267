#pragma once

#include <QCursor>

// Custom cursor numbers shared by the whole program.
constexpr int crHandCursor = -19;          // pointing hand, over buttons
constexpr int crHandNoFingersCursor = -20; // open hand without fingers

// Registers the two hand cursors under crHandCursor and crHandNoFingersCursor.
// Safe to call any number of times; needs a GUI application.
void RegisterHandCursors();

// Registers (or replaces) the cursor of a custom number.
void RegisterCustomCursor(int id, const QCursor& cursor);
bool HasCustomCursor(int id);
// The cursor registered under `id`, the arrow cursor for an unknown number.
const QCursor& CustomCursor(int id);

// The two drawn cursors themselves.
QCursor MakeHandCursor();
QCursor MakeHandNoFingersCursor();
