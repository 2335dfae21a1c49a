// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding a frame and reading a .cfg file, with Google Benchmark.
//
// Reproduce: scripts/bench.sh (or build/bench/codec_bench)

#include "ConfigFile.h"
#include "ConfigFrame.h"
#include "DeviceSettings.h"

#include <benchmark/benchmark.h>

using namespace kestrix;

namespace {

DeviceSettings everythingOn()
{
    DeviceSettings s = DefaultSettings();
    s.chkRange = s.chkBand = s.chkDxCall = 1;
    s.chkBeep = s.chkPacket = s.chkRA2 = 1;
    return s;
}

void BM_BuildConfigFrame(benchmark::State &state)
{
    DeviceSettings settings = everythingOn();
    ConfigFrame frame{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildConfigFrame(settings, frame));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildConfigFrame);

void BM_ReadConfigFile(benchmark::State &state)
{
    const QByteArray file = *WriteConfigFile(everythingOn());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadConfigFile(file));
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_ReadConfigFile);

void BM_WriteConfigFile(benchmark::State &state)
{
    const DeviceSettings settings = everythingOn();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteConfigFile(settings));
}
BENCHMARK(BM_WriteConfigFile);

} // namespace

BENCHMARK_MAIN();
