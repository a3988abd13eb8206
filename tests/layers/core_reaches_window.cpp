// A build of this file must fail: a core library does not reach the windows' headers.
#include "gui/kit/appearance.h"
