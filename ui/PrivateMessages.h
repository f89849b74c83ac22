// The program's private window messages.
#pragma once

// Posted by a working dialog to itself at initialisation; its work runs in the handler, once the
// dialog is up and its modal loop is dispatching.
constexpr unsigned StartWorkMessage = 32000;
