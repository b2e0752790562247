#pragma once

#include <cstdint>
#include <istream>

#include "ui/finding_reader.h"
#include "ui/results_index.h"
#include "ui/section_reader.h"

namespace talveron {

/// The findings of one results file, each read from its own section through the file's index:
/// only the section asked for is read and held.
class FindingSource {
public:
    /// Reads `input` (seekable: the file `index` was made of); both must outlive the source.
    FindingSource(std::istream& input, const ResultsIndex& index) : index_(index), reader_(input) {}

    /// Finding `number`; a number without a section reads as the defaults, "0" everywhere.
    ResultsFinding finding(std::int64_t number);
    /// The number of findings, as the index counts them.
    std::int64_t total() const { return index_.total(); }

private:
    const ResultsIndex& index_;
    SectionReader reader_;
};

}  // namespace talveron
