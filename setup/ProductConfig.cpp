#include "setup/ProductConfig.h"

ProductConfigRecord ProductConfig;
