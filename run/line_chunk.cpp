#include "run/line_chunk.h"

namespace talveron {

bool LineChunk::fill(LineReader& reader, std::int64_t linesBefore, std::size_t targetBytes) {
    firstLineNumber_ = linesBefore + 1;
    bytes_.clear();
    ends_.clear();
    std::string_view line;
    // At least one line, whatever the target.
    while ((ends_.empty() || (bytes_.size() < targetBytes && ends_.size() < kMaxChunkLines)) &&
           reader.next(line)) {
        bytes_.append(line);
        ends_.push_back(bytes_.size());
    }
    return !ends_.empty();
}

}  // namespace talveron
