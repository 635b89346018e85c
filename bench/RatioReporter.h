#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// Runs the registered benchmarks, printing them as usual, and keeps each one's mean real
// time per iteration (in nanoseconds) by name, so that a benchmark can print its figures
// as ratios against a reference measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    double nanoseconds(const std::string& name) const;
    // Prints "label: a / b = ratio (goal ...)".
    void printRatio(const std::string& label, const std::string& measured, const std::string& reference,
                    const std::string& goal) const;

private:
    std::map<std::string, double> times_;
};

// benchmark::Initialize + RunSpecifiedBenchmarks with a RatioReporter.
RatioReporter& runBenchmarks(int argc, char** argv);
