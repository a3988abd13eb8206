// The control beside the two builds that must fail: the form reaches the classic sky.
#include "core/astro/astronomy.h"
#include "core/chart/birth_form.h"
