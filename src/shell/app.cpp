#include "shell/app.h"

#include "shell/errors.h"
#include "shell/game_delegate.h"
#include "shell/platform_game.h"

namespace {
c_App* application = nullptr;
std::unique_ptr<c_GameDelegate> appDelegate;
int updateRate = 0;
}  // namespace

c_App* Application() {
    return application;
}
PlGameDelegate* AppDelegate() {
    return appDelegate.get();
}

c_App::c_App() {
    if (application) RuntimeError("App has already been created");
    application = this;
    appDelegate = std::make_unique<c_GameDelegate>();
    if (PlGame* game = PlatformGame()) game->SetDelegate(appDelegate.get());
    RegisterLiveObject(this);
}

// Tests make one application after another; the references go with it.
c_App::~c_App() {
    UnregisterLiveObject(this);
    if (application != this) return;
    if (PlGame* game = PlatformGame(); game && game->Delegate() == appDelegate.get())
        game->SetDelegate(nullptr);
    appDelegate.reset();
    application = nullptr;
}

void SetUpdateRate(int rate) {
    updateRate = rate;
    if (PlGame* game = PlatformGame()) game->SetTickRate(rate);
}

int UpdateRate() {
    return updateRate;
}
