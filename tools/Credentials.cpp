#include "Credentials.h"

#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "CliSupport.h"

namespace visdk {

const char kPasswordSources[] = "--password-file FILE or VISDK_PASSWORD, or run on a terminal to be asked";

namespace {

// The simulator's own account, used when the command line and the environment name no other.
const char kSimServer[] = "vcenter.sim.local";
const char kSimUser[] = "administrator@vsphere.local";
const char kSimPassword[] = "VMware1!";
const size_t kMaxPassword = 4096;

// Reads one line from fd into line, without its line end; false when it runs past kMaxPassword.
bool ReadLine(int fd, std::string& line)
{
    // Room for the longest, so no reallocation leaves a copy behind in freed memory.
    line.reserve(kMaxPassword + 1);
    char c;
    for (;;) {
        ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        if (line.size() == kMaxPassword)
            return false;
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// While echo is off, a signal that ends the run first gives the terminal its echo back.
struct termios s_saved;
volatile sig_atomic_t s_echoOff = 0;
const int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void RestoreEchoAndDie(int signal)
{
    if (s_echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &s_saved);
    ::signal(signal, SIG_DFL);
    raise(signal);
}

std::string Prompt(const Login& login)
{
    if (tcgetattr(STDIN_FILENO, &s_saved) != 0)
        throw LoginError(std::string("cannot switch the terminal's echo off: ") + strerror(errno));
    struct sigaction ending = {}, previous[sizeof kEndingSignals / sizeof kEndingSignals[0]];
    ending.sa_handler = RestoreEchoAndDie;
    sigemptyset(&ending.sa_mask);
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i)
        sigaction(kEndingSignals[i], &ending, &previous[i]);
    struct termios quiet = s_saved;
    // ECHONL still shows the Enter, so the next output starts on a line of its own.
    quiet.c_lflag = (quiet.c_lflag & ~static_cast<tcflag_t>(ECHO)) | ECHONL;
    s_echoOff = 1;
    // Echo goes off before the question shows, so nothing typed after it is ever echoed.
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    // The terminal itself, so the question is seen whatever stderr is redirected to.
    int tty = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    std::string question = "Password for " + login.user + " at " + login.server + ": ";
    ssize_t shown = write(tty >= 0 ? tty : STDERR_FILENO, question.data(), question.size());
    static_cast<void>(shown);

    std::string password;
    bool fits = ReadLine(STDIN_FILENO, password);

    tcsetattr(STDIN_FILENO, TCSANOW, &s_saved);
    s_echoOff = 0;
    for (size_t i = 0; i < sizeof kEndingSignals / sizeof kEndingSignals[0]; ++i)
        sigaction(kEndingSignals[i], &previous[i], nullptr);
    if (tty >= 0)
        close(tty);
    if (!fits || password.empty()) {
        Wipe(password);
        throw LoginError(fits ? "no password was typed" : "the typed password is longer than 4096 bytes");
    }
    return password;
}

std::string Chosen(const Arguments& args, const char* option, const char* variable, const char* fallback)
{
    if (args.Has(option)) {
        std::string value = args.Value(option);
        if (value.empty())
            throw UsageError(std::string("--") + option + " needs a value");
        return value;
    }
    const char* value = getenv(variable);
    return value && *value ? value : fallback;
}

// The password VISDK_PASSWORD holds ("" when none). The environment block is what /proc/PID/environ shows and what the
// runtime and any child would see: it is blanked in place and the variable removed.
std::string TakeEnvironmentPassword()
{
    char* value = getenv("VISDK_PASSWORD");
    if (!value)
        return "";
    std::string password = value;
    explicit_bzero(value, strlen(value));
    unsetenv("VISDK_PASSWORD");
    return password;
}

} // namespace

void Wipe(std::string& secret)
{
    secret.resize(secret.capacity());
    explicit_bzero(secret.data(), secret.size());
    secret.clear();
}

std::string ReadPasswordFile(const std::string& path)
{
    // "-" is standard input, piped from a secret store; a pipe has no mode to check.
    bool piped = path == "-";
    int fd = piped ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw LoginError("cannot read the password file '" + path + "': " + strerror(errno));
    struct stat info;
    std::string problem;
    if (fstat(fd, &info) != 0) {
        problem = strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        problem = "it is a directory";
    } else if (!piped && S_ISREG(info.st_mode) && (info.st_mode & 077) != 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
        problem = std::string("group or others have access to it (mode ") + mode + "); chmod 600 it";
    }
    std::string password;
    bool fits = problem.empty() && ReadLine(fd, password);
    if (!piped)
        close(fd);
    if (problem.empty() && !fits)
        problem = "its first line is longer than 4096 bytes";
    else if (problem.empty() && password.empty())
        problem = "its first line holds no password";
    if (!problem.empty()) {
        Wipe(password);
        throw LoginError("the password file '" + (piped ? std::string("standard input") : path) + "' is refused: " + problem);
    }
    return password;
}

Login ChooseLogin(const Arguments& args)
{
    std::string fromEnvironment = TakeEnvironmentPassword();
    Login login{Chosen(args, "server", "VISDK_SERVER", kSimServer), Chosen(args, "user", "VISDK_USER", kSimUser), ""};
    // An account inside the server name would put its password on the command line.
    size_t start = login.server.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    if (login.server.substr(start, login.server.find('/', start) - start).find('@') != std::string::npos)
        throw LoginError("the server name must not carry an account ('user@' or 'user:password@'): give --user, and the password through " +
                         std::string(kPasswordSources));

    if (args.Has("password-file")) {
        login.password = ReadPasswordFile(args.Value("password-file"));
        Wipe(fromEnvironment);
    } else if (!fromEnvironment.empty()) {
        login.password.swap(fromEnvironment);
    } else if (login.server == kSimServer && login.user == kSimUser) {
        login.password = kSimPassword;
    } else if (isatty(STDIN_FILENO)) {
        login.password = Prompt(login);
    } else {
        throw LoginError("no password for " + login.user + " at " + login.server + ": give " + kPasswordSources);
    }
    return login;
}

} // namespace visdk
