// Small program that takes one fatal path, chosen by its argument.
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/errors.h"
#include "framework/app.h"
#include "platform/delegate.h"
#include "platform/platform_game.h"

namespace {

volatile int zero = 0;

int Recurse(int depth) {
    volatile char pad[1024];
    pad[0] = static_cast<char>(depth);
    return Recurse(depth + 1) + pad[0];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    InstallFaultHandlers();
    const char* what = argv[1];
    if (!strcmp(what, "empty-error")) Error(u"");
    if (!strcmp(what, "error")) Error(u"boom");
    if (!strcmp(what, "uncaught")) {
        PlGame game;
        struct Thrower : PlGameDelegate {
            void GameStart() override { throw ThrowableObject(); }
        } delegate;
        game.SetDelegate(&delegate);
        game.GameStart();
    }
    if (!strcmp(what, "divide")) printf("%d\n", 7 / zero);
    if (!strcmp(what, "null")) printf("%d\n", *reinterpret_cast<volatile int*>(zero));
    if (!strcmp(what, "overflow")) printf("%d\n", Recurse(0));
    if (!strcmp(what, "second-app")) {
        PlGame game;
        auto first = std::make_unique<c_App>(&game);
        auto second = std::make_unique<c_App>(&game);
    }
    if (!strcmp(what, "describe")) {
        PlGame game;  // a live object exists, but the debugger names others
        RuntimeError("probe");
    }
    return 3;
}
