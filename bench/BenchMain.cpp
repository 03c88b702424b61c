// The benchmarks' entry: the environment (scratch folder, headless platform, fonts) set up
// before the first benchmark and taken down after the last.
#include <benchmark/benchmark.h>

#include "BenchGame.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const bench::TEnvironment environment;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
