#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/record_context.h"

namespace talveron {

/// Keeps the findings of records checked ahead of their turn, so that they reach the real sink
/// later, in the order they were reported. The message is copied; every other view of a finding
/// (the line, the field's value and name) must stay valid until the finding is replayed.
class FindingBuffer final : public FindingSink {
public:
    void writeFinding(const Finding& finding, const FindingPlace& place) override;

    void clear();
    /// The findings kept so far.
    std::size_t size() const { return stored_.size(); }
    /// Hands findings [first, last) to the sink, in the order they were reported.
    void replay(std::size_t first, std::size_t last, FindingSink& sink) const;

private:
    struct Stored {
        Finding finding;  // message left empty: it lives in messages_
        FindingPlace place;
        std::size_t messageStart = 0;
        std::size_t messageLength = 0;
    };
    std::vector<Stored> stored_;
    std::string messages_;
};

}  // namespace talveron
