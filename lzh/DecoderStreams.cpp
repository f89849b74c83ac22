#include "lzh/DecoderStreams.h"

#include <algorithm>
#include <cstring>

#include "setup/SetupState.h"
#include "ui/ProgressMeter.h"
#include "ui/PumpMessages.h"

namespace {

// Both buffers are counted from element 1, as the positions in SetupState are.
std::uint8_t* Element(std::vector<std::uint8_t>& buffer, std::int32_t position) {
    return buffer.data() + (position - 1);
}

}  // namespace

void ArchiveSource(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    SetupStateRecord& s = SetupState;
    if (s.ContinueFlag == 0) {
        actual = 0;
        return;
    }
    if (s.SourcePos > s.SourceFill || s.SourcePos + count > s.SourceFill + 1) {
        if (s.SourcePos > s.SourceFill) {
            s.SourceFill = static_cast<std::int32_t>(s.ArchiveHandle.Read(Element(s.SourceBuffer, 1), DecoderBlockSize));
        } else {
            // Only a request of more than one byte gets here: keep the unread bytes in front.
            const std::int32_t unread = s.SourceFill - s.SourcePos + 1;
            std::memmove(Element(s.SourceBuffer, 1), Element(s.SourceBuffer, s.SourcePos), unread);
            const std::uint32_t more = s.ArchiveHandle.Read(Element(s.SourceBuffer, unread + 1),
                                                            DecoderBlockSize - static_cast<std::uint32_t>(unread));
            s.SourceFill = unread + static_cast<std::int32_t>(more);
        }
        if (s.SourceFill == 0) {
            ++s.SourceDryReads;
            actual = 0;
            return;
        }
        s.SourcePos = 1;
        // Once per block rather than per byte: an empty drain costs a round trip to the window system.
        PumpMessages();
    }
    const std::int32_t valid = std::clamp<std::int32_t>(s.SourceFill + 1 - s.SourcePos, 0, count);
    std::memcpy(buffer, Element(s.SourceBuffer, s.SourcePos), static_cast<std::size_t>(valid));
    s.SourcePos = static_cast<std::uint16_t>(s.SourcePos + count);
    actual = static_cast<std::uint16_t>(valid);
    s.SourceDelivered += valid;
}

void BundleSink(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    SetupStateRecord& s = SetupState;
    if (s.ContinueFlag == 0) {
        actual = 0;
        return;
    }
    const auto held = static_cast<std::uint32_t>(s.SinkPos - 1);
    if (count == 0) {
        s.BundleHandle.Write(Element(s.SinkBuffer, 1), held);
        return;
    }
    if (s.SinkPos > DecoderBlockSize || s.SinkPos + count > DecoderBlockSize + 1) {
        s.BundleHandle.Write(Element(s.SinkBuffer, 1), held);
        s.SinkWritten += static_cast<std::int32_t>(held);
        s.SinkPos = 1;
        MeterDraw(s.SinkWritten, s.BundleTotal, false);
    }
    std::memcpy(Element(s.SinkBuffer, s.SinkPos), buffer, count);
    s.SinkPos = static_cast<std::uint16_t>(s.SinkPos + count);
    actual = count;
}
