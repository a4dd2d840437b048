// Zelvanos: a quiz game in the manner of a television quiz show.

#include "platform/window.hpp"
#include "shell/menu.hpp"

int main() { return platform::run_windowed(shell::program); }
