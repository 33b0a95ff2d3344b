#pragma once

#include "print/sheetkit.h"

// The sections the data sheet and the archive sheet share, in their print order.
namespace propertysections {

// "Cím": the full address and the lot number.
void address(Report &report, const RowValues &property);
// " Általános adatok ": years, areas, price, rooms; the archive sheet adds the minimum price.
void general(Report &report, const RowValues &property, bool withMinimumPrice);
// "Megbízó": the principal's name, address and phone.
void principal(Report &report, const RowValues &property);

} // namespace propertysections
