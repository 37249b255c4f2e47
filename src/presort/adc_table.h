// The Area Distribution Centers built into the program, and the step that moves the ZIP keys
// left after the 5-digit and 3-digit stages into one group per center.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qb::presort {

struct AdcRow {
    std::string_view name;      // printed in the group header as it stands, double blanks too
    std::string_view prefixes;  // three-digit prefixes separated by single spaces
};

// The 96 centers in the order they are applied.
std::span<const AdcRow> adcTable();

// The index of the first row whose prefix text contains the key's first three characters,
// or -1 when no row does.
int adcRowFor(std::string_view key);

// Walks the table in order: every key of leftover (ascending) that belongs to a row goes,
// after a header "** ADC " + name written before the row's first key, to out; moved keys
// leave leftover, the rest stay there in order.
void extractAdc(std::vector<std::string>& leftover, std::vector<std::string>& out);

}  // namespace qb::presort
