// A full decode of each identifier (split, lookups, compose) beside the floor of
// building one string as long as its summary. Prints the figures and the ratio
// full / floor: how many such strings a decode costs (it builds one per decoded
// line and one for the summary).
#include "decoding/decoding.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const std::u16string Imei = u"445051079876543";
const std::u16string Msn = u"A3ZTZB1234";

std::u16string FullImei(std::u16string_view imei)
{
    const auto fields = velbrin::SplitImei(imei);
    const auto model = velbrin::DecodeTypeApprovalCode(fields.TypeApprovalCode);
    const auto country = velbrin::DecodeFinalAssemblyCode(fields.FinalAssemblyCode);
    return velbrin::ComposeImeiSummary(fields, model, country);
}

std::u16string FullMsn(std::u16string_view msn)
{
    const auto fields = velbrin::SplitMsn(msn);
    const auto country = velbrin::DecodeOriginCode(fields.OriginCode);
    const auto year = velbrin::DecodeYearCode(fields.YearCode);
    const auto month = velbrin::DecodeMonthCode(fields.MonthCode);
    return velbrin::ComposeMsnSummary(fields, country, month, year);
}

void ImeiFull(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FullImei(Imei));
}

void MsnFull(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FullMsn(Msn));
}

// The floor: one string of the summary's length, built and filled.
void Floor(benchmark::State &state, std::size_t length)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(std::u16string(length, u'x'));
}

void ImeiFloor(benchmark::State &state)
{
    Floor(state, FullImei(Imei).size());
}
void MsnFloor(benchmark::State &state)
{
    Floor(state, FullMsn(Msn).size());
}

BENCHMARK(ImeiFull);
BENCHMARK(ImeiFloor);
BENCHMARK(MsnFull);
BENCHMARK(MsnFloor);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto &run : runs)
            nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    std::map<std::string, double> nanoseconds;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char *name : {"Imei", "Msn"}) {
        const double full = reporter.nanoseconds[std::string(name) + "Full"];
        const double floor = reporter.nanoseconds[std::string(name) + "Floor"];
        if (full > 0 && floor > 0)
            std::printf("%s: full decode %.1f ns, floor %.1f ns, ratio %.2f\n", name, full, floor,
                        full / floor);
    }
    benchmark::Shutdown();
}
