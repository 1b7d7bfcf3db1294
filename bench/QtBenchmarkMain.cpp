#include <QCoreApplication>
#include <benchmark/benchmark.h>

// The main of the benchmarks that run a FileWatcher: its timer and the copy index's hand-over to
// the main thread need an application object, though the benchmarks poll by hand.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
