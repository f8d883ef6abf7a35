#include "shell/display_check.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <filesystem>

namespace torvanik {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The value of -NAME or --NAME, empty when not given.
std::string OptionValue(const std::vector<std::string>& arguments, const std::string& name) {
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "-" + name || arguments[i] == "--" + name) {
            return arguments[i + 1];
        }
    }
    return "";
}

bool XDisplayOpens(const std::string& name) {
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

bool WaylandSocketExists() {
    const std::filesystem::path socket = Environment("WAYLAND_DISPLAY");
    if (socket.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::exists(
        socket.is_absolute() ? socket : Environment("XDG_RUNTIME_DIR") / socket, error);
}

}  // namespace

bool FindDisplay(const std::vector<std::string>& arguments) {
    if (!Environment("QT_QPA_PLATFORM").empty() || !OptionValue(arguments, "platform").empty()) {
        return true;
    }
    const std::string xDisplay = OptionValue(arguments, "display");
    if ((!xDisplay.empty() || !Environment("DISPLAY").empty()) && XDisplayOpens(xDisplay)) {
        return true;
    }
    if (WaylandSocketExists()) {
        setenv("QT_QPA_PLATFORM", "wayland", 1);
        return true;
    }
    return false;
}

}  // namespace torvanik
