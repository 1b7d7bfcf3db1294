#pragma once

#include <functional>

// The "Launch at login" switch's source of truth, supplied by the application shell:
// read afresh every time the switch is drawn, written when the user flips it.
struct LaunchAtLoginBinding {
    std::function<bool()> isEnabled;
    std::function<void(bool)> setEnabled; // failures are the shell's to swallow
};
