// The Win32 message draining behind PumpMessages.
#pragma once

// Takes every message from the thread's queue and dispatches it; a quit message is dropped, so the
// setup does not end because of one. No dialog keyboard handling: keys reach the focused control.
void DrainMessageQueue();
