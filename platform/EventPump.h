#pragma once

#include <functional>

// Called by waiting network code so the windows stay responsive (the GUI
// passes one that processes pending events). Empty means nothing to pump.
using EventPump = std::function<void()>;
