// The saved state: settings, badge flags and the three highscore tables as
// one string the platform keeps in its state file.
#pragma once

#include <string>

#include "core/text.h"
#include "game/game_state.h"

class PlGame;

class StateFile {
  public:
    // Kept on `platform`; without one nothing is read or written.
    StateFile(SavedData& saved, PlGame* platform) : saved_(saved), platform_(platform) {}

    // Reads the state file and applies it.
    int LoadSaves();
    // Writes every section.
    int SaveAll();
    // The state string as saved.
    std::string BuildStateString() const;
    // Applies a state string with the section rules and messages.
    void ApplyStateString(StringView state);

  private:
    SavedData& saved_;
    PlGame* platform_;
};
