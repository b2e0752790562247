#pragma once

#include <array>
#include <string_view>

#include "config/record_layout.h"
#include "engine/rule.h"

namespace talveron {

/// The bytes a field type allows: ASCII letters of either case, digits, a few more letters of
/// either case and a few other bytes as they are.
struct CharacterClass {
    bool letters = false;
    bool digits = false;
    std::string_view someLetters;  ///< upper-case letters, allowed in either case
    std::string_view others;       ///< further bytes, allowed as they are

    constexpr bool allows(char c) const {
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        const bool letter = upper >= 'A' && upper <= 'Z';
        return (letters && letter) || (digits && c >= '0' && c <= '9') ||
               (letter && someLetters.find(upper) != std::string_view::npos) ||
               others.find(c) != std::string_view::npos;
    }
};

/// A type whose every character must be in its class. The rule's message is the part before the
/// offending character.
struct CharacterSet {
    CharacterClass allowed;
    Rule rule;
    /// allowed.allows() of every byte, so that a character costs one lookup.
    std::array<bool, 256> table;
    /// Whether the class allows every byte of `text`, judged sixteen bytes at a time: the same
    /// verdict as allows() on each byte. Reads no further than `readableEnd` (at or after the
    /// end of `text`).
    bool (*allAllowed)(std::string_view text, const char* readableEnd);
};

/// The character rule of a field type; nullptr for a type without one.
const CharacterSet* CharacterSetOf(FieldType type);

}  // namespace talveron
