#pragma once

class FileWatcher;

// Runs the event loop until the watcher has indexed the content present at its start; polls read
// nothing before that.
void awaitCopyIndex(FileWatcher& watcher);
