#include "setup/SetupState.h"

SetupStateRecord SetupState;
