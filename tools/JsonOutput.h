#ifndef VISDK_TOOLS_JSON_OUTPUT_H
#define VISDK_TOOLS_JSON_OUTPUT_H

#include <nlohmann/json.hpp>

namespace visdk {

// Members keep the order they were set in, so the JSON reads like the text form.
using Json = nlohmann::ordered_json;

// Prints the object as the command's whole standard output; text that is not UTF-8 is printed with U+FFFD.
void PrintJson(const Json& object);

} // namespace visdk

#endif
