// Placeholder translation unit until the text library's operations arrive.
#include "runtime/text/types.h"
