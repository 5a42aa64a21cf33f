#include "demo_data.h"
