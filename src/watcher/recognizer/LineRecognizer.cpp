#include "watcher/recognizer/LineRecognizer.h"

LinePrompts LineRecognizer::recognize(std::string_view line, Assistant assistant) {
    m_prompts.clear();
    const RecordRules* rules = recordRules(assistant);
    if (!rules) {
        if (const auto prompt = m_transcripts.isUserPrompt(line)) {
            m_prompts.push_back(prompt->identity);
        }
        return {m_prompts};
    }
    const bool uncounted = m_records.recognize(line, *rules, m_prompts);
    return {m_prompts, uncounted};
}
