#pragma once

// Google Benchmark's own main body, for mains that first register benchmarks or set up Qt.
int runBenchmarks(int& argc, char** argv);
