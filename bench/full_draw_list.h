// A draw list as full as it goes (2499 commands): rotated sprites of one
// sheet, text, rectangles and ellipses, the way a busy frame mixes them.
#pragma once

#include "game/screens/my_app.h"

inline void FillFullDrawList(c_MyApp& app) {
    app.BeginDrawList(0, 0, 0, 1);
    for (int i = 0; app.DrawCount() < DrawList::kLimit; i++) {
        auto x = static_cast<float>(i * 37 % 640), y = static_cast<float>(i * 53 % 480);
        switch (i % 5) {
            case 0:
            case 1:
                app.SetDrawRotation(static_cast<float>(i % 360));
                app.QueueImage(1, x, y, static_cast<float>(i % 8));
                break;
            case 2:
                app.QueueText(x, y, u"SCORE 1234", 0, 0);
                break;
            case 3:
                app.QueueRect(x, y, 20, 10);
                break;
            default:
                app.QueueEllipse(x, y, 8, 8);
                break;
        }
    }
}
