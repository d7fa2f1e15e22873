// meshlook-cli as a user runs it, each iteration one whole process: `info --json` of the real
// dwarf.cob, and `render` of one sample model and of the whole sample archive (--all), with
// the time per model. Each figure is the median over single runs; starting /bin/true shows
// what any process costs on the machine at the time.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char** environ;

namespace {

constexpr int SAMPLE_MODELS = 6; // make_samples writes six polymodels into demo.hog

// A memory-backed folder where there is one, so the figures measure the program, not the disk.
fs::path bench_folder() {
    std::error_code ec;
    fs::path root =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path folder = root / ("meshlook-cli-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    return folder;
}

// Runs the program with standard output and error discarded; true when it exits with 0.
bool run(const std::string& program, const std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    int status = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status == 0;
}

fs::path samples_folder; // made on first use, removed at the end

const fs::path& samples() {
    if (samples_folder.empty()) {
        samples_folder = bench_folder();
        run(MAKE_SAMPLES_PATH, {samples_folder.string()});
    }
    return samples_folder;
}

// Times whole runs of a program; `models` > 0 adds the time per model as a counter.
void time_runs(benchmark::State& state, const std::string& program,
               const std::vector<std::string>& args, int models = 0) {
    double total = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        bool ok = run(program, args);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError((program + " failed").c_str());
            return;
        }
        state.SetIterationTime(seconds);
        total += seconds;
    }
    if (models > 0)
        state.counters["ms_per_model"] =
            benchmark::Counter(total * 1000 / models, benchmark::Counter::kAvgIterations);
}

void BM_ProcessStartFloor(benchmark::State& state) {
    time_runs(state, "/bin/true", {});
}
BENCHMARK(BM_ProcessStartFloor)
    ->Iterations(1)
    ->Repetitions(201)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_InfoJsonDwarfCob(benchmark::State& state) {
    fs::path dwarf = fs::path(MESHLOOK_TESTDATA_DIR) / "cob" / "dwarf.cob";
    if (!fs::exists(dwarf)) {
        state.SkipWithError("no shared dwarf.cob");
        return;
    }
    time_runs(state, MESHLOOK_CLI_PATH, {"info", dwarf.string(), "--json"});
}
BENCHMARK(BM_InfoJsonDwarfCob)
    ->Iterations(1)
    ->Repetitions(201)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_RenderOneSample(benchmark::State& state) {
    fs::path out = samples() / "one.png";
    std::string entry = (samples() / "demo.hog").string() + ":station.oof";
    time_runs(state, MESHLOOK_CLI_PATH, {"render", entry, "-o", out.string()});
}
BENCHMARK(BM_RenderOneSample)
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_RenderAllSamples(benchmark::State& state) {
    fs::path out = samples() / "all";
    time_runs(state, MESHLOOK_CLI_PATH,
              {"render", (samples() / "demo.hog").string(), "--all", "-o", out.string()},
              SAMPLE_MODELS);
}
BENCHMARK(BM_RenderAllSamples)
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    if (!samples_folder.empty())
        fs::remove_all(samples_folder, ec);
    return 0;
}
