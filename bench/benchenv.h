// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

// Prepares the environment Qt reads at start-up, before QApplication exists:
// the offscreen platform unless another is asked for, and the device pixel
// ratio from a --ratio=N option (Qt's scale factor). Returns the remaining
// arguments, followed by a null pointer as main's argv is.
std::vector<char*> takeRatioOption(int argc, char** argv);

// "1", "2", "1.5": the ratio as a benchmark name shows it.
std::string ratioName(double ratio);

// Times a benchmark in process CPU time, every thread counted (Qt fills
// large areas on a thread pool), and adds the least of the repetitions to
// the statistics: on a shared machine noise only ever adds time.
benchmark::internal::Benchmark* timed(benchmark::internal::Benchmark* benchmark);
