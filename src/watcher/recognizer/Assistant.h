#pragma once

#include <cstdint>
#include <string_view>

// The assistants whose logs are watched. Claude Code's transcripts are the first and most used, and
// have their own fast recogniser; the others' logs are judged by their rule tables (RecordRules).
enum class Assistant : std::uint8_t { Claude, Codex, Copilot, Qwen, Gemini };

// The assistant's name as a person knows it, e.g. "Gemini CLI".
std::string_view assistantName(Assistant assistant) noexcept;
