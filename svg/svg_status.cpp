#include "svg/svg_status.h"
