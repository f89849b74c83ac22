#include "tools/mkdisks/ProgressLine.h"

#include <algorithm>

ProgressLine::ProgressLine(std::ostream& log, std::string what, std::uint64_t total)
    : log_(log), what_(std::move(what)), total_(total), active_(total > Threshold) {}

ProgressLine::~ProgressLine() {
    if (active_ && shown_ >= 0) log_ << '\n' << std::flush;
}

void ProgressLine::Show(std::uint64_t done) {
    if (!active_) return;
    const int percent = static_cast<int>(std::min<std::uint64_t>(done, total_) * 100 / total_);
    if (percent == shown_) return;
    shown_ = percent;
    log_ << '\r' << what_ << ": " << percent << "% of " << (total_ + (1 << 19)) / (1 << 20) << " MB" << std::flush;
}
