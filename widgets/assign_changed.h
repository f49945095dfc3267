#pragma once

// Stores `value` in `field` and tells whether that changed it, for property
// setters that repaint or lay out again only on a real change.
template <typename T> bool AssignChanged(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}
