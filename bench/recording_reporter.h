// A console reporter that keeps the time of each benchmark, so that a program can print the
// ratios of its subjects to their baselines measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

// Keeps one time per benchmark: the median of the repetitions when there are several, else the
// single run. Keyed by the name without run options ("/repeats:3", "/iterations:1"), so that the
// ratios find their benchmarks whatever options the run was given.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const std::string key = run.run_name.args.empty() ? run.run_name.function_name
                                                              : run.run_name.function_name + "/" + run.run_name.args;
            if (run.run_type == Run::RT_Iteration)
                repetitions_[key].push_back(run.GetAdjustedRealTime());
            else if (run.aggregate_name == "median")
                medians_[key] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The time of a benchmark (in its display unit, the same for all of ours), NAN when it did not run.
    double time(const std::string& name) const
    {
        if (const auto m = medians_.find(name); m != medians_.end())
            return m->second;
        const auto r = repetitions_.find(name);
        if (r == repetitions_.end() || r->second.empty())
            return NAN;
        std::vector<double> v = r->second;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }

private:
    std::map<std::string, std::vector<double>> repetitions_;
    std::map<std::string, double> medians_;
};

