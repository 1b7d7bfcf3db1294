#pragma once

#include "app/cli/CommandLine.h"

struct StatusSnapshot;

// The short-lived commands for bars and scripts. They talk to the running Zentrel over the
// session bus or read what it stored; they never claim the single instance, watch transcripts
// or write to the store.
class Tool {
public:
    explicit Tool(Invocation invocation);

    // The process's exit code: 0 done, 1 failed (one line on standard error).
    int run();

private:
    int status();
    int followStatus();
    int complete();
    int explain();
    void printStatus(const StatusSnapshot& status) const;

    Invocation m_invocation;
};
