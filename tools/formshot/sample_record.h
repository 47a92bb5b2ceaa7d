// Sample values for the collection's fields, found by the name a definition
// source gives a bound variable ("HTA:TITLE"), and sample rows for the queues
// that its lists show ("compilation rows"). One home tape, one item recorded on
// it and one commercial video, with the lookup names around them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rk::formshot {

// The value as the runtime stores it (day numbers for dates, time values for
// times, CR LF between the lines of a memo); empty when the name has none.
std::string SampleValue(std::string_view variable);

// The rows of a queue, each a list of field values in queue field order.
std::vector<std::vector<std::string>> SampleRows(std::string_view queue);

}  // namespace rk::formshot
