// Command and control identifiers of the dialog templates (ui/resources/setup.rc).
#pragma once

constexpr int OkCommand = 1;            // OK, I Agree; also the Enter key
constexpr int CancelCommand = 2;        // Cancel, Exit; also Escape and the caption's close box
constexpr int MeterFrameControl = 101;  // the black frame the working dialogs' meter is drawn in
constexpr int GroupNameEdit = 102;
constexpr int DestinationEdit = 104;
