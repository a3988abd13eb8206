// A build of this file must fail: the classic sky sits below the form, so the form's
// headers are out of its reach.
#include "core/chart/birth_form.h"
