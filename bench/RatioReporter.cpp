#include "bench/RatioReporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration && run.iterations > 0)
            times_[run.benchmark_name()] = run.real_accumulated_time * 1e9 / static_cast<double>(run.iterations);
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::nanoseconds(const std::string& name) const
{
    const auto found = times_.find(name);
    return found == times_.end() ? 0.0 : found->second;
}

void RatioReporter::printRatio(const std::string& label, const std::string& measured, const std::string& reference,
                               const std::string& goal) const
{
    const double a = nanoseconds(measured);
    const double b = nanoseconds(reference);
    std::printf("%-52s %10.3f ms / %10.3f ms = %6.2fx   (goal: %s)\n", label.c_str(), a / 1e6, b / 1e6,
                b > 0 ? a / b : 0.0, goal.c_str());
}

RatioReporter& runBenchmarks(int argc, char** argv)
{
    static RatioReporter reporter;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    return reporter;
}
