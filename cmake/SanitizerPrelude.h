// Included first in sanitizer builds: GCC 12 instrumented for ASan reports a false "may be used uninitialized" inside
// std::regex. Its code is compiled under this one suppression; the project's own code keeps every warning.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop
