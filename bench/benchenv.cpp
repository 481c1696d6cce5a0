// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/benchenv.h"

#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <sstream>

std::vector<char*> takeRatioOption(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QByteArray option("--ratio=");
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (i > 0 && arg.startsWith(option)) {
            qputenv("QT_SCALE_FACTOR", arg.mid(option.size()));
        } else {
            rest.push_back(argv[i]);
        }
    }
    rest.push_back(nullptr);
    return rest;
}

std::string ratioName(double ratio) {
    std::ostringstream name;
    name << ratio;
    return name.str();
}

benchmark::internal::Benchmark* timed(benchmark::internal::Benchmark* benchmark) {
    return benchmark->MeasureProcessCPUTime()->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}
