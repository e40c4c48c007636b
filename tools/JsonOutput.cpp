#include "JsonOutput.h"

#include <cstdio>

namespace visdk {

void PrintJson(const Json& object)
{
    std::string text = object.dump(2, ' ', false, Json::error_handler_t::replace);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace visdk
