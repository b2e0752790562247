#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "bench/date_text.h"
#include "bench/random_stream.h"

namespace talveron::bench {

/// The identity and the fixed values of one monitored person, the same on each of their records.
class Person {
public:
    /// Person number `index` of a file. Identifiers are unique per index (up to 900 million
    /// people) and scrambled by `idSalt`; with `blankIdentifier` every person has an empty
    /// Employee_ID of type SSN, as when a licensee left the column blank.
    static Person Make(std::uint64_t index, std::uint64_t idSalt, bool blankIdentifier,
                       RandomStream& random);

    std::string_view employeeId() const { return {id_.data(), idLength_}; }
    std::string_view idType() const { return idType_; }
    std::string_view firstName() const { return firstName_; }
    std::string_view lastName() const { return lastName_; }
    std::string_view middleInitial() const {
        return {&middleInitial_, middleInitial_ == ' ' ? 0u : 1u};
    }
    std::string_view birthDate() const { return View(birthDate_); }
    std::string_view sex() const { return {&sex_, 1}; }
    std::string_view facilityCode() const { return facilityCode_; }
    std::string_view occupation() const { return occupation_; }

private:
    std::array<char, 12> id_{};
    std::size_t idLength_ = 0;
    std::string_view idType_;
    std::string_view firstName_;
    std::string_view lastName_;
    char middleInitial_ = ' ';
    DateText birthDate_{};
    char sex_ = 'U';
    std::string_view facilityCode_;
    std::string_view occupation_;
};

}  // namespace talveron::bench
