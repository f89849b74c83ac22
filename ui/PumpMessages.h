#pragma once

// Drains the thread's message queue between units of work, so that a working dialog repaints and
// its Cancel button works; a quit message is taken and dropped. Does nothing where there is no
// window system (the tools and the native tests).
void PumpMessages();
