#include "PromptLine.h"

#include "PromptRecognizer.h"

namespace {

// One recogniser per thread keeps the functions free of shared state while its parsers
// are reused from line to line.
PromptRecognizer& recognizer() noexcept {
    thread_local PromptRecognizer instance;
    return instance;
}

} // namespace

bool isUserPrompt(std::string_view line) noexcept {
    return recognizer().isUserPrompt(line);
}

std::optional<RecognizedPrompt> recognizePrompt(std::string_view line) noexcept {
    return recognizer().recognize(line);
}
