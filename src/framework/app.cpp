#include "framework/app.h"

#include "core/errors.h"
#include "framework/game_delegate.h"
#include "platform/platform_game.h"

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

c_App::c_App(PlGame* platform) : platform_(platform) {
    if (application) RuntimeError("App has already been created");
    application = this;
    appDelegate = std::make_unique<c_GameDelegate>(platform_);
    if (platform_) platform_->SetDelegate(appDelegate.get());
    RegisterLiveObject(this);
}

// Tests make one application after another; the references go with it.
c_App::~c_App() {
    UnregisterLiveObject(this);
    if (application != this) return;
    if (platform_ && platform_->Delegate() == appDelegate.get()) platform_->SetDelegate(nullptr);
    appDelegate.reset();
    application = nullptr;
}

void SetUpdateRate(int rate) {
    updateRate = rate;
    if (application && application->Platform()) application->Platform()->SetTickRate(rate);
}

int UpdateRate() {
    return updateRate;
}
