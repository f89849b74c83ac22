// A running program cannot delete its own file. The uninstaller hands that last step to a copy of
// itself in the temp folder, which waits for the uninstaller to end, deletes it and the product
// folder when that is empty, and has itself deleted at the next restart.
#pragma once

#include <string>

void StartSelfRemoval(const std::string& ownPath, bool removeFolder);

// The copy's work when the command line asks for it; false for an ordinary start.
bool RunSelfRemovalIfAsked(int argc, char** argv);
