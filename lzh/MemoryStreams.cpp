#include "lzh/MemoryStreams.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "lzh/LZHFormat.h"
#include "lzh/LZHUnpack.h"
#include "setup/SetupState.h"

namespace {

// The state of the one decoding in progress; LZHByteProc has no context argument. The procedures
// work on plain pointers, as they run once per byte.
struct MemoryStreamState {
    const std::uint8_t* Next = nullptr;  // the archive's next byte
    const std::uint8_t* End = nullptr;
    std::vector<std::uint8_t>* Output = nullptr;
    std::uint8_t* Out = nullptr;  // where the next decoded byte goes in *Output
    std::uint8_t* OutEnd = nullptr;
    std::uint64_t DryReads = 0;
};
MemoryStreamState Current;

void MemorySource(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    if (count == 0) {
        actual = 0;
        return;
    }
    const std::size_t n = std::min<std::size_t>(count, static_cast<std::size_t>(Current.End - Current.Next));
    if (n == 0) {
        actual = 0;
        ++Current.DryReads;
        return;
    }
    std::memcpy(buffer, Current.Next, n);
    Current.Next += n;
    actual = static_cast<std::uint16_t>(n);
}

// Any count: the output has room for all a decoding of its size can give. Out of line, so that
// the one-byte way needs no stack frame.
[[gnu::noinline]] void SinkBlock(const void* buffer, std::uint16_t count) {
    if (static_cast<std::size_t>(Current.OutEnd - Current.Out) < count)
        throw std::logic_error("LZHUnpack gave more bytes than its size allows");
    if (count > 0) std::memcpy(Current.Out, buffer, count);
    Current.Out += count;
}

// The decoder's one byte per call takes the short way.
void MemorySink(void* buffer, std::uint16_t count, std::uint16_t& actual) {
    actual = count;
    if (count == 1 && Current.Out != Current.OutEnd) {
        *Current.Out++ = *static_cast<const std::uint8_t*>(buffer);
        return;
    }
    SinkBlock(buffer, count);
}

// Sets ContinueFlag for one decoding and puts back the caller's state on every way out.
class DecodingScope {
public:
    DecodingScope(std::span<const std::uint8_t> archive, std::vector<std::uint8_t>& output)
        : saved_(Current), savedFlag_(SetupState.ContinueFlag) {
        Current = MemoryStreamState{archive.data(), archive.data() + archive.size(), &output,
                                    output.data(), output.data() + output.size(), 0};
        SetupState.ContinueFlag = 1;
    }

    // What the procedures did: the bytes written become the output.
    void Collect(std::span<const std::uint8_t> archive, MemoryDecodeResult& result) const {
        result.Output.resize(static_cast<std::size_t>(Current.Out - result.Output.data()));
        result.BytesDelivered = static_cast<std::uint64_t>(Current.Next - archive.data());
        result.DryReads = Current.DryReads;
    }
    ~DecodingScope() {
        Current = saved_;
        SetupState.ContinueFlag = savedFlag_;
    }
    DecodingScope(const DecodingScope&) = delete;
    DecodingScope& operator=(const DecodingScope&) = delete;

private:
    MemoryStreamState saved_;
    std::int32_t savedFlag_;
};

}  // namespace

MemoryDecodeResult DecodeMemory(std::span<const std::uint8_t> archive, std::int32_t size) {
    MemoryDecodeResult result;
    // Room for all the decoder can give: its last match may run MaxMatch - 1 bytes past the size.
    if (size > 0) result.Output.resize(static_cast<std::size_t>(size) + MaxMatch - 1);
    DecodingScope scope(archive, result.Output);
    LZHUnpack(size, MemorySource, MemorySink);
    scope.Collect(archive, result);
    return result;
}
