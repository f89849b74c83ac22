#include "ui/PumpMessages.h"

#include "setup/SetupState.h"

void PumpMessages() {
    if (SetupState.MessagePump) SetupState.MessagePump();
}
