// Start-up to the first presented frame: kelvora_startup (beside this program) is started as a
// new process in the scratch folder and timed until it has presented the intro's first frame
// and ended; see startup_probe.cpp. Wall-clock time, since most of it is not this process's.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "BenchGame.h"

extern char** environ;

namespace {

void BM_StartUp(benchmark::State& state) {
  if (std::string error = bench::LinkData(); !error.empty()) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::string probe = (bench::ExecutableFolder() / "kelvora_startup").string();
  char* argv[] = {const_cast<char*>(probe.c_str()), nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv, environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("kelvora_startup did not reach its first frame");
      break;
    }
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
