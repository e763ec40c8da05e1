#include "schedulingframes.h"
