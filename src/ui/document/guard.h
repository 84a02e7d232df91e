// Every command, slot and event handler of the desktop program runs through
// Guarded: an exception shows its message in a message box and the program
// goes on. An exception never crosses the event loop.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <utility>

#include "ui/document/prompter.h"

namespace pelodyn {

// Where Guarded reports; the main window installs its prompter, and the
// language its conversion messages are given in (English when none).
void SetErrorPrompter(Prompter* prompter, std::function<std::uint8_t()> language = {});
void ReportException(const std::exception_ptr& error);

template <class F>
void Guarded(F&& f) {
  try {
    std::forward<F>(f)();
  } catch (...) {
    ReportException(std::current_exception());
  }
}

// Wraps a callable for connect(): the slot runs guarded.
template <class F>
auto GuardedSlot(F f) {
  return [f = std::move(f)](auto&&... args) { Guarded([&] { f(std::forward<decltype(args)>(args)...); }); };
}

}  // namespace pelodyn
