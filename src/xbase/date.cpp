// Julian day arithmetic (Fliegel and Van Flandern's integer formulas).
#include "xbase/date.h"

#include <ctime>

namespace xb {

Jdn jdnFromYmd(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return kEmptyDate;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    int dim = days[m - 1] + (m == 2 && leap ? 1 : 0);
    if (d > dim) return kEmptyDate;
    long a = (14 - m) / 12;
    long yy = y + 4800 - a;
    long mm = m + 12 * a - 3;
    return Jdn(d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045);
}

void ymdFromJdn(Jdn jdn, int& year, int& month, int& day) {
    long a = jdn + 32044;
    long b = (4 * a + 3) / 146097;
    long c = a - 146097 * b / 4;
    long d = (4 * c + 3) / 1461;
    long e = c - 1461 * d / 4;
    long m = (5 * e + 2) / 153;
    day = int(e - (153 * m + 2) / 5 + 1);
    month = int(m + 3 - 12 * (m / 10));
    year = int(100 * b + d - 4800 + m / 10);
}

Jdn jdnFromDbf(const char* p) {
    int v[8];
    for (int i = 0; i < 8; ++i) {
        if (p[i] < '0' || p[i] > '9') return kEmptyDate;
        v[i] = p[i] - '0';
    }
    int y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
    int m = v[4] * 10 + v[5];
    int d = v[6] * 10 + v[7];
    return jdnFromYmd(y, m, d);
}

void jdnToDbf(Jdn jdn, char* p) {
    if (jdn <= 0) {
        for (int i = 0; i < 8; ++i)
            p[i] = ' ';
        return;
    }
    int y, m, d;
    ymdFromJdn(jdn, y, m, d);
    if (y < 0 || y > 9999) {
        for (int i = 0; i < 8; ++i)
            p[i] = ' ';
        return;
    }
    p[0] = char('0' + y / 1000);
    p[1] = char('0' + y / 100 % 10);
    p[2] = char('0' + y / 10 % 10);
    p[3] = char('0' + y % 10);
    p[4] = char('0' + m / 10);
    p[5] = char('0' + m % 10);
    p[6] = char('0' + d / 10);
    p[7] = char('0' + d % 10);
}

std::string jdnToDtos(Jdn jdn) {
    std::string s(8, ' ');
    jdnToDbf(jdn, s.data());
    return s;
}

Jdn today() {
    // Filters and keys ask for every record; the calendar only changes once a minute at most.
    static thread_local std::time_t cachedMinute = -1;
    static thread_local Jdn cached = 0;
    std::time_t t = std::time(nullptr);
    if (t / 60 == cachedMinute) return cached;
    cachedMinute = t / 60;
    std::tm tm{};
    localtime_r(&t, &tm);
    cached = jdnFromYmd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return cached;
}

}  // namespace xb
