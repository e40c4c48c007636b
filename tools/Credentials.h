#ifndef VISDK_TOOLS_CREDENTIALS_H
#define VISDK_TOOLS_CREDENTIALS_H

#include <stdexcept>
#include <string>

namespace visdk {

struct Arguments;

// Where a password may come from, for the messages that ask for one.
extern const char kPasswordSources[];

// A login that cannot be made from what was given; main prints it without a --help hint and exits 2. Its text
// never holds the password.
struct LoginError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Login {
    std::string server, user, password;
};

// Overwrites the whole buffer, short-string storage included, before emptying it.
void Wipe(std::string& secret);

// The first line of PATH ("-": standard input) without its line end. A regular file that group or others may access is
// refused.
std::string ReadPasswordFile(const std::string& path);

// Server and user: --server/--user, else VISDK_SERVER/VISDK_USER, else the simulator's. Password: --password-file,
// else VISDK_PASSWORD, else the simulator's for its own account, else a prompt without echo when stdin is a
// terminal. VISDK_PASSWORD is blanked and taken out of the environment whichever source wins.
Login ChooseLogin(const Arguments& args);

} // namespace visdk

#endif
