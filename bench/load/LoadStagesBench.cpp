// Time of each stage of loading a long drive in process: replay decoding, telemetry
// attachment (version 7, and the other file layouts), derived values and lap cutting, and
// saved-laps encoding and reading.
#include <benchmark/benchmark.h>

#include "ReplayBuilder.h"
#include "telemetry/TelFormat.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/SavedLapsFile.h"
#include "viewer/load/TelemetryAttachment.h"

namespace lv {
namespace {

constexpr int kFrames = 500000;
constexpr int kFramesPerLap = 7200;

std::int32_t distanceAt(int frame) {
  return 1000 + 1000 * (frame % kFramesPerLap);
}

const std::vector<std::uint8_t>& replay() {
  static const std::vector<std::uint8_t> bytes = [] {
    test::ReplayPlan plan;
    plan.frames.resize(kFrames);
    for (int s = 0; s < kFrames; ++s) {
      test::FramePlan& frame = plan.frames[static_cast<std::size_t>(s)];
      test::setDistance(frame, static_cast<std::uint32_t>(distanceAt(s)));
      frame.frameNumber = s;
      frame.clockFlag = 0;
      frame.clock = static_cast<std::uint32_t>(s * 100 / 60);
      frame.statusSlotValue = 0;
    }
    return test::buildReplay(plan);
  }();
  return bytes;
}

std::vector<TelemetrySample> telemetrySamples() {
  std::vector<TelemetrySample> samples(kFrames + 50);
  for (int r = 0; r < kFrames + 50; ++r) {
    TelemetrySample& sample = samples[static_cast<std::size_t>(r)];
    sample[TelemetrySample::kLapDistance] =
        r < 50 ? 0.25f * static_cast<float>(r) : static_cast<float>(distanceAt(r - 50)) / 2000.0f;
    sample[TelemetrySample::kMapX] = static_cast<float>(r % 977);
    sample[TelemetrySample::kMapY] = static_cast<float>(r % 601);
    sample[TelemetrySample::kSpeed] = 200.0f;
    for (int w = 0; w < 4; ++w)
      for (int v = 0; v < 3; ++v) sample[TelemetrySample::tyreTemp(w, v)] = 350.0f;
  }
  return samples;
}

const std::vector<std::uint8_t>& telemetry() {
  static const std::vector<std::uint8_t> bytes =
      encodeTelFile(7, TelLayout::kVersion7, telemetrySamples());
  return bytes;
}

// The same drive in the file layout of a version word: 7, 6, 5, 1, 3 (by time) or 0 (no
// version word).
std::vector<std::uint8_t> telemetryOfVersion(std::int32_t word) {
  TelFileShape shape = telFileShape(word);
  std::vector<TelemetrySample> samples = telemetrySamples();
  std::vector<float> times(samples.size());
  for (std::size_t r = 0; r < times.size(); ++r) times[r] = static_cast<float>(r) * 0.016f;
  return encodeTelFile(word, shape.layout, samples, times);
}

ViewerStores& freshStores() {
  static ViewerStores* stores = new ViewerStores();
  stores->sampleCount = 0;
  stores->lapCount = 0;
  return *stores;
}

void decodeReplay(benchmark::State& state) {
  const std::vector<std::uint8_t>& bytes = replay();
  for (auto _ : state) {
    ViewerStores& stores = freshStores();
    benchmark::DoNotOptimize(readReplay(bytes, stores).end);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * replay().size()));
}

void attachVersion7(benchmark::State& state) {
  ViewerStores& stores = freshStores();
  int end = readReplay(replay(), stores).end;
  const std::vector<std::uint8_t>& bytes = telemetry();
  for (auto _ : state) attachTelemetry(bytes, stores, 0, end, 60);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * telemetry().size()));
}

void attachEveryVersion(benchmark::State& state) {
  ViewerStores& stores = freshStores();
  int end = readReplay(replay(), stores).end;
  std::vector<std::uint8_t> bytes = telemetryOfVersion(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) attachTelemetry(bytes, stores, 0, end, 60);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void deriveAndCut(benchmark::State& state) {
  ViewerStores& stores = freshStores();
  int end = readReplay(replay(), stores).end;
  attachTelemetry(telemetry(), stores, 0, end, 60);
  LapRecords records;
  for (auto _ : state) {
    stores.lapCount = 0;
    LapList list;
    LapSource source;
    source.fps = 60;
    source.records = &records;
    deriveSampleValues(stores, 0, end);
    cutLaps(stores, list, source, 0, end);
    benchmark::DoNotOptimize(stores.lapCount);
  }
}

void savedLapsRoundTrip(benchmark::State& state) {
  ViewerStores& stores = freshStores();
  stores.sampleCount = readReplay(replay(), stores).end;
  std::vector<std::uint8_t> file = encodeSavedLaps(stores);
  for (auto _ : state) {
    stores.sampleCount = 0;
    benchmark::DoNotOptimize(readSavedLaps(file, stores));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

BENCHMARK(decodeReplay)->Unit(benchmark::kMillisecond);
BENCHMARK(attachVersion7)->Unit(benchmark::kMillisecond);
BENCHMARK(attachEveryVersion)
    ->Arg(6)
    ->Arg(5)
    ->Arg(1)
    ->Arg(3)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(deriveAndCut)->Unit(benchmark::kMillisecond);
BENCHMARK(savedLapsRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lv

BENCHMARK_MAIN();
