#include "framework/app.h"

#include "core/errors.h"
#include "framework/game_delegate.h"
#include "graphics/renderer.h"
#include "platform/platform_game.h"

namespace {
c_App* application = nullptr;
}  // namespace

c_App* Application() {
    return application;
}

c_App::c_App(PlGame* platform) : platform_(platform) {
    if (application) RuntimeError("App has already been created");
    application = this;
    delegate_ = std::make_unique<c_GameDelegate>(*this, platform_);
    if (platform_) platform_->SetDelegate(delegate_.get());
    RegisterLiveObject(this);
}

// Tests make one application after another; the references go with it.
c_App::~c_App() {
    UnregisterLiveObject(this);
    if (application != this) return;
    if (platform_ && platform_->Delegate() == delegate_.get()) platform_->SetDelegate(nullptr);
    delegate_.reset();
    application = nullptr;
}

PlGraphics* c_App::Graphics() const {
    return delegate_ ? delegate_->graphics.get() : nullptr;
}
PlAudio* c_App::Audio() const {
    return delegate_ ? delegate_->audio.get() : nullptr;
}
c_InputDevice* c_App::Input() const {
    return delegate_ ? delegate_->input.get() : nullptr;
}

c_App::DisplaySize c_App::Display() const {
    const PlGraphics* g = Graphics();
    if (!g) return {};
    return {g->Width(), g->Height(), g->PixelWidth(), g->PixelHeight()};
}

void c_App::SetUpdateRate(int rate) {
    updateRate_ = rate;
    if (platform_) platform_->SetTickRate(rate);
}
