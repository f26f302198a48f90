// The game object's life: the one running instance, for whoever needs it.
#include "game/screens/my_app.h"

// The framework keeps the one application; this is it when it is the game.
c_MyApp* MyApp() {
    return dynamic_cast<c_MyApp*>(Application());
}
