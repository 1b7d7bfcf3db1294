#include "RunBenchmarks.h"

#include <QCoreApplication>

// The main of the benchmarks that run a FileWatcher: its timer and the copy index's hand-over to
// the main thread need an application object, though the benchmarks poll by hand.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return runBenchmarks(argc, argv);
}
