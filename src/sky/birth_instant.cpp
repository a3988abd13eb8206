#include "sky/birth_instant.h"
