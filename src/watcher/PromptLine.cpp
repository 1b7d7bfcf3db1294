#include "PromptLine.h"
