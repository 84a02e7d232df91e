// Finding a window's own controls by object name, once, while the window is
// built. Windows hold what they build as members; where a table of texts or
// states names its controls, the window resolves each name here when it is
// constructed, never later in a slot. A name the window does not hold is a
// programming error (a control renamed on one side only): it raises
// std::logic_error that names the control and the window, so the tests that
// build every window catch it, instead of a null pointer crashing later.
#pragma once

#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>
#include <string_view>

#include "keys/option_keys.h"

namespace pelodyn {

// The descendant of `root` named `name` that is a T; throws when none is.
template <class T>
T* RequireChild(const QObject& root, const QString& name) {
  T* child = root.findChild<T*>(name);
  if (!child) {
    throw std::logic_error("window " + root.objectName().toStdString() + " has no control " + name.toStdString() +
                           " of the expected kind");
  }
  return child;
}

template <class T>
T* RequireChild(const QObject& root, const char* name) {
  return RequireChild<T>(root, QString::fromLatin1(name));
}

template <class T>
T* RequireChild(const QObject& root, std::string_view name) {
  return RequireChild<T>(root, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

// An option's control: its object name is the option's name.
template <class T>
T* RequireChild(const QObject& root, Option key) {
  return RequireChild<T>(root, OptionCName(key));
}

}  // namespace pelodyn
