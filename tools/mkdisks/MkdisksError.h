// A failure of the disk-building tool. Its message is what the maker reads; it names the file or
// the fault and, where there is one, the way out.
#pragma once

#include <stdexcept>

class MkdisksError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
