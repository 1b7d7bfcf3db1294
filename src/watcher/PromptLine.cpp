#include "PromptLine.h"

#include "PromptRecognizer.h"

bool isUserPrompt(std::string_view line) noexcept {
    // One recogniser per thread keeps the function free of shared state while its parsers
    // are reused from line to line.
    thread_local PromptRecognizer recognizer;
    return recognizer.isUserPrompt(line);
}
