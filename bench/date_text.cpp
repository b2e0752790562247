#include "bench/date_text.h"

namespace talveron::bench {

namespace {

void PutDigits(char* out, int value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

DateText MakeDateText(int year, int month, int day) {
    DateText date{};
    PutDigits(date.data(), year, 4);
    PutDigits(date.data() + 4, month, 2);
    PutDigits(date.data() + 6, day, 2);
    return date;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

}  // namespace talveron::bench
