#include "FileWatcher.h"
