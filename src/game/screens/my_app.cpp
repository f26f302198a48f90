// The game object's life: the one running instance, for whoever needs it.
#include "game/screens/my_app.h"

namespace {
c_MyApp* runningApp = nullptr;
}

c_MyApp* MyApp() {
    return runningApp;
}

c_MyApp::c_MyApp() {
    runningApp = this;
}

c_MyApp::~c_MyApp() {
    if (runningApp == this) runningApp = nullptr;
}
