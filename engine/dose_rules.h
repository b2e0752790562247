#pragma once

#include <string>
#include <string_view>

#include "config/option_settings.h"
#include "engine/record_context.h"

namespace talveron {

/// DoseValueSyntax: the message for a dose value's syntax (first and last character, decimal
/// points, embedded blanks), the last applicable one; empty when the value passes. When `code` is
/// given, it receives the check code behind a non-empty message.
std::string DoseValueSyntax(std::string_view value, const OptionSettings& options,
                            OptionKey* code = nullptr);

/// Whether a trimmed dose value passes DoseValueSyntax (no message), told without composing one.
/// Reads no further than `readableEnd`, at or after the end of the value.
bool DoseSyntaxPasses(std::string_view trimmedValue, const OptionSettings& options,
                      const char* readableEnd);

/// The message for a character a dose value must not hold: "Invalid character '", the character,
/// then the rest of the message (which closes the quote).
std::string InvalidCharacterMessage(char offending, std::string_view rest);

/// CheckDoseValues: the intake correlation, then the limits, NC rules and sums of a dose record.
void CheckDoseValues(RecordContext& record);

}  // namespace talveron
