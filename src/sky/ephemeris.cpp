#include "sky/ephemeris.h"
