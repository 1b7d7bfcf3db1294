# The prompt recogniser: the sources that need neither Qt nor the rest of the watcher. The watcher
# library and the clang-built fuzzer (fuzz/) both build from this one list.
set(zentrel_recognizer_sources
  PromptLine.cpp
  PromptRecognizer.cpp
  CopyKey.cpp
  PromptPrefilter.cpp
  PromptScreen.cpp
  PromptRules.cpp
  LineVerdict.cpp
  PaddedLine.cpp
)
