#pragma once

// Restricts the DLL search of this process to the system directory, so that a DLL planted beside
// the program (a download folder, a distribution disk) is never loaded on demand. Resolved at run
// time: where the call does not exist the program still starts.
void RestrictDllSearchToSystem();
