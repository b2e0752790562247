#include "run/line_chunk.h"

namespace talveron {

bool LineChunk::fill(LineReader& reader, std::int64_t linesBefore, std::size_t targetBytes) {
    firstLineNumber_ = linesBefore + 1;
    return reader.fill(block_, targetBytes, kMaxChunkLines);
}

}  // namespace talveron
