// The process-wide run-time state that the steps of an installation hand to each other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bundle/BundleDirectory.h"
#include "lzh/LZHByteProc.h"
#include "setup/CheckedFile.h"
#include "ui/ProgressMeter.h"

// Window system handles, opaque to the portable code.
using PlatformHandle = void*;

constexpr std::size_t DecoderBufferSize = 2064;

struct SetupStateRecord {
    std::string SourceDir;
    std::string DestDir;
    std::string WindowsDir;  // at most 255 characters
    // 1 while the running working dialog may go on; every copy and decode loop tests it.
    std::int32_t ContinueFlag = 0;
    // Access for opening existing files: 0 read-only, 1 write-only, 2 (and above) read-write.
    std::uint8_t FileOpenMode = 2;

    std::vector<std::uint8_t> SourceBuffer;
    std::vector<std::uint8_t> SinkBuffer;
    LZHByteProc DecoderSource = nullptr;
    LZHByteProc DecoderSink = nullptr;

    BundleDirectoryList BundleDirectory;
    std::int32_t BundleTotal = 0;

    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    PlatformHandle BackgroundWindow = nullptr;
    PlatformHandle LogoBitmap = nullptr;

    std::int32_t DialogResult = 0;
    bool AbortFlag = false;

    ProgressMeterRecord ProgressMeter;
    // Drains the thread's message queue; set by the Win32 program, empty where there is no window.
    void (*MessagePump)() = nullptr;

    // The decoder's byte source and sink (1-based buffer positions).
    std::uint16_t SourcePos = 1;
    std::int32_t SourceFill = 0;
    CheckedFile ArchiveHandle;
    std::uint16_t SinkPos = 1;
    CheckedFile BundleHandle;
    std::int32_t SinkWritten = 0;
    // How the decoding used the archive: bytes handed to the decoder, and reads that found it used up.
    std::int64_t SourceDelivered = 0;
    std::int64_t SourceDryReads = 0;

    // What this run made, so that the clean-up deletes nothing that was there before.
    bool ArchiveCreated = false;
    bool BundleCreated = false;
};

extern SetupStateRecord SetupState;
