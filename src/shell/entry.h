// Program entry: opens the window, makes the platform game and the
// application, runs the frame loop. Returns the exit status.
#pragma once

#include <functional>
#include <memory>

class c_App;

using AppFactory = std::function<std::unique_ptr<c_App>()>;

int RunGame(const AppFactory& makeApp);
