// What each fuzz target does with one input. The libFuzzer targets
// (fuzz_*.cpp, built with -DPELODYN_FUZZ=ON and clang) and the regression
// test (regression_test.cpp, built with the test suite) share these, so that
// every input that once found a fault is run again by `make test`.
//
// An input may end in an error (a FileError, a ConversionError, a refused
// run); it must never crash, hang, exhaust memory or trip a sanitizer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/project.h"

namespace pelodyn::fuzz {

// The version 2.0 reader over the bytes.
void ReadProjectV20(const std::uint8_t* data, std::size_t size);
// The version 1.18 reader over the bytes.
void ReadProjectV118(const std::uint8_t* data, std::size_t size);
// The settings reader over a file holding the bytes. Only the errors of its
// contract (ConversionError, FileError) end here; any other escapes.
void ReadSettings(const std::uint8_t* data, std::size_t size);
// Read (either version, by the first line) -> collect -> analyse -> result
// file, as the batch runner does (but into one project reused from input to
// input), with a stop request after a bounded number
// of trial surfaces so that a large but valid project does not count as a hang.
void Analyse(const std::uint8_t* data, std::size_t size);

// The project the targets share, its tables empty and its option values and
// model at their defaults.
Project& ReusedProject();

}  // namespace pelodyn::fuzz
