#include "meter_model.h"
