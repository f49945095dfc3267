#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <stdexcept>
#include <string>

// The window keeps its controls to itself; tests find them as a user finds
// them on screen, by name (objectName). A control that is missing, of another
// type or not unique throws, which fails the running test with the name
// instead of crashing it on a null pointer.
template <class T> T* Control(const QWidget& form, const char* name) {
    const QList<T*> found = form.findChildren<T*>(QString::fromLatin1(name));
    if (found.size() != 1)
        throw std::runtime_error("control " + std::string(name) +
                                 (found.isEmpty() ? " not found" : " not unique"));
    return found.front();
}
