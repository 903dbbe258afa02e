#include "InternetTime.h"

#include <algorithm>
#include <cstdio>

namespace furrow::InternetTime {

namespace {

using namespace std::chrono;

// The four-digit years of the form. Instants outside them have no text of this form; they are
// written as the nearest representable second so that the document stays readable.
constexpr sys_seconds kFirst = sys_days(year(0) / January / 1);
constexpr sys_seconds kLast
    = sys_days(year(9999) / December / 31) + hours(23) + minutes(59) + seconds(59);

// Reads `count` decimal digits at `at`; none when any of them is not a digit.
std::optional<int> digits(std::string_view text, size_t at, size_t count)
{
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool isChar(std::string_view text, size_t at, char upper)
{
    return text[at] == upper || text[at] == char(upper - 'A' + 'a');
}

// The zone part: "Z" or "+hh:mm"/"-hh:mm"; the offset to subtract to reach UTC.
std::optional<minutes> zoneOffset(std::string_view zone)
{
    if (zone.size() == 1 && isChar(zone, 0, 'Z'))
        return minutes(0);
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':')
        return std::nullopt;
    const auto h = digits(zone, 1, 2);
    const auto m = digits(zone, 4, 2);
    if (!h || !m || *h > 23 || *m > 59)
        return std::nullopt;
    const minutes offset = hours(*h) + minutes(*m);
    return zone[0] == '-' ? -offset : offset;
}

} // namespace

std::string format(Instant instant)
{
    const sys_seconds whole = std::clamp(floor<seconds>(instant), kFirst, kLast);
    const sys_days day = floor<days>(whole);
    const year_month_day date(day);
    const hh_mm_ss time(whole - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

std::optional<Instant> parse(std::string_view text)
{
    // yyyy-MM-ddTHH:mm:ss followed by the zone; a fraction or a missing time fails the shape.
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || !isChar(text, 10, 'T')
        || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto y = digits(text, 0, 4);
    const auto mo = digits(text, 5, 2);
    const auto d = digits(text, 8, 2);
    const auto h = digits(text, 11, 2);
    const auto mi = digits(text, 14, 2);
    const auto s = digits(text, 17, 2);
    const auto offset = zoneOffset(text.substr(19));
    if (!y || !mo || !d || !h || !mi || !s || !offset || *h > 23 || *mi > 59 || *s > 59)
        return std::nullopt;
    const year_month_day date{year(*y), month(unsigned(*mo)), day(unsigned(*d))};
    if (!date.ok())
        return std::nullopt;
    const sys_seconds local = sys_days(date) + hours(*h) + minutes(*mi) + seconds(*s);
    return Instant(local - *offset);
}

} // namespace furrow::InternetTime
