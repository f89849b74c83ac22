// Our encoder for the stream that LZHUnpack reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Called now and then with the number of input bytes encoded so far.
using PackProgress = std::function<void(std::size_t done)>;

// The stream of data, ending at the byte that holds its last symbol's last bit.
std::vector<std::uint8_t> LZHPack(std::span<const std::uint8_t> data, const PackProgress& progress = {});
