#pragma once

struct TMainFormControls;

// The main window for the keyboard and for screen readers: the order in
// which Tab visits the controls, and names for the controls whose caption
// says nothing (glyph buttons, fields named by a label beside them). Called
// once the markup views exist.
void SetUpKeyboardAccess(const TMainFormControls& c);
