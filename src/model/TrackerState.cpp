#include "TrackerState.h"
