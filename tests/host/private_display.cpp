// Window tests get an X server of their own. Other test programs that open
// windows at the same time (ctest runs several at once) would take the
// keyboard focus, and focus decides whether the host suspends; a private
// server also keeps our xdotool input away from their windows.
//
// Linked into each window test program: before main, the program runs
// itself again under xvfb-run (which picks a free display number), unless it
// already runs under the one it started. When xvfb-run cannot be started the
// program carries on with the display it was given.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* kMarker = "TOLVAR_HOST_TEST_PRIVATE_X";

// The program's own arguments, from /proc/self/cmdline.
std::vector<std::string> OwnArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    size_t start = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i] == '\0') {
            args.push_back(all.substr(start, i - start));
            start = i + 1;
        }
    }
    return args;
}

struct PrivateDisplay {
    PrivateDisplay() {
        if (getenv(kMarker)) return;
        char self[4096];
        ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0) return;
        self[n] = '\0';
        setenv(kMarker, "1", 1);
        std::vector<std::string> args = {"xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp",
                                         self};
        std::vector<std::string> own = OwnArguments();
        if (own.size() > 1) args.insert(args.end(), own.begin() + 1, own.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
    }
} privateDisplay;

}  // namespace
