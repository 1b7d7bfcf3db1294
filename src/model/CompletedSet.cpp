#include "CompletedSet.h"
